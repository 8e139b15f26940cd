// GCOM cashback on the screen: the balance of the consumer's phone offered as a
// discount (limited by the redemption percentage, the sale and one cent a unit), and
// at the close the amount taken reserved, with the reservation on every item line.
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/loyalty_programs.h"

namespace recebimento::screen {

integrations::GcomClient LoyaltyPrograms::GcomApi() {
  return integrations::GcomClient(s_.ctx.integration, s_.ctx.log, gcom_, Loaded().gcom);
}

bool LoyaltyPrograms::ResgataCashBackGCOM(const std::string& Endpoint) {
  SaleState& sale = s_.sale;
  gcom_.phone = base::Trim(sale.stTelefoneCons);
  integrations::GcomClient api = GcomApi();
  std::string problem;
  if (Endpoint == "balanceReserve") {
    if (gcom_.reserved_amount <= 0) {
      sale.SetOnEveryItem("NRTELGCOM", base::Variant(gcom_.phone));
      return true;
    }
    if (!api.Reserve(gcom_.reserved_amount, problem)) {
      const std::string text = Msg(problem, MessageComponent::msgPadrao2);
      s_.ShowMessage(gcom_.error_message.empty() ? text : text + ": " + gcom_.error_message, runtime::kMsgBlocked);
      return false;
    }
    base::Dataset& ds = gcom_.cdsGetConsumerGCOM;
    sale.SetOnEveryItem("NRTELGCOM", base::Variant(gcom_.phone));
    sale.SetOnEveryItem("IDRESERVEGCOM", base::Variant(base::ColumnText(ds, "RESERVEID")));
    sale.SetOnEveryItem("IDCONSUMERGCOM", base::Variant(base::ColumnText(ds, "CONSUMERID")));
    sale.SetOnEveryItem("VRDESCGCOM", base::Variant(gcom_.reserved_amount));
    sale.SetOnEveryItem("NRINSCRCONS", base::Variant(base::ColumnText(ds, "CPFCONSUMER")));
    sale.SetOnEveryItem("NMCONSVEND", base::Variant(base::ColumnText(ds, "CONSUMERNAME")));
    return true;
  }

  integrations::CashbackBalance balance;
  if (!api.ConsultBalance(balance, problem)) {
    if (!problem.empty()) s_.ShowMessage(Msg(problem, MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    return false;
  }
  double amount = balance.balance;
  const double cap =
      balance.percentage > 0 ? runtime::Trunc2(sale.doVrTotal * balance.percentage / 100) : sale.doVrTotal;
  if (amount > cap) amount = cap;
  amount = AdmissibleDiscount(amount);
  const std::string question =
      FormatMsg(Msg("cons_cashback_gcom", MessageComponent::msgPadrao2),
                {balance.campaign, balance.consumer_name, runtime::FormatFloat("0.00", balance.balance),
                 runtime::FormatFloat("0.00", amount)});
  if (!s_.ShowMessage(question, runtime::kMsgQuestion)) {
    gcom_.reserved_amount = 0;
    return true;
  }
  if (!balance.complete) {
    s_.ShowMessage(Msg("CLI_CAD_INCOM_GCOM", MessageComponent::msgPadrao2), runtime::kMsgBlocked);
    gcom_.reserved_amount = 0;
    return true;
  }
  if (amount > 0) {
    gcom_.reserved_amount = amount;
    s_.parts.discounts.Apply(amount);
  }
  return true;
}

}  // namespace recebimento::screen
