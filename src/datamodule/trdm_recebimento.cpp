#include "datamodule/trdm_recebimento.h"

#include "datamodule/connection_config.h"
#include "datamodule/store_connection.h"

namespace recebimento::datamodule {

TrdmRecebimento::TrdmRecebimento()
    : adcRecebimento_(std::make_unique<StoreConnection>([] { return _GetStringConexZem(""); })) {}

TrdmRecebimento::TrdmRecebimento(std::string connection_string)
    : adcRecebimento_(std::make_unique<StoreConnection>([c = std::move(connection_string)] { return c; })) {}

TrdmRecebimento::~TrdmRecebimento() = default;

void TrdmRecebimento::Open() {
  try {
    adcRecebimento_->Open();
  } catch (const std::exception& e) {
    throw std::runtime_error(e.what());
  }
}

std::string TrdmRecebimento::UsedDatabase() const { return DatabaseKindName(adcRecebimento_->Kind()); }

void TrdmRecebimento::StartTrans() {
  if (!adcRecebimento_->InTransaction()) adcRecebimento_->Begin();
}

void TrdmRecebimento::CommitTrans() {
  if (adcRecebimento_->InTransaction()) adcRecebimento_->Commit();
}

void TrdmRecebimento::RollbackTrans() {
  if (adcRecebimento_->InTransaction()) adcRecebimento_->Rollback();
}

bool TrdmRecebimento::InTransaction() const { return adcRecebimento_->InTransaction(); }

}  // namespace recebimento::datamodule
