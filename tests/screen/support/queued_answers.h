#pragma once
// Answers for the simulated host's dialogs and questions, given in the order they are asked.
#include <deque>
#include <optional>
#include <utility>

#include "base/variant.h"
#include "host/pos/dialogs_sim.h"

namespace recebimento::testing {

// An empty queue leaves the dialog to the simulator's default answer.
class QueuedAnswers : public pos::DialogAnswerSource {
 public:
  std::optional<pos::DialogAnswer> Next(const pos::DialogRecord&) override {
    if (queue_.empty()) return std::nullopt;
    pos::DialogAnswer a = queue_.front();
    queue_.pop_front();
    return a;
  }
  void Push(pos::DialogAnswer a) { queue_.push_back(std::move(a)); }
  // A dialog's value, or a question's answer (a bool).
  void Value(base::Variant v) {
    pos::DialogAnswer a;
    a.value = std::move(v);
    Push(a);
  }
  void Cancel() {
    pos::DialogAnswer a;
    a.cancelled = true;
    Push(a);
  }
  size_t Left() const { return queue_.size(); }

 private:
  std::deque<pos::DialogAnswer> queue_;
};

}  // namespace recebimento::testing
