#include "integrations/ame/ame_client.h"

#include "host/runtime/base64.h"
#include "integrations/ame/ame_messages.h"
#include "integrations/rest/json_extractors.h"
#include "integrations/rest/rest_urls.h"

namespace recebimento::integrations {

AmeClient::AmeClient(const IntegrationContext& context, const Loggers& log, AmeFrame& frame, AmeState& state,
                     SharedFrameVariables& shared, const AmeSettings& settings, WalletJournal* journal)
    : context_(context),
      log_(log),
      frame_(frame),
      state_(state),
      shared_(shared),
      settings_(settings),
      journal_(journal) {}

bool AmeClient::Call(const ListFormCall& call, bool log_failure) {
  std::function<void(const std::string&)> logger;
  if (log_failure) logger = [this](const std::string& message) { log_.logAme(message, frame_.stMensagemAmeAux); };
  return RunListFormCall(context_, call, log_.AmeLogFolder(),
                         {frame_.stMensagemAme, frame_.stMensagemAmeAux, frame_.stAmeResult, shared_.stErroRequisicao},
                         logger);
}

std::vector<std::string> AmeClient::BearerHeaders(const std::string& accept, const std::string& content_type) const {
  return {"Authorization=Bearer " + frame_.stTokenApiAme, "Accept=" + accept, "ContentType=" + content_type};
}

std::string AmeClient::PaymentUrl(const std::string& action) const {
  return getUrlAME(settings_.IDAMBIENTEAME, settings_.bases) + "/wallet/user/payments/" +
         EscapeUrlPart(state_.stIdOrdemAmeCaptura) + "/" + action;
}

void AmeClient::UpdateJournal(const std::function<void(WalletJournalEntry&)>& change) {
  if (!journal_ || state_.journal_entry.empty()) return;
  if (auto entry = journal_->Find(state_.journal_entry)) {
    change(*entry);
    journal_->Update(*entry);
  }
}

void AmeClient::ForgetOrder() {
  if (journal_ && !state_.journal_entry.empty()) journal_->Remove(state_.journal_entry);
  state_.journal_entry.clear();
}

bool AmeClient::IncompleteReply(const std::string& what) {
  frame_.stMensagemAme = "Erro na requisição: resposta sem " + what;
  frame_.stMensagemAmeAux = "Exceção: " + shared_.stErroRequisicao + "\n";
  log_.logAme(frame_.stMensagemAme, frame_.stMensagemAmeAux);
  return false;
}

bool AmeClient::buscaTokenAME() {
  frame_.stMensagemAme.clear();
  frame_.stMensagemAmeAux.clear();
  log_.logAme("Busca Token Ame", "");
  if (!settings_.Usable()) {
    // A branch without AME settings asks nobody.
    frame_.stMensagemAme = "AME sem configuração na filial";
    log_.logAme(frame_.stMensagemAme, "");
    return false;
  }
  ListFormCall call;
  call.url = getUrlAME(settings_.IDAMBIENTEAME, settings_.bases) + "/auth/oauth/token";
  call.method = "POST";
  call.body = "grant_type=client_credentials";
  call.headers = {"Authorization=Basic " + runtime::encodeBase64(settings_.DSLOGIN + ":" + settings_.DSSENHA),
                  "ContentType=application/x-www-form-urlencoded", "Accept=application/json"};
  call.timeout = "15";
  if (!Call(call, true)) return false;
  shared_.stErroRequisicao = frame_.stAmeResult;
  frame_.stTokenApiAme = retornaCampoJSONAme(frame_.stAmeResult, "access_token");
  frame_.stAmeResult.clear();
  return frame_.stTokenApiAme.empty() ? IncompleteReply("access_token") : true;
}

bool AmeClient::criaOrdemAME() {
  frame_.stMensagemAme.clear();
  frame_.stMensagemAmeAux.clear();
  log_.logAme("Cria Ordem AME", "");
  if (journal_) {
    // Recorded before AME holds anything: a process that dies from here on leaves the
    // order to be settled at the next start.
    WalletJournalEntry entry;
    entry.provider = WalletJournalEntry::kAme;
    entry.kind = WalletJournalEntry::kOrder;
    entry.phase = WalletJournalEntry::kOpen;
    state_.journal_entry = journal_->Add(entry);
    if (state_.journal_entry.empty()) {
      frame_.stMensagemAme = "Ordem AME não criada: " + journal_->Problem();
      log_.logAme(frame_.stMensagemAme, "");
      return false;
    }
  }
  ListFormCall call;
  call.url = getUrlAME(settings_.IDAMBIENTEAME, settings_.bases) + "/orders";
  call.method = "POST";
  call.body =
      EscapeQuotes(AmeOrderBody(state_.doValorAME, settings_.VRCASHBACK, settings_.DSURLSERVAME, context_.clock.Now()));
  call.headers = BearerHeaders("*/*", "application/json");
  call.timeout = "50";
  call.success_code = 201;
  if (!Call(call, true)) {
    ForgetOrder();
    return false;
  }
  shared_.stErroRequisicao = frame_.stAmeResult;
  const AmeOrderReply reply = ReadAmeOrderReply(frame_.stAmeResult);
  frame_.stAmeResult.clear();
  state_.stIdOrdemAme = reply.id;
  state_.stLinkQRCodeAME = reply.qr_code_link;
  if (reply.id.empty()) {
    ForgetOrder();
    return IncompleteReply("id da ordem");
  }
  UpdateJournal([&](WalletJournalEntry& e) { e.order = reply.id; });
  return true;
}

bool AmeClient::buscaCallBackAutAME() {
  try {
    frame_.stMensagemAme.clear();
    frame_.stMensagemAmeAux.clear();
    log_.logAme("Busca Callback AME", "");
    ListFormCall call;
    call.url = settings_.DSURLSERVAME + "/callbackaut?id=" + EscapeUrlPart(state_.stIdOrdemAme);
    call.method = "GET";
    call.headers = {"Authorization=Bearer " + frame_.stTokenApiAme, "x-api-mode=" + settings_.IDAMBIENTEAME,
                    "Accept=*/*", "ContentType=application/json; charset=utf-8"};
    call.timeout = "15";
    if (!Call(call, true)) return true;
    const AmeCallbackReply reply = ReadAmeCallbackReply(frame_.stAmeResult);
    frame_.stAmeResult.clear();
    state_.stIdOrdemAmeCaptura = reply.id;
    state_.stIdStatusOrdAME = reply.status;
    state_.stIdTypeOrdAME = reply.type;
    if (!reply.Authorized()) return true;
    UpdateJournal([&](WalletJournalEntry& e) { e.payment = reply.id; });
    return false;
  } catch (const std::exception& e) {
    frame_.stMensagemAme = std::string("Erro na consulta do callback AME: ") + e.what();
    return true;
  }
}

bool AmeClient::capturaOrdemAME() {
  frame_.stMensagemAme.clear();
  frame_.stMensagemAmeAux.clear();
  log_.logAme("Captura Ordem AME", "");
  if (state_.stIdOrdemAmeCaptura.empty()) {
    frame_.stMensagemAme = "Erro na requisição: ordem AME sem pagamento para capturar";
    return false;
  }
  ListFormCall call;
  call.url = PaymentUrl("capture");
  call.method = "PUT";
  call.headers = BearerHeaders("application/json", "application/json");
  call.timeout = "15";
  if (!Call(call, false)) return false;
  state_.stStatusCapturaAME = retornaCampoJSONAme(frame_.stAmeResult, "status");
  frame_.stAmeResult.clear();
  ForgetOrder();
  return true;
}

bool AmeClient::cancelaOrdemAME() {
  if (state_.stIdOrdemAmeCaptura.empty()) return false;
  frame_.stMensagemAme.clear();
  frame_.stMensagemAmeAux.clear();
  log_.logAme("Cancela Ordem AME", "");
  ListFormCall call;
  call.url = PaymentUrl("cancel");
  call.method = "PUT";
  call.headers = BearerHeaders("application/json", "application/json");
  call.timeout = "15";
  const bool ok = Call(call, false);
  const std::string response = ok ? frame_.stAmeResult : shared_.stErroRequisicao;
  const std::string orders = "ordemCapt: " + state_.stIdOrdemAmeCaptura + " OrdemPgto: " + state_.stIdOrdemAme;
  frame_.stMensagemAme =
      ok ? "Ordem da AME cancelada. " + orders : "Erro na requisição: " + ResponseCode(response) + " -> " + orders;
  frame_.stMensagemAmeAux = "Exceção: " + response + "\n";
  frame_.stAmeResult.clear();
  if (ok) ForgetOrder();
  return ok;
}

}  // namespace recebimento::integrations
