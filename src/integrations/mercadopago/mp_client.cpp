#include "integrations/mercadopago/mp_client.h"

#include <algorithm>

#include "base/dataset_columns.h"
#include "host/runtime/http_request.h"
#include "integrations/mercadopago/mp_messages.h"
#include "integrations/rest/json_to_xml.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/rest/rest_urls.h"

namespace recebimento::integrations {

MercadoPagoClient::MercadoPagoClient(const IntegrationContext& context, const Loggers& log, MercadoPagoFrame& frame,
                                     MercadoPagoState& state, WalletJournal* journal)
    : context_(context), log_(log), frame_(frame), state_(state), journal_(journal) {}

void MercadoPagoClient::inicializaVarMP(base::Dataset& cdsDadosMp) {
  try {
    const auto text = [&](const char* column) { return base::ColumnText(cdsDadosMp, column); };
    frame_.stACCESSTOKEN = base::ColumnTrimmed(cdsDadosMp, "DSACCESSTOKENMP");
    state_.stUSERID = base::ColumnTrimmed(cdsDadosMp, "DSUSERIDMP");
    state_.stSPONSOR = base::ColumnTrimmed(cdsDadosMp, "DSIDSPONSORMP");
    state_.stEXTERNALSTOREID = "LOJA" + text("CDFILIAL") + text("CDLOJA");
    state_.stEXTERNALPOSID = "CAIXA" + text("CDFILIAL") + text("CDCAIXA");
    state_.stDESCRIPTION = text("NMFILIAL") + " - " + state_.stEXTERNALPOSID;
    state_.stNOTIFICATIONURL = base::ColumnTrimmed(cdsDadosMp, "DSURLNOTIFICMP");
    const std::string api = WithoutTrailingSlash(text("DSURLAPIMP"));
    state_.api_base = api.empty() ? kMercadoPagoApi : api;
  } catch (const std::exception& e) {
    log_.logMp(e.what());
  }
  state_.stEXTERNALREFERENCE.clear();
  state_.stIdOrdemMp.clear();
  frame_.stlIdOrdemMpLista.clear();
  frame_.stlIdOrdemMpRejeitado.clear();
  state_.xmlResponse = std::make_unique<pugi::xml_document>();
}

bool MercadoPagoClient::Call(const std::string& step, const std::string& url, const std::string& method,
                             const std::string& body, int success_code, const std::string& timeout) {
  frame_.stMensagemMp.clear();
  if (frame_.stACCESSTOKEN.empty()) {
    // A branch without Mercado Pago settings: nothing to ask Mercado Pago.
    frame_.stMpResult.clear();
    frame_.stMensagemMp = "Mercado Pago sem configuração na filial - " + step;
    log_.logMp(frame_.stMensagemMp);
    return false;
  }
  frame_.stMpResult =
      runtime::RequisicaoHTTPS(url, body, method, "Bearer " + frame_.stACCESSTOKEN,
                               timeout_.empty() ? timeout : timeout_, log_.MpLogFolder(), "json", context_.transport);
  log_.logMp(step);
  log_.logMp(frame_.stMpResult);
  const bool ok = HasResponseCode(frame_.stMpResult, success_code);
  if (!ok) frame_.stMensagemMp = "Erro na requisição: " + ResponseCode(frame_.stMpResult) + " - " + step;
  return ok;
}

std::string MercadoPagoClient::PosUrl() const {
  return state_.api_base + "/instore/qr/seller/collectors/" + EscapeUrlPart(state_.stUSERID) + "/pos/" +
         EscapeUrlPart(state_.stEXTERNALPOSID) + "/orders";
}

bool MercadoPagoClient::criaOrderPresencialV2(const std::string& server_time) {
  const base::DateTime now = context_.clock.Now();
  state_.stEXTERNALREFERENCE = MercadoPagoExternalReference(now);
  if (frame_.stACCESSTOKEN.empty()) return Call("criaOrderPresencialV2", "", "PUT", "", 204);  // no settings
  if (journal_) {
    // Recorded before the order exists: if the process dies while it waits, the next
    // start clears the point of sale and refunds what was paid for this reference.
    WalletJournalEntry entry;
    entry.provider = WalletJournalEntry::kMercadoPago;
    entry.kind = WalletJournalEntry::kOrder;
    entry.phase = WalletJournalEntry::kOpen;
    entry.order = state_.stEXTERNALREFERENCE;
    state_.journal_entry = journal_->Add(entry);
    if (state_.journal_entry.empty()) {
      frame_.stMensagemMp = "Ordem não criada: " + journal_->Problem();
      log_.logMp("criaOrderPresencialV2");
      log_.logMp(frame_.stMensagemMp);
      return false;
    }
  }
  const std::string url = state_.api_base + "/instore/qr/seller/collectors/" + EscapeUrlPart(state_.stUSERID) +
                          "/stores/" + EscapeUrlPart(state_.stEXTERNALSTOREID) + "/pos/" +
                          EscapeUrlPart(state_.stEXTERNALPOSID) + "/orders";
  return Call("criaOrderPresencialV2", url, "PUT", EscapeQuotes(MercadoPagoOrderBody(state_, now, server_time)), 204);
}

bool MercadoPagoClient::excluiOrderV2() { return Call("excluiOrderV2", PosUrl(), "DELETE", "", 204); }

void MercadoPagoClient::ForgetOrder() {
  if (journal_ && !state_.journal_entry.empty()) journal_->Remove(state_.journal_entry);
  state_.journal_entry.clear();
}

bool MercadoPagoClient::obtemOrderPendenteV2() { return Call("obtemOrderPendenteV2", PosUrl(), "GET", "", 200); }

bool MercadoPagoClient::obtemOrderSearch() {
  return Call("obtemOrderSearch",
              state_.api_base + "/merchant_orders?external_reference=" + EscapeUrlPart(state_.stEXTERNALREFERENCE),
              "GET", "", 200);
}

bool MercadoPagoClient::PaymentsOfReference(std::vector<std::string>& payments) {
  payments.clear();
  if (!obtemOrderSearch()) return false;
  std::vector<MerchantOrderSeen> orders;
  try {
    const auto doc = JsonToXML(frame_.stMpResult);
    // A reply without the list of orders says nothing about what was paid.
    if (!doc->child("root").child("elements")) throw JsonToXmlError("resposta sem elements");
    orders = ReadMerchantOrders(*doc);
  } catch (const std::exception& e) {
    frame_.stMensagemMp = std::string("obtemOrderSearch: ") + e.what();
    log_.logMp(frame_.stMensagemMp);
    return false;
  }
  for (const MerchantOrderSeen& order : orders) {
    std::string payment = order.payment_id;
    if (payment.empty() && order.order_status == "paid") {
      state_.stIdOrdemMp = order.id;
      if (!obtemOrderID()) return false;
      payment = ApprovedPaymentOfPaidOrder(frame_.stMpResult);
    }
    if (!payment.empty() && std::find(payments.begin(), payments.end(), payment) == payments.end())
      payments.push_back(payment);
  }
  return true;
}

bool MercadoPagoClient::obtemOrderID() {
  return Call("obtemOrderID", state_.api_base + "/merchant_orders/" + EscapeUrlPart(state_.stIdOrdemMp), "GET", "",
              200);
}

bool MercadoPagoClient::estornoMP() {
  state_.stPAYMENTIDestorno = state_.FirstPaymentId();
  const bool ok =
      Call("estornoMP", state_.api_base + "/v1/payments/" + EscapeUrlPart(state_.stPAYMENTIDestorno) + "/refunds",
           "POST", "", 201);
  if (ok && journal_) {
    // Refunded: the consumer has the money back.
    std::vector<std::string> settled;
    for (const auto& e : journal_->Entries())
      if (e.provider == WalletJournalEntry::kMercadoPago && e.kind == WalletJournalEntry::kPayment &&
          e.payment == state_.stPAYMENTIDestorno)
        settled.push_back(e.id);
    for (const auto& id : settled) journal_->Remove(id);
  }
  return ok;
}

bool MercadoPagoClient::notificacaoMP(const std::string& Topic, const std::string& Id, const std::string& Action) {
  if (state_.stNOTIFICATIONURL.empty()) return false;
  return Call("notificacaoMP",
              state_.stNOTIFICATIONURL + "?id=" + EscapeUrlPart(Id) + "&topic=" + EscapeUrlPart(Topic) +
                  "&action=" + EscapeUrlPart(Action),
              "GET", "", 200, "20");
}

void MercadoPagoClient::RecordPayment(const std::string& payment_id) {
  if (!journal_) return;
  WalletJournalEntry entry;
  entry.provider = WalletJournalEntry::kMercadoPago;
  entry.kind = WalletJournalEntry::kPayment;
  entry.phase = WalletJournalEntry::kOpen;
  entry.order = state_.stEXTERNALREFERENCE;
  entry.payment = payment_id;
  journal_->Add(entry);
  // Paid: the order is off the point of sale, and the payment entry follows the money.
  if (!state_.journal_entry.empty()) journal_->Remove(state_.journal_entry);
  state_.journal_entry.clear();
}

}  // namespace recebimento::integrations
