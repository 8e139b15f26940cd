#include "datamodule/trdm_recebimento.h"

#include "datamodule/catalogue_support.h"
#include "datamodule/connection_config.h"
#include "datamodule/store_connection.h"
#include "datamodule/store_init.h"

namespace recebimento::datamodule {

TrdmRecebimento::TrdmRecebimento()
    : adcRecebimento_(std::make_unique<StoreConnection>([] { return _GetStringConexZem(""); })) {}

TrdmRecebimento::TrdmRecebimento(std::string connection_string)
    : adcRecebimento_(std::make_unique<StoreConnection>([c = std::move(connection_string)] { return c; })) {}

TrdmRecebimento::~TrdmRecebimento() = default;

void TrdmRecebimento::Open() {
  try {
    adcRecebimento_->Open();
    RequireStoreSchema(*adcRecebimento_);
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

base::DateTime TrdmRecebimento::Now() const {
  if (clock_) return clock_->Now();
  static const base::RealClock real;
  return real.Now();
}

std::string TrdmRecebimento::ErrorText(const std::exception& error) {
  adcRecebimento_->CheckAfterFailure();
  return ADOExceptionMessage(error, *adcRecebimento_, "");
}

base::Variant TrdmRecebimento::PacketOf(const Statement& statement, const Params& params) {
  try {
    return base::Variant(adcRecebimento_->Query(statement, params));
  } catch (const std::exception& e) {
    return base::Variant(ErrorText(e));
  }
}

base::Variant TrdmRecebimento::NumberOf(const Statement& statement, const Params& params, const std::string& column) {
  try {
    const auto packet = adcRecebimento_->Query(statement, params);
    return base::Variant(FirstValue(packet, column).AsFloat());
  } catch (const std::exception& e) {
    return base::Variant(ErrorText(e));
  }
}

std::string TrdmRecebimento::TextOf(const Statement& statement, const Params& params, const std::string& column) {
  try {
    const auto packet = adcRecebimento_->Query(statement, params);
    return FirstValue(packet, column).AsString();
  } catch (const std::exception& e) {
    ErrorText(e);
    return "";
  }
}

}  // namespace recebimento::datamodule
