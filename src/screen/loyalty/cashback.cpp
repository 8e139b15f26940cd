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
#include "screen/loyalty/cashback_offer.h"
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
      CashbackOffer(s_).TellFailure(problem, api.Reason(), MessageComponent::msgPadrao2);
      return false;
    }
    base::Dataset& ds = gcom_.cdsGetConsumerGCOM;
    sale.SetOnEveryItem("NRTELGCOM", base::Variant(gcom_.phone));
    sale.SetOnEveryItem("IDRESERVEGCOM", base::Variant(base::ColumnText(ds, "RESERVEID")));
    sale.SetOnEveryItem("IDCONSUMERGCOM", base::Variant(base::ColumnText(ds, "CONSUMERID")));
    sale.SetOnEveryItem("VRDESCGCOM", base::Variant(gcom_.reserved_amount));
    return true;
  }

  integrations::CashbackBalance balance;
  if (!api.ConsultBalance(balance, problem)) {
    CashbackOffer(s_).TellFailure(problem, "", MessageComponent::msgPadrao2);
    return false;
  }
  // The amount is reserved at the close; the consumer is asked even without a balance.
  BalanceOffer how;
  how.zero_key = nullptr;
  how.nothing_key = nullptr;
  how.within_sale_total = true;
  how.take_now = false;
  how.ask = [this, &balance](const integrations::CashbackBalance&, double& amount) {
    return s_.ShowMessage(
        FormatMsg(Msg("cons_cashback_gcom", MessageComponent::msgPadrao2),
                  {balance.campaign, balance.consumer_name, runtime::FormatFloat("0.00", balance.balance),
                   runtime::FormatFloat("0.00", amount)}),
        runtime::kMsgQuestion);
  };
  double applied = 0;
  gcom_.reserved_amount = 0;
  if (CashbackOffer(s_).Offer(api, balance, how, &applied) == OfferOutcome::kApplied) gcom_.reserved_amount = applied;
  return true;
}

}  // namespace recebimento::screen
