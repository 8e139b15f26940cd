#include "host/pos/chart_sim.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "base/atomic_file.h"
#include "host/pos/chart_exchange.h"

namespace recebimento::pos {

namespace fs = std::filesystem;

namespace {

std::string ReadWhole(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

}  // namespace

SimulatedChartSoftware::SimulatedChartSoftware(ChartConfig config, std::string request_dir, std::string answer_dir,
                                               HostRecord& record, base::EventPump& pump)
    : config_(std::move(config)),
      request_dir_(std::move(request_dir)),
      answer_dir_(std::move(answer_dir)),
      record_(record),
      clock_(pump.GetClock()),
      timer_(pump, kLookEveryMs, [this] { Look(); }) {
  timer_.SetEnabled(true);
}

std::vector<std::string> SimulatedChartSoftware::ApprovalLines() const {
  if (!config_.approval_lines.empty()) return config_.approval_lines;
  return {"[RETORNO]", "NUMERODEAUTORIZACAO=" + config_.authorization, "NUMERODECARTAO=" + config_.card_number,
          "CODIGOCLIENTE=0000000001", "CODIGOEXTERNO=0000000001"};
}

void SimulatedChartSoftware::Look() {
  const int64_t now = clock_.TickMs();
  std::error_code ec;
  const fs::path request = fs::path(request_dir_) / kChartRequest;
  if (fs::is_regular_file(request, ec)) {
    const std::string text = ReadWhole(request);
    if (seen_at_ < 0 || text != seen_) {
      seen_ = text;
      seen_at_ = now;
      record_.Call("CHART", {base::Variant(text)});
    }
    if (config_.running && now - seen_at_ >= config_.takes_after_ms) {
      fs::remove(request, ec);
      ++taken_;
      seen_at_ = -1;
      if (ReadChartRequest(text).type == "VDA") answer_at_ = now + config_.answers_after_ms;
    }
  } else {
    seen_at_ = -1;
  }
  if (answer_at_ >= 0 && now >= answer_at_) {
    answer_at_ = -1;
    Answer();
  }
}

void SimulatedChartSoftware::Answer() {
  const std::string& a = config_.answer;
  if (a == "none") return;
  fs::create_directories(answer_dir_);
  if (a == "approved" || a == "both") {
    if (!config_.receipt.empty())
      base::WriteFileAtomically((fs::path(answer_dir_) / kChartReceipt).string(), Joined(config_.receipt),
                                base::Durability::ProcessDeath);
    base::WriteFileAtomically((fs::path(answer_dir_) / kChartApproved).string(), Joined(ApprovalLines()),
                              base::Durability::ProcessDeath);
  }
  if (a == "cancelled" || a == "both")
    base::WriteFileAtomically((fs::path(answer_dir_) / kChartCancelled).string(), "CANCELADA\r\n",
                              base::Durability::ProcessDeath);
  ++answered_;
}

}  // namespace recebimento::pos
