#include "integrations/clubpetro/clubpetro_client.h"

#include <algorithm>

#include "base/dataset_columns.h"
#include "host/runtime/http_request.h"
#include "host/runtime/secret_masking.h"
#include "integrations/rest/number_text.h"

namespace recebimento::integrations {

namespace {

// The token header as the log shows it.
std::string MaskedHeader(const std::string& token) {
  return token.empty() ? std::string() : "token:" + std::string(runtime::kMaskedValue) + ";";
}

}  // namespace

ClubPetroClient::ClubPetroClient(const IntegrationContext& context, const Loggers& log, ClubPetroFrame& frame,
                                 ClubPetroState& state, SharedFrameVariables& shared, const ClubPetroSettings& settings)
    : context_(context), log_(log), frame_(frame), state_(state), shared_(shared), settings_(settings) {}

bool ClubPetroClient::Post(const std::string& url, const std::string& token, const std::string& body,
                           const std::string& timeout, const std::string& step) {
  frame_.desalocaVariaveisClubPetro();
  frame_.preparaVariaveisClubPetro();
  *frame_.clubPetroHeader = token.empty() ? std::string() : "token:" + token + ";";
  *frame_.clubPetroBody = body;
  shared_.JSONBody = body;
  log_.logClubPetro("", "S", "", "");
  log_.logClubPetro("-------> " + step, "N", "N", "");
  log_.logClubPetro("Request: " + body, "N", "N", "");
  log_.logClubPetro("Header: " + MaskedHeader(token), "N", "N", "");
  if (url.empty()) {
    frame_.arResultClubPetro[0] = base::Variant(int64_t{runtime::kNoHttpStatus});
    frame_.arResultClubPetro[1] = base::Variant(std::string("sem endereço da API do ClubPetro"));
  } else {
    frame_.arResultClubPetro =
        runtime::RequisicaoHTTP(url, "JSON", "POST", *frame_.clubPetroHeader, *frame_.clubPetroBody, timeout);
  }
  status_ = static_cast<int>(frame_.arResultClubPetro[0].AsInteger());
  const std::string reply = frame_.arResultClubPetro[1].AsString();
  *frame_.clubPetroResponse = reply;
  if (status_ == 200) {
    frame_.stClubPetroResult = reply;
    log_.logClubPetro("Response: " + reply, "N", "N", "");
    return true;
  }
  shared_.stErroRequisicao = reply;
  frame_.stMensagemClubPetroAux =
      "Header: " + MaskedHeader(token) + "\n" + "Body: " + body + "?" + "Adicional: " + reply;
  return false;
}

void ClubPetroClient::Fail(const std::string& log_text, const std::string& message) {
  frame_.stMensagemClubPetro = message;
  log_.logClubPetro(log_text, "N", "S", frame_.stMensagemClubPetroAux);
}

bool ClubPetroClient::buscaTokenResgate() {
  frame_.stMensagemClubPetro.clear();
  frame_.stMensagemClubPetroAux.clear();
  if (!settings_.HasCredentials()) {
    state_.stCDCNPJRESGSALDO.clear();
    state_.stCDINTRESGSALDO.clear();
    state_.stIDTIPORESGATE = "F";
    state_.doSaldoRest = 0;
    return false;
  }
  const bool ok =
      Post(settings_.token_url, "", ClubPetroTokenBody(settings_.DSIDRESGS, settings_.DSSENHARESGS), "30", "Token");
  if (ok) {
    const ClubPetroToken token = ReadClubPetroToken(frame_.stClubPetroResult);
    frame_.stTokenApiClubPetro = token.access_token;
    state_.UrlRaizAPIClubPetro = token.api_url;
    frame_.stClubPetroResult.clear();
    if (token.access_token.empty() || token.api_url.empty()) {
      // A 200 without a token or an address cannot be used for anything.
      Fail("Erro na requisição: resposta sem token -> buscaTokenResgate", "Erro na requisição: resposta sem token");
      state_.stCDCNPJRESGSALDO.clear();
      state_.stCDINTRESGSALDO.clear();
      state_.doSaldoRest = 0;
      return false;
    }
  } else {
    const std::string reply = shared_.stErroRequisicao;
    Fail(status_ == runtime::kNoHttpStatus ? "Erro na requisição: Desconhecido -> buscaTokenResgate. "
                                           : "Erro na requisição: " + std::to_string(status_) + " - " + reply,
         status_ == runtime::kNoHttpStatus ? "Erro na requisição: Desconhecido -> buscaTokenResgate. "
                                           : "Erro na requisição: " + std::to_string(status_) + " - " + reply);
    state_.stCDCNPJRESGSALDO.clear();
    state_.stCDINTRESGSALDO.clear();
    state_.doSaldoRest = 0;
  }
  log_.logClubPetro("-------> Fim Token", "N", "N", "");
  return ok;
}

bool ClubPetroClient::buscaDadosConsClubPetro(const std::string& Token, const std::string& Document,
                                              const std::string& Foreign, ClubPetroRefusal* refusal) {
  auto refuse = [&](ClubPetroRefusal why) {
    if (refusal) *refusal = why;
    return false;
  };
  frame_.stMensagemClubPetro.clear();
  frame_.stMensagemClubPetroAux.clear();
  state_.boConsClubPetroCriado = false;
  const bool foreign = Foreign == "S";
  const bool ok = Post(state_.UrlRaizAPIClubPetro, Token,
                       ClubPetroConsultationBody(Document, foreign, state_.stCNPJFil), "30", "Consulta");
  state_.boCliClubPetroExiste = true;
  if (!ok) {
    state_.stClubPetroOnline = "N";
    Fail(status_ == runtime::kNoHttpStatus ? "Erro na requisição: Erro desconhecido -> buscaDadosConsClubPetro"
                                           : "Erro na requisição: " + std::to_string(status_),
         "ERROCLUBPETRO");
    return refuse(ClubPetroRefusal::NoAnswer);
  }
  const ClubPetroConsumer c = ReadClubPetroConsumer(frame_.stClubPetroResult);
  if (c.unknown) {
    if (!foreign) return buscaDadosConsClubPetro(Token, Document, "S", refusal);
    state_.boCliClubPetroExiste = false;
    frame_.stMensagemClubPetro = "CLICLUBPETRO_NAO";
    return refuse(ClubPetroRefusal::Unknown);
  }
  log_.logClubPetro("bloqueado:" + c.bloqueado, "N", "N", "");
  log_.logClubPetro("flg_status_cliente:" + c.flg_status_cliente, "N", "N", "");
  if (c.blocked || c.declined) {
    state_.boCliClubPetroExiste = false;
    state_.boMsgErrClubPetro = true;
    frame_.stMensagemClubPetro = c.blocked ? "CLICLUBPET_BLOQ" : "CLICLUBPET_NACEIT";
    return refuse(c.blocked ? ClubPetroRefusal::Blocked : ClubPetroRefusal::Declined);
  }
  base::Dataset& cons = state_.cdsConsClubPetro;
  cons.Append();
  base::SetColumn(cons, "COD_CLIENTE", base::Variant(c.cod_cliente));
  base::SetColumn(cons, "CARTAO", base::Variant(c.cartao));
  base::SetColumn(cons, "TELCELULAR", base::Variant(c.telcelular));
  base::SetColumn(cons, "SALDOPONTOS", base::Variant(c.saldopontos));
  base::SetColumn(cons, "CPF_ATIVO", base::Variant(c.cpf_ativo));
  base::SetColumn(cons, "SENHARESGATE", base::Variant(c.senha_resgate));
  base::SetColumn(cons, "GRUPOCONS", base::Variant(c.grupo));
  base::SetColumn(cons, "VRRESGATE", base::Variant(0.0));
  cons.Post();
  if (!c.grupo.empty()) state_.stGrupoConsClubPetro = c.grupo;
  state_.boConsClubPetroCriado = true;
  state_.boCliClubPetroExiste = true;
  log_.logClubPetro("------->Fim Consulta", "N", "N", "");
  log_.logClubPetro("", "S", "", "");
  if (refusal) *refusal = ClubPetroRefusal::None;
  return true;
}

bool ClubPetroClient::ResgataPontos(const std::string& Token, double points, const std::string& attendant,
                                    const base::DateTime& moment) {
  frame_.stMensagemClubPetro.clear();
  frame_.stMensagemClubPetroAux.clear();
  base::Dataset& cons = state_.cdsConsClubPetro;
  const double balance = state_.PointsBalance();
  ClubPetroRedemption r;
  r.store = state_.stCNPJFil;
  r.cod_cliente = base::ColumnText(cons, "COD_CLIENTE");
  r.phone = base::ColumnText(cons, "TELCELULAR");
  r.card = base::ColumnText(cons, "CARTAO");
  // Never more than the consumer holds.
  r.points = FormataFloat(balance > points ? points : balance);
  r.attendant = attendant;
  r.unique_id = state_.stIdUnicoClubPetro;
  r.moment = moment;
  log_.logClubPetro("Convertendo Pontos: " + r.points, "N", "N", "");
  log_.logClubPetro("P_PONTOS: " + FormataFloat(points), "N", "N", "");
  log_.logClubPetro("cdsConsClubPetroSALDOPONTOS: " + base::ColumnText(cons, "SALDOPONTOS"), "N", "N", "");
  log_.logClubPetro("Conversão OK: " + r.points, "N", "N", "");
  if (!Post(state_.UrlRaizAPIClubPetro, Token, ClubPetroRedemptionBody(r), "30", "Resgate")) {
    Fail(status_ == runtime::kNoHttpStatus ? "Erro na requisição: Erro desconhecido -> resgatePontoClubPetro"
                                           : "Erro na requisição: " + std::to_string(status_),
         "ERROCLUBPETRO");
    return false;
  }
  const ClubPetroRedemptionReply reply = ReadClubPetroRedemption(frame_.stClubPetroResult);
  state_.stCDCNPJRESGSALDO = state_.stCNPJFil;
  state_.stCDINTRESGSALDO = reply.autorizacao;
  state_.stIDTIPORESGATE = "O";
  state_.doPontosResgatados = balance > points ? points : balance;
  if (reply.has_balance) {
    state_.doSaldoRest = reply.saldo;
    log_.logClubPetro("Saldo Restante: " + FormataFloat(reply.saldo), "N", "N", "");
  }
  return true;
}

bool ClubPetroClient::InformaVenda(const std::vector<ClubPetroItem>& items, const base::DateTime& moment) {
  ClubPetroSale sale;
  sale.store = state_.stCNPJFil;
  sale.unique_id = state_.stIdUnicoClubPetro;
  sale.card = base::ColumnText(state_.cdsConsClubPetro, "CARTAO");
  sale.moment = moment;
  sale.items = items;
  const bool ok = Post(state_.UrlRaizAPIClubPetro, frame_.stTokenApiClubPetro, ClubPetroSaleBody(sale), "15", "Venda");
  if (!ok) log_.logClubPetro("Response: " + shared_.stErroRequisicao, "N", "N", "");
  log_.logClubPetro("------->Fim Resgate", "N", "N", "");
  log_.logClubPetro("RESGATE UTILIZADO NA VENDA", "N", "S", frame_.stMensagemClubPetroAux);
  return ok;
}

}  // namespace recebimento::integrations
