// The Mercado Pago in-store QR tender: the order for the typed amount is placed on the
// register's point of sale, and the merchant orders of its reference are watched for
// about 98 s (Escape ends the wait) until one is paid; the payment becomes the line.
#include <algorithm>
#include <string>
#include <utility>

#include "host/runtime/messages.h"
#include "host/runtime/money.h"
#include "integrations/mercadopago/mp_messages.h"
#include "integrations/rest/json_extractors.h"
#include "integrations/rest/json_to_xml.h"
#include "screen/frame/screen_parts.h"
#include "screen/wallets/wallets.h"

namespace recebimento::screen {

namespace {

constexpr const char* kWaitingCaption = "Aguardando a leitura do Qr code.\nAperte Esc para cancelar.";
constexpr const char* kReadCaption = "Qr code lido.\nAguardando confirmação do pagamento.\nAperte Esc para cancelar.";
constexpr int kLastPass = 100;
constexpr int kTimeOutPass = 99;
constexpr int64_t kPassMs = 999;

void AddOnce(std::vector<std::string>& list, const std::string& id) {
  if (std::find(list.begin(), list.end(), id) == list.end()) list.push_back(id);
}

void RemoveFrom(std::vector<std::string>& list, const std::string& id) {
  list.erase(std::remove(list.begin(), list.end(), id), list.end());
}

}  // namespace

bool Wallets::MercadoPagoTender(TenderPayment& tender, double& amount) {
  TenderSelection& selection = s_.parts.selection;
  if (!selection.AmountFromKeypad(isMp, s_.sale.doVrAPagar, amount) || !selection.CheckTypedAmount(amount, false))
    return false;
  mp_.doValorMP = runtime::Trunc2(amount);

  ControlRegistry& c = s_.controls;
  Control& panel = c.Require("panTef");
  s_.parts.grid.CtrlBotoes("C", 1);
  panel.left = 145;
  panel.top = 200;
  panel.visible = true;
  c.SetCaption("lblTef", "Integração Mercado Pago.");
  c.SetCaption("lblSegundos", "( 0 )");

  integrations::MercadoPagoClient mp = MercadoPagoApi();
  mp.inicializaVarMP(cdsDadosMp);
  c.SetCaption("lblTef", "Criando Ordem de Pagamento.\n");
  mp.excluiOrderV2();  // an order left on the point of sale
  std::string payment_id;
  WaitOutcome outcome = WaitOutcome::Cancelled;
  const bool placed = mp.criaOrderPresencialV2(s_.ctx.rdm.getDataEmissMp());
  if (placed) outcome = WaitForMercadoPagoPayment(mp, payment_id);

  // Whatever happened: the buttons back, the panel as the card terminal uses it, and
  // no order left on the point of sale.
  s_.parts.grid.CtrlBotoes("C", 2);
  panel.visible = false;
  if (!placed || outcome != WaitOutcome::Paid) SettleUnpaidMercadoPagoOrder(mp, mp.excluiOrderV2());
  panel.left = 258;
  panel.top = 126;
  c.SetCaption("lblTef", "Aguardando retorno do TEF...");
  mp_.xmlResponse.reset();
  mp_frame_.stlIdOrdemMpLista.clear();
  mp_frame_.stlIdOrdemMpRejeitado.clear();
  waiting_ = cancel_requested_ = false;

  if (!placed) {
    CancelSelection("Erro ao criar Ordem de Pagamento");
    return false;
  }
  if (outcome != WaitOutcome::Paid) {
    CancelSelection(outcome == WaitOutcome::TimedOut ? "Operação cancelada." : "");
    return false;
  }
  mp_.boPagouMp = true;
  mp_payments_taken_.push_back(payment_id);
  s_.ShowMessage("Pagamento realizado", runtime::kMsgPrompt);
  tender.card.NMBANDTEF = "MercadoPago";
  tender.card.DSCARTDIGITAL = "Int. Mercado Pago";
  tender.card.CDNSUHOSTTEF = payment_id;
  tender.card.CDNSUTEF = payment_id;
  amount = mp_.doValorMP;
  return true;
}

Wallets::WaitOutcome Wallets::WaitForMercadoPagoPayment(integrations::MercadoPagoClient& mp, std::string& payment_id) {
  ControlRegistry& c = s_.controls;
  std::string caption = kWaitingCaption;
  waiting_ = true;
  cancel_requested_ = false;
  const int64_t start = s_.ctx.clock.TickMs();
  for (int counter = 1; counter <= kLastPass;) {
    c.SetCaption("lblTef", caption);
    if (WaitForOperator(start + counter * kPassMs)) return WaitOutcome::Cancelled;
    ++counter;
    c.SetCaption("lblSegundos", "( " + std::to_string((s_.ctx.clock.TickMs() - start) / 1000) + " )");
    if (counter == kTimeOutPass) return WaitOutcome::TimedOut;
    // Every fifth pass looks at the orders; a failed look only waits for the next one.
    if (counter % 5 == 0 && CheckMercadoPagoOrders(mp, counter, caption, payment_id)) return WaitOutcome::Paid;
  }
  return WaitOutcome::TimedOut;
}

bool Wallets::CheckMercadoPagoOrders(integrations::MercadoPagoClient& mp, int counter, std::string& caption,
                                     std::string& payment_id) {
  std::vector<std::string>& pending = mp_frame_.stlIdOrdemMpLista;
  // The store's relay says whether Mercado Pago notified it of an order seen.
  bool notified = false;
  for (const std::string& id : std::vector(pending)) {
    if (mp.notificacaoMP("merchant_order", id, "get")) {
      notified = true;
      mp.notificacaoMP("merchant_order", id, "del");
    }
  }
  // Until an order is seen the search runs every 15 s, then every 5 s.
  if (!notified && pending.empty() && counter % 15 != 0) return false;
  if (!mp.obtemOrderSearch()) return false;
  std::vector<integrations::MerchantOrderSeen> orders;
  try {
    mp_.xmlResponse = integrations::JsonToXML(mp_frame_.stMpResult);
    orders = integrations::ReadMerchantOrders(*mp_.xmlResponse);
  } catch (const std::exception& e) {
    s_.ctx.log.logMp(std::string("obtemOrderSearch: ") + e.what());
    return false;
  }
  bool paid = false;
  std::string approved;
  for (const integrations::MerchantOrderSeen& order : orders) {
    if (order.id.empty()) continue;
    if (order.payment_status == "rejected") {
      RemoveFrom(pending, order.id);
      AddOnce(mp_frame_.stlIdOrdemMpRejeitado, order.id);
    } else {
      AddOnce(pending, order.id);
    }
    if (order.order_status == "paid") {
      caption = "Validando pagamento.";
      mp_.stIdOrdemMp = order.id;
      approved = order.payment_id;
      paid = true;
      break;
    }
  }
  if (!paid) {
    caption = pending.empty() ? kWaitingCaption : kReadCaption;
    return false;
  }
  // Paid, but its first payment is not the approved one: the order itself says which.
  if (approved.empty() && mp.obtemOrderID()) approved = integrations::ApprovedPaymentOfPaidOrder(mp_frame_.stMpResult);
  if (approved.empty()) return false;
  mp_.AddPaymentId(approved);
  mp.RecordPayment(approved);
  payment_id = approved;
  return true;
}

void Wallets::SettleUnpaidMercadoPagoOrder(integrations::MercadoPagoClient& mp, bool cleared) {
  if (mp_.journal_entry.empty()) return;  // no order was placed
  std::vector<std::string> late;
  if (!cleared || !mp.PaymentsOfReference(late)) {
    // Still payable, or paid for all we know: the journal keeps the order, and the next
    // start clears the point of sale and refunds what its reference took.
    s_.ctx.log.LogRev00000("Mercado Pago: ordem " + mp_.stEXTERNALREFERENCE +
                           " sem confirmação de que nada foi pago, acertada na próxima abertura");
    mp_.journal_entry.clear();
    return;
  }
  if (late.empty()) {
    mp.ForgetOrder();
    return;
  }
  // Paid as the wait ended: the sale has no line for it, so the consumer gets it back.
  const std::string taken = std::exchange(mp_.stPAYMENTID, std::string());
  for (const std::string& payment : late) {
    mp.RecordPayment(payment);
    mp_.AddPaymentId(payment);
  }
  RefundMercadoPagoPayments();
  mp_.stPAYMENTID = taken;
  const auto& entries = journal_->Entries();
  const bool refunded = std::none_of(entries.begin(), entries.end(), [&](const integrations::WalletJournalEntry& e) {
    return std::find(late.begin(), late.end(), e.payment) != late.end();
  });
  if (refunded)
    s_.ShowMessage("Pagamento feito no Mercado Pago após o cancelamento foi estornado.", runtime::kMsgBlocked);
}

void Wallets::RefundMercadoPagoPayments() {
  integrations::MercadoPagoClient mp = MercadoPagoApi();
  while (!mp_.stPAYMENTID.empty()) {
    if (mp.estornoMP()) {
      mp_.stPAYMENTIDestorno.clear();
    } else {
      const bool unauthorized =
          integrations::retornaCampoJSONMp(mp_frame_.stMpResult, "error", "", 1) == "unauthorized";
      s_.ShowMessage(unauthorized ? "Sem permissão para cancelar a transação no Mercado Pago."
                                  : "Erro ao cancelar a transação no Mercado Pago.",
                     runtime::kMsgBlocked);
    }
    // The payment leaves the list, and the sale, either way, so the loop always ends; a
    // refund that failed stays in the journal and is tried again at the next start.
    RemoveFrom(mp_payments_taken_, mp_.FirstPaymentId());
    mp_.DropFirstPaymentId();
  }
}

}  // namespace recebimento::screen
