// The prepaid card as a tender: the card's balance asked when the tender is chosen, the
// amount to take from it, and its redemption at the confirmation with the password the
// service may ask for.
#include <algorithm>
#include <exception>
#include <string>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/format.h"
#include "host/runtime/messages.h"
#include "host/runtime/numbers.h"
#include "integrations/rest/number_text.h"
#include "screen/frame/message_table.h"
#include "screen/frame/screen_parts.h"
#include "screen/loyalty/prepaid_cards.h"

namespace recebimento::screen {

using base::Variant;
using integrations::PrepaidCardRequest;
using integrations::PrepaidCardResult;

namespace {

constexpr const char* kRedeemed = "Resgate do Cartão Todo realizado com sucesso.";
constexpr const char* kPasswordWanted = "Senha deve ser informada.";
constexpr int kMostCardDigits = 19;

std::string Msg2(std::string_view key) { return Msg(key, MessageComponent::msgPadrao2); }
std::string Amount(double value) { return runtime::FormatFloat("0.00", value); }

}  // namespace

PrepaidCards::PrepaidCards(ScreenScope& s) : s_(s) {
  cdsCartaoTodo.AddField("NRCARTAO", base::FieldType::String, 30);
  cdsCartaoTodo.AddField("VRRESGATE", base::FieldType::Float);
  cdsCartaoTodo.AddField("IDRESGATADO", base::FieldType::String, 1);
  cdsCartaoTodo.CreateDataSet();
  cdsValePresente.AddField("NRCARTAO", base::FieldType::String, 30);
  cdsValePresente.AddField("VRRESGATE", base::FieldType::Float);
  cdsValePresente.AddField("IDREQVALPRE", base::FieldType::String, 60);
  cdsValePresente.CreateDataSet();
}

PrepaidCardResult PrepaidCards::CartaoPrePago(const PrepaidCardRequest& request) {
  const integrations::PrepaidCardSettings settings{s_.par.stCDURLINTCARTPRE, s_.par.stNRINSJURFILI, s_.par.stCDCAIXA};
  return integrations::CartaoPrePago(s_.ctx.integration, s_.ctx.log, settings, request);
}

bool PrepaidCards::PrepaidTender(TenderPayment& tender, double& amount) {
  return s_.par.stCDURLINTCARTPRE.empty() ? GiftCardTender(tender, amount) : PrepaidCardTender(amount);
}

bool PrepaidCards::Question(const std::string& text) {
  return runtime::ShowMessage(s_.ctx.host.messages,
                              {text, "", "N", "N", runtime::kMsgQuestion, "", s_.par.stIDESQUEMA, 0, nullptr});
}

void PrepaidCards::Notice(const std::string& text) { s_.ctx.host.dialogs->AtivaProcesso("frmRecebimento", text); }
void PrepaidCards::EndNotice() { s_.ctx.host.dialogs->DesativaProcesso(); }

void PrepaidCards::AmountTaken() {
  // The amount came from the host's keypad, not the screen's: the grid is offered again
  // as the screen's Enter would, for what is still to pay.
  s_.parts.grid.CtrlBotoes("P", 1);
}

void PrepaidCards::EndSelection(const std::string& text) {
  s_.sale.boFalhaReceb = true;
  s_.parts.grid.CtrlBotoes("D", 1);
  if (!text.empty()) s_.ShowMessage(text, runtime::kMsgBlocked);
}

std::string PrepaidCards::AskCardNumber() {
  std::string number;
  if (!s_.ctx.host.dialogs->TecladoNumerico(number, Msg2("CART_TODO"), Msg2("NUM_CART_TODO"), Msg2("NUM_CART_INF"),
                                            kMostCardDigits))
    return "";
  return base::Trim(number);
}

bool PrepaidCards::AskAmount(double balance, double& amount) {
  const double due = runtime::Trunc2(s_.sale.doVrAPagar);
  std::string typed = Amount(std::min(balance, due));
  if (!s_.ctx.host.dialogs->TecladoNumerico(typed, Msg2("CART_TODO"), Msg2("SALDO_CART") + Amount(balance), "", 9))
    return false;
  try {
    amount = runtime::Trunc2(integrations::ToFloat(base::Trim(typed)));
  } catch (const std::exception&) {
    amount = 0;
  }
  if (!(amount > 0)) return false;
  if (amount > runtime::Trunc2(balance)) {
    s_.parts.selection.Refuse("VALOR_MAIOR_SALDO");
    return false;
  }
  if (amount > due) {
    s_.parts.selection.Refuse("VALOR_MAIOR_VENDA");
    return false;
  }
  return true;
}

bool PrepaidCards::PrepaidCardTender(double& amount) {
  TenderSelection& selection = s_.parts.selection;
  const std::string card = AskCardNumber();
  if (card.empty()) {
    EndSelection("");
    return false;
  }
  if (cdsCartaoTodo.Locate("NRCARTAO", Variant(card))) {
    selection.Refuse(base::ColumnText(cdsCartaoTodo, "IDRESGATADO") == "S" ? "PREPAGO_JA_UTIL" : "PREPAGO_JA_INF");
    return false;
  }
  Notice(Msg2("AGUARDE_CONS_SALDO"));
  const PrepaidCardResult balance = CartaoPrePago({"CONSULTA", card, "", 0});
  EndNotice();
  if (!balance.success) {
    EndSelection(Msg2("FALHA_CONSULTA_SALDO") + balance.message);
    return false;
  }
  if (!(runtime::Trunc2(balance.balance) > 0)) {
    selection.Refuse("NAO_HA_SALDO");
    return false;
  }
  if (!Question(Msg2("SALDO_CART") + Amount(balance.balance) + "\r\n" + Msg2("DESEJA_UTIL_SALDO")) ||
      !AskAmount(balance.balance, amount)) {
    if (!s_.sale.boFalhaReceb) EndSelection("");
    return false;
  }
  cdsCartaoTodo.AppendRecord({Variant(card), Variant(amount), Variant(std::string("N"))});
  s_.ctx.log.LogRev00000("cartao pre-pago informado: " + integrations::MaskedCardNumber(card) + " valor " +
                         Amount(amount));
  AmountTaken();
  return true;
}

bool PrepaidCards::AskPassword(std::string& password) {
  for (;;) {
    password.clear();
    if (!s_.ctx.host.dialogs->TecladoNumerico(password, Msg2("CART_TODO"), Msg2("SEN_CART_TODO"), kPasswordWanted))
      return false;
    if (!base::Trim(password).empty()) return true;
    s_.ShowMessage(kPasswordWanted, runtime::kMsgWarning);
  }
}

bool PrepaidCards::RedeemCard() {
  const std::string card = base::ColumnText(cdsCartaoTodo, "NRCARTAO");
  PrepaidCardRequest request{"RESGATE", card, "", base::ColumnNumber(cdsCartaoTodo, "VRRESGATE")};
  for (;;) {
    Notice(Msg2("AGUARDE_RESG_SALDO"));
    const PrepaidCardResult redeemed = CartaoPrePago(request);
    EndNotice();
    if (redeemed.response_code == "55") {
      // The service wants the card's password: asked and the redemption sent again.
      if (!AskPassword(request.card_password)) return false;
      continue;
    }
    if (redeemed.response_code != "00" || !redeemed.success) {
      s_.ShowMessage(Msg2("FALHA_RESG_SALDO") + redeemed.message, runtime::kMsgBlocked);
      return false;
    }
    break;
  }
  // Marked at once: a confirmation abandoned on a later card never takes this one again.
  cdsCartaoTodo.Edit();
  base::SetColumn(cdsCartaoTodo, "IDRESGATADO", Variant(std::string("S")));
  cdsCartaoTodo.Post();
  std::string text = kRedeemed;
  const PrepaidCardResult balance = CartaoPrePago({"CONSULTA", card, "", 0});
  if (balance.success) text += "\r\nSaldo Disponível: R$" + Amount(balance.balance);
  s_.ShowMessage(text, runtime::kMsgPrompt);
  return true;
}

bool PrepaidCards::RedeemAtConfirmation() {
  // A gift-card redemption the host could not give back stands without a payment line:
  // the sale does not close while the card stays charged for it.
  if (!stIdReqValePresente.empty() && !s_.sale.HasPaymentWith("IDTIPORECE", "K")) {
    CancelaValePresente();
    if (!stIdReqValePresente.empty()) return false;
  }
  for (cdsCartaoTodo.First(); !cdsCartaoTodo.Eof(); cdsCartaoTodo.Next()) {
    if (base::ColumnText(cdsCartaoTodo, "IDRESGATADO") == "S") continue;
    if (!RedeemCard()) return false;
  }
  return true;
}

bool PrepaidCards::AnyRedeemed() const { return base::AnyRowWith(cdsCartaoTodo, "IDRESGATADO", "S"); }

void PrepaidCards::PaymentsDiscarded() {
  // Cards already redeemed stay listed: their money was taken and a card entered again
  // is refused rather than charged twice.
  for (cdsCartaoTodo.First(); !cdsCartaoTodo.Eof();) {
    if (base::ColumnText(cdsCartaoTodo, "IDRESGATADO") == "S")
      cdsCartaoTodo.Next();
    else
      cdsCartaoTodo.Delete();
  }
  CancelaValePresente();
}

}  // namespace recebimento::screen
