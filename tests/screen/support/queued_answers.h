#pragma once
// Answers for the simulated host's dialogs and questions, given in the order they are asked.
#include <deque>
#include <functional>
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
    auto [a, meanwhile] = queue_.front();
    queue_.pop_front();
    if (meanwhile) meanwhile();
    return a;
  }
  void Push(pos::DialogAnswer a) { queue_.push_back({std::move(a), nullptr}); }
  // A dialog's value, or a question's answer (a bool); `meanwhile` runs while it is asked
  // (something that happens while the operator reads it).
  void Value(base::Variant v, std::function<void()> meanwhile = nullptr) {
    pos::DialogAnswer a;
    a.value = std::move(v);
    queue_.push_back({std::move(a), std::move(meanwhile)});
  }
  void Cancel() {
    pos::DialogAnswer a;
    a.cancelled = true;
    Push(a);
  }
  size_t Left() const { return queue_.size(); }

 private:
  std::deque<std::pair<pos::DialogAnswer, std::function<void()>>> queue_;
};

}  // namespace recebimento::testing
