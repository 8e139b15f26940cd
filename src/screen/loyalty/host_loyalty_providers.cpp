// What the host-reached providers share: the consumer's CPF, the offer of a balance, the
// discount recorded on the items, the panels, and the answers of the host operations.
#include "screen/loyalty/host_loyalty_providers.h"

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_answers.h"

namespace recebimento::screen {

std::string AnswerText(const base::Variant& answer, size_t i) {
  if (!answer.IsArray() || i >= answer.Size()) return {};
  try {
    return answer[i].AsString();
  } catch (const std::exception&) {
    return {};
  }
}

double AnswerAmount(const base::Variant& answer, size_t i) {
  if (!answer.IsArray() || i >= answer.Size()) return 0;
  try {
    const base::Variant& v = answer[i];
    if (v.IsNumber()) return runtime::Trunc2(v.AsFloat());
    std::string text = base::Trim(v.AsString());
    for (char& ch : text)
      if (ch == ',') ch = '.';
    return runtime::Trunc2(std::stod(text));
  } catch (const std::exception&) {
    return 0;  // an amount the screen cannot read offers nothing
  }
}

bool AnswerAccepted(const base::Variant& answer) {
  if (!answer.IsArray() || answer.Size() == 0) return false;
  try {
    const base::Variant& v = answer[0];
    if (v.IsString()) return base::Trim(v.AsString()) == "S" || base::Trim(v.AsString()) == "true";
    return v.AsBoolean();
  } catch (const std::exception&) {
    return false;
  }
}

bool AnswerPacket(const base::Variant& answer, size_t i, base::Dataset& into) {
  if (!answer.IsArray() || i >= answer.Size() || !answer[i].IsPacket()) return false;
  into.SetData(answer[i]);
  return into.Active();
}

std::string HostLoyaltyProviders::Cpf(const std::string& column, const std::string& caption) {
  SaleState& sale = s_.sale;
  if (sale.HasItems()) {
    base::Dataset& items = *sale.cdsItensVenda;
    items.First();
    const std::string given = base::ColumnTrimmed(items, column);
    if (!given.empty()) return given;
  }
  base::Variant answer;
  if (!s_.ctx.host.dialogs || !s_.ctx.host.dialogs->CriaInfAdicional({base::Variant(caption)}, answer)) return {};
  return base::Trim(AnswerText(answer, 0));
}

double HostLoyaltyProviders::OfferBalance(double balance) {
  LoyaltyPrograms& programs = s_.parts.programs;
  const double amount = programs.AdmissibleDiscount(balance);
  if (amount <= 0) return 0;
  if (!s_.ShowMessage(FormatMsg(Msg("SALD_FID_4ALL"), {runtime::FormatFloat("0.00", balance)}), runtime::kMsgQuestion))
    return 0;
  return amount;
}

void HostLoyaltyProviders::Apply(double amount, const std::string& column) {
  s_.parts.discounts.Apply(amount);
  // Every item line carries the sale's amount, as the other programmes record theirs.
  s_.sale.SetOnEveryItem(column, base::Variant(amount));
}

void HostLoyaltyProviders::ShowKey(const std::string& key, const std::string& detail) {
  s_.ShowMessage(Msg(key) + detail, runtime::kMsgBlocked);
}

void HostLoyaltyProviders::SetPanel(const std::string& name, bool shown) {
  Control& panel = s_.controls.Require(name);
  panel.left = (800 - panel.width) / 2;
  panel.top = (600 - panel.height) / 2;
  panel.visible = shown;
  panel.enabled = shown;
}

void HostLoyaltyProviders::AnswerTransmission(bool yes) {
  trans_answered_ = true;
  trans_answer_ = yes;
}

void HostLoyaltyProviders::PaymentsCleared() {
  // The discounts taken here went with the clear (the items are back as they came);
  // those the sale brought stay counted.
  SaleState& sale = s_.sale;
  if (used_4all_) sale.doVrDescCash4All = 0;
  if (used_uds_) sale.doVrDescCashUDS = 0;
  if (used_fid_) sale.doVrDescFid = 0;
  used_4all_ = used_uds_ = used_core_ = used_olga_ = used_fid_ = false;
  trans_answered_ = trans_answer_ = false;
}

}  // namespace recebimento::screen
