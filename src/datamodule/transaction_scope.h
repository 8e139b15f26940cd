#pragma once
// One unit of work on the store. A scope begins a transaction (taking the write lock at
// once) unless the caller already holds one, and rolls it back when it ends without
// Commit: an exception or an early return half-way spends no number and leaves no
// counter or record behind.
#include <functional>
#include <type_traits>

#include "datamodule/store_connection.h"

namespace recebimento::datamodule {

class TransactionScope {
 public:
  // `after_begin` runs right after a transaction of the scope's own begins (a table
  // lock, say); not when the caller's transaction is used.
  explicit TransactionScope(StoreConnection& c, const std::function<void(StoreConnection&)>& after_begin = {});
  ~TransactionScope();
  TransactionScope(const TransactionScope&) = delete;
  TransactionScope& operator=(const TransactionScope&) = delete;

  // Commits a transaction of the scope's own; the caller's stays the caller's.
  void Commit();

 private:
  StoreConnection& c_;
  bool own_ = false;
  bool done_ = false;
};

// Runs `work` in a TransactionScope and commits it when `work` returns.
template <typename Work>
auto InOwnTransaction(StoreConnection& c, Work work, const std::function<void(StoreConnection&)>& after_begin = {})
    -> decltype(work()) {
  TransactionScope scope(c, after_begin);
  if constexpr (std::is_void_v<decltype(work())>) {
    work();
    scope.Commit();
  } else {
    auto result = work();
    scope.Commit();
    return result;
  }
}

}  // namespace recebimento::datamodule
