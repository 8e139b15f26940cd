#include "host/runtime/daily_log.h"

#include <filesystem>
#include <fstream>

namespace recebimento::runtime {

void AppendLogLine(const std::string& folder, const std::string& file, const std::string& line) noexcept {
  try {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::ofstream out(std::filesystem::path(folder) / file, std::ios::app | std::ios::binary);
    out << line << "\r\n";
  } catch (...) {
    // Nothing to do: the caller goes on without its trace.
  }
}

}  // namespace recebimento::runtime
