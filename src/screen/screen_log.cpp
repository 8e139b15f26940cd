#include "screen/screen_log.h"

#include <filesystem>
#include <fstream>

#include "base/path.h"
#include "host/pos/host_services.h"
#include "host/runtime/current_pump.h"

namespace recebimento::screen {

void LogRev00000(const std::string& text) {
  if (!pos::HostServicesInstalled() || pos::Host().host_dir.empty()) return;
  try {
    const base::DateTime agora = runtime::GetClock().Now();
    const std::string pasta = base::JoinSpecPath(
        pos::Host().host_dir, "\\Dados\\LogRev00000\\" + agora.Format("yyyy") + "\\" + agora.Format("mm"));
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);
    std::ofstream out(pasta + "/LogRev00000_" + agora.Format("dd") + ".txt", std::ios::app | std::ios::binary);
    out << agora.Format("dd/mm/yyyy hh:nn:ss") << " - " << text << "\r\n";
  } catch (const std::exception&) {
    // The trace is an aid, not part of the sale.
  }
}

}  // namespace recebimento::screen
