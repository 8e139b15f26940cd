#pragma once
// Scripted failures of a simulated device: "the n-th call of this operation fails"
// (n = 0: every call fails).
#include <map>
#include <string>

namespace recebimento::pos {

class FailureScript {
 public:
  void FailAt(const std::string& operation, int nth_call) { fail_at_[operation] = nth_call; }
  // Counts the call and answers whether it must fail.
  bool NextCallFails(const std::string& operation) {
    int n = ++calls_[operation];
    auto it = fail_at_.find(operation);
    return it != fail_at_.end() && (it->second == 0 || it->second == n);
  }
  int CallsOf(const std::string& operation) const {
    auto it = calls_.find(operation);
    return it == calls_.end() ? 0 : it->second;
  }

 private:
  std::map<std::string, int> fail_at_;
  std::map<std::string, int> calls_;
};

}  // namespace recebimento::pos
