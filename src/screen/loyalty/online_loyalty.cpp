// The online loyalty balance of the consumer chosen for the sale: offered on the host's
// discount dialog ("DescontoFidelidade"), which the operator may change only where the
// consumer's settings allow it, and recorded on the items as their loyalty discount.
#include <algorithm>
#include <cmath>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "integrations/online_loyalty/online_loyalty_cashback.h"
#include "screen/frame/message_format.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_providers.h"

namespace recebimento::screen {

namespace {

// The amount the discount dialog answered out of `largest`: a percentage of it or an
// amount, in the host's columns (TIPO, VALOR) or in columns of their own; -1 when the
// dialog answered nothing readable.
double DialogAmount(const base::Variant& answer, double largest) {
  if (!answer.IsPacket()) return -1;
  base::Dataset read("cdsDescontoHost");
  read.SetData(answer);
  if (!read.Active() || read.IsEmpty()) return -1;
  read.First();
  bool percentage = false;
  double value = 0;
  if (read.FieldIndex("TIPO") >= 0) {
    percentage = base::ColumnTrimmed(read, "TIPO") == "P";
    value = base::ColumnNumber(read, "VALOR");
  } else {
    percentage = base::ColumnNumber(read, "PCDESCONTO") > 0;
    value = base::ColumnNumber(read, percentage ? "PCDESCONTO" : "VRDESCONTO");
  }
  if (!std::isfinite(value) || value <= 0) return -1;
  if (percentage)
    return runtime::FromCents(runtime::ToCents(largest) * std::min<int64_t>(runtime::ToCents(value), 10000) / 10000);
  return runtime::Trunc2(value);
}

}  // namespace

void HostLoyaltyProviders::FidelidadeCashback() {
  SaleState& sale = s_.sale;
  const ParametrosZem& par = s_.par;
  // The consumer the sale charges, else the one the items name (found by the phone).
  std::string client = base::Trim(sale.charged.client), consumer = base::Trim(sale.charged.consumer);
  if (consumer.empty()) {
    client = base::Trim(sale.ItemText("CDCLIENTE"));
    consumer = base::Trim(sale.ItemText("CDCONSUMIDOR"));
  }
  if (par.stIDEXTCONSONLINE != "S" || consumer.empty() || used_fid_ || !s_.ctx.host.consumers) return;
  pos::ConsumerQuery q;
  q.url = par.stCDURLFIDONLINE;
  q.branch = par.stCDFILIAL;
  q.shop = par.stCDLOJA;
  q.client = client;
  q.consumer = consumer;
  q.date = s_.ctx.clock.Now().Date();
  integrations::OnlineLoyaltyCashback online(s_.ctx.host.consumers, q);
  BalanceOffer how;
  how.zero_key = nullptr;
  how.blocked_key = "";
  how.nothing_key = "CONS_SALD_FID";
  how.column = "VRDESCFID";
  // Where the consumer's settings let it, the operator may change the amount on the
  // host's discount dialog; otherwise the balance is offered as the others are.
  how.ask = [this, client, consumer](const integrations::CashbackBalance& found, double& amount) {
    if (base::Trim(s_.ctx.rdm.PermiteAlterarDescFid(client, consumer)) != "S")
      return s_.ShowMessage(FormatMsg(Msg("SALD_FID_4ALL"), {runtime::FormatFloat("0.00", found.balance)}),
                            runtime::kMsgQuestion);
    base::Variant typed;
    if (!s_.ctx.host.dialogs->CriaDesconto({base::Variant("DescontoFidelidade"), base::Variant(amount)}, typed))
      return false;
    const double wanted = DialogAmount(typed, amount);
    if (wanted <= 0) return false;
    amount = std::min(amount, s_.parts.programs.AdmissibleDiscount(wanted));
    return true;
  };
  double applied = 0;
  if (offer_.Redeem(online, how, &applied) != OfferOutcome::kApplied) return;
  sale.SetOnEveryItem("CDCLIENTE", base::Variant(client));
  sale.SetOnEveryItem("CDCONSUMIDOR", base::Variant(consumer));
  sale.doVrDescFid = applied;
  used_fid_ = true;
}

}  // namespace recebimento::screen
