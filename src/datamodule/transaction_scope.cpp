#include "datamodule/transaction_scope.h"

namespace recebimento::datamodule {

TransactionScope::TransactionScope(StoreConnection& c, const std::function<void(StoreConnection&)>& after_begin)
    : c_(c) {
  if (c_.InTransaction()) return;
  c_.Begin(true);
  own_ = true;
  try {
    if (after_begin) after_begin(c_);
  } catch (...) {
    c_.Rollback();
    throw;
  }
}

TransactionScope::~TransactionScope() {
  if (!own_ || done_) return;
  try {
    if (c_.InTransaction()) c_.Rollback();
  } catch (...) {
    // The connection is gone; the database drops the transaction with it.
  }
}

void TransactionScope::Commit() {
  if (own_ && !done_) c_.Commit();
  done_ = true;
}

}  // namespace recebimento::datamodule
