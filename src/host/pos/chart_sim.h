#pragma once
// The CHART card software as a simulator: it watches the request folder on the pump's
// clock, takes a request after a while (removing it, as the software does), and answers a
// sale request in the answer folder with an approval, a cancellation, both or nothing.
// Every request it sees is recorded as the host call "CHART" with the request's text.
#include <cstdint>
#include <string>
#include <vector>

#include "base/event_pump.h"
#include "base/timer.h"
#include "host/pos/host_record.h"

namespace recebimento::pos {

struct ChartConfig {
  bool running = true;              // false: requests are seen (recorded) but never taken
  int64_t takes_after_ms = 1000;    // how long a request waits before the software takes it
  std::string answer = "approved";  // "approved", "cancelled", "both" or "none"
  int64_t answers_after_ms = 2000;  // after taking a sale request, when the answer is written
  std::string authorization = "123456";
  std::string card_number = "6034000012";
  std::vector<std::string> approval_lines;  // the approval file's lines; empty: built from the two numbers
  std::vector<std::string> receipt;         // "cupom.tef" written with an approval; empty: none
};

class SimulatedChartSoftware {
 public:
  // How often the software looks at its request folder.
  static constexpr int64_t kLookEveryMs = 100;

  SimulatedChartSoftware(ChartConfig config, std::string request_dir, std::string answer_dir, HostRecord& record,
                         base::EventPump& pump);
  SimulatedChartSoftware(const SimulatedChartSoftware&) = delete;
  SimulatedChartSoftware& operator=(const SimulatedChartSoftware&) = delete;

  // One look at the folders; the timer calls it.
  void Look();
  int Taken() const { return taken_; }
  int Answered() const { return answered_; }

 private:
  void Answer();
  std::vector<std::string> ApprovalLines() const;

  ChartConfig config_;
  std::string request_dir_, answer_dir_;
  HostRecord& record_;
  base::Clock& clock_;
  std::string seen_;  // the request being looked at
  int64_t seen_at_ = -1;
  int64_t answer_at_ = -1;
  int taken_ = 0;
  int answered_ = 0;
  base::Timer timer_;
};

}  // namespace recebimento::pos
