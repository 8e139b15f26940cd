// The online loyalty balance of the consumer chosen for the sale: offered on the host's
// discount dialog ("DescontoFidelidade"), which the operator may change only where the
// consumer's settings allow it, and recorded on the items as their loyalty discount.
#include <algorithm>
#include <cmath>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/host_loyalty_answers.h"
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
  const std::string client = base::Trim(sale.charged.client), consumer = base::Trim(sale.charged.consumer);
  if (par.stIDEXTCONSONLINE != "S" || consumer.empty() || used_fid_ || !s_.ctx.host.consumers) return;
  pos::ConsumerQuery q;
  q.operation = "CONSULTA_SALDO_FID";
  q.url = par.stCDURLFIDONLINE;
  q.branch = par.stCDFILIAL;
  q.shop = par.stCDLOJA;
  q.client = client;
  q.consumer = consumer;
  q.date = s_.ctx.clock.Now().Date();
  base::Variant answer;
  if (!s_.ctx.host.consumers->ExtratoConsOnline(q, answer)) return ShowKey("FALHA_CONEXAO_SRV_FID");
  const double balance = AnswerAmount(answer.IsArray() ? answer : base::Variant(std::vector<base::Variant>{answer}), 0);
  const double largest = s_.parts.programs.AdmissibleDiscount(balance);
  if (largest <= 0) return ShowKey("CONS_SALD_FID");
  double amount = largest;
  if (base::Trim(s_.ctx.rdm.PermiteAlterarDescFid(client, consumer)) == "S") {
    base::Variant typed;
    if (!s_.ctx.host.dialogs->CriaDesconto({base::Variant("DescontoFidelidade"), base::Variant(largest)}, typed))
      return;
    const double wanted = DialogAmount(typed, largest);
    if (wanted <= 0) return;
    amount = std::min(largest, s_.parts.programs.AdmissibleDiscount(wanted));
  } else if (OfferBalance(balance) <= 0) {
    return;
  }
  if (amount <= 0) return;
  Apply(amount, "VRDESCFID");
  sale.SetOnEveryItem("CDCLIENTE", base::Variant(client));
  sale.SetOnEveryItem("CDCONSUMIDOR", base::Variant(consumer));
  sale.doVrDescFid = amount;
  used_fid_ = true;
}

}  // namespace recebimento::screen
