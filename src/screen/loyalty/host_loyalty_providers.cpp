// What the host-reached providers share on the screen: the consumer's CPF, the panels,
// the messages, and the clearing of what was taken.
#include "screen/loyalty/host_loyalty_providers.h"

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "integrations/cashback/host_answers.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"

namespace recebimento::screen {

using integrations::AnswerText;

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
