// The gift card ("vale presente"), served by the host: redeemed when its tender is
// chosen, cancelled when the sale is left or its payments discarded, and the host's error
// records told to the operator.
#include <exception>
#include <string>
#include <vector>

#include "base/dataset_columns.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/prepaid_cards.h"

namespace recebimento::screen {

using base::Variant;

namespace {

std::string Msg2(std::string_view key) { return Msg(key, MessageComponent::msgPadrao2); }

// Element `i` of the host's answer; Null when it has none.
Variant Element(const Variant& answer, size_t i) {
  if (!answer.IsArray() || answer.AsArray().size() <= i) return Variant();
  return answer.AsArray()[i];
}

void LoadRecords(base::Dataset& ds, const Variant& packet) {
  if (packet.IsPacket())
    ds.SetData(packet);
  else if (ds.Active())
    ds.EmptyDataSet();
}

std::string Text(const Variant& v) { return v.IsEmptyOrNull() ? std::string() : v.AsString(); }

// A number the host answered; 0 for anything that is not one.
double Number(const Variant& v) {
  try {
    return v.IsEmptyOrNull() ? 0 : v.AsFloat();
  } catch (const std::exception&) {
    return 0;
  }
}

bool Flag(const Variant& v) {
  if (v.IsEmptyOrNull()) return false;
  if (v.IsString()) return v.AsString() == "S" || v.AsString() == "true" || v.AsString() == "True";
  try {
    return v.AsBoolean();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

// The sale's identification as every gift-card operation hands it to the host.
static std::vector<Variant> SaleIdentification(const ScreenScope& s) {
  return {Variant(s.sale.stCdOperador), Variant(s.par.stCDCAIXA), Variant(s.par.stCDFILIAL),
          Variant(s.sale.stNrComanda)};
}

bool PrepaidCards::GiftCardTender(TenderPayment& /*tender*/, double& amount) {
  TenderSelection& selection = s_.parts.selection;
  if (!stIdReqValePresente.empty()) {
    selection.Refuse("VALEPRE_JA_UTIL");
    return false;
  }
  std::vector<Variant> args = {Variant(std::string("POST")), Variant(std::string("GET"))};
  for (Variant& v : SaleIdentification(s_)) args.push_back(std::move(v));
  args.push_back(Variant(runtime::Trunc2(s_.sale.doVrAPagar)));
  Notice(Msg2("AGUARDE_PRE_RESG_SALDO"));
  Variant answer;
  // The cards of an earlier operation are not this redemption's.
  cdsCards.Close();
  const bool called = s_.ctx.host.loyalty->ValePresente("RESGATE", args, answer);
  EndNotice();
  LoadRecords(cdsErros, Element(answer, 2));
  if (!called || !Flag(Element(answer, 0))) {
    EndSelection(Msg2("FALHA_RESG_SALDO") + ErrosValePresente());
    return false;
  }
  stIdReqValePresente = Text(Element(answer, 1));
  amount = runtime::Trunc2(Number(Element(answer, 3)));
  const std::string card = Text(Element(answer, 4));
  if (stIdReqValePresente.empty() || !(amount > 0) || amount > runtime::Trunc2(s_.sale.doVrAPagar)) {
    // A redemption the sale cannot take as it came is given back at once.
    const bool held = !stIdReqValePresente.empty();
    if (held) CancelaValePresente();
    EndSelection(Msg2(amount > 0 ? "VALOR_MAIOR_VENDA" : "NAO_HA_SALDO"));
    return false;
  }
  cdsValePresente.AppendRecord({Variant(card), Variant(amount), Variant(stIdReqValePresente)});
  s_.sale.SetOnEveryItem("IDREQVALPRE", Variant(stIdReqValePresente));
  s_.sale.SetOnEveryItem("NRCARVALPRE", Variant(card));
  boCancelouValePresente = false;
  AmountTaken();
  return true;
}

void PrepaidCards::CancelaValePresente() {
  if (stIdReqValePresente.empty()) return;
  Notice(Msg2("AGUARDE_CANC_SALDO"));
  cdsErros.Close();
  cdsCards.Close();
  std::vector<Variant> args = {Variant(std::string("POST")), Variant(std::string("GET"))};
  for (Variant& v : SaleIdentification(s_)) args.push_back(std::move(v));
  args.push_back(Variant(stIdReqValePresente));
  args.push_back(s_.sale.HasItems() ? Variant(s_.sale.cdsItensVenda->Data()) : Variant());
  args.push_back(Variant(cdsValePresente.Data()));
  Variant answer;
  const bool called = s_.ctx.host.loyalty->ValePresente("CANC-RESGATE", args, answer);
  EndNotice();
  LoadRecords(cdsErros, Element(answer, 2));
  LoadRecords(cdsCards, Element(answer, 3));
  boCancelouValePresente = called && Flag(Element(answer, 0));
  if (!boCancelouValePresente) {
    // The redemption still stands: its request is kept for another try.
    s_.ShowMessage(Msg2("FALHA_CANC_SALDO") + ErrosValePresente(), runtime::kMsgBlocked);
    return;
  }
  // The host may name a request of its own for the cancellation; the sale holds no
  // redemption any more either way.
  if (const std::string request = Text(Element(answer, 1)); !request.empty())
    s_.ctx.log.LogRev00000("cancelamento do vale presente: requisicao " + request);
  stIdReqValePresente.clear();
  cdsValePresente.EmptyDataSet();
  s_.sale.SetOnEveryItem("IDREQVALPRE", Variant(std::string()));
  s_.sale.SetOnEveryItem("NRCARVALPRE", Variant(std::string()));
  s_.ctx.log.LogRev00000("resgate do vale presente cancelado");
}

std::string PrepaidCards::ErrosValePresente() {
  std::string text;
  auto add = [&text](const std::string& line) { text += (text.empty() ? "" : "\r\n") + line; };
  if (cdsErros.Active()) {
    for (cdsErros.First(); !cdsErros.Eof(); cdsErros.Next())
      add("ERRO-" + base::ColumnTrimmed(cdsErros, "CDERRO") + ":" + base::ColumnTrimmed(cdsErros, "DSERROCONS"));
  }
  if (cdsCards.Active()) {
    for (cdsCards.First(); !cdsCards.Eof(); cdsCards.Next()) {
      if (base::ColumnTrimmed(cdsCards, "IDSUCCESS") != "false") continue;
      add("CARTAO-" + base::ColumnTrimmed(cdsCards, "NRCARTAO") + " " + base::ColumnTrimmed(cdsCards, "CDRETORNO") +
          ":" + base::ColumnTrimmed(cdsCards, "DSRETCONS"));
    }
  }
  return text.empty() ? Msg2("ERRO_PADRAO") : text;
}

}  // namespace recebimento::screen
