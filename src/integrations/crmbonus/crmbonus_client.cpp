#include "integrations/crmbonus/crmbonus_client.h"

#include <algorithm>

#include "base/text.h"
#include "host/runtime/http_request.h"
#include "integrations/rest/number_text.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/rest/rest_urls.h"

namespace recebimento::integrations {

namespace {

constexpr const char* kLogFolder = "logApiCRMBONUS";
constexpr size_t kBonusIdLength = 9;

std::string WithoutLineBreaks(std::string text) {
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
  return text;
}

}  // namespace

CrmBonusClient::CrmBonusClient(const IntegrationContext& context, const Loggers& log, CrmBonusFrame& frame,
                               CrmBonusState& state, SharedFrameVariables& shared, const CrmBonusSettings& settings)
    : context_(context), log_(log), frame_(frame), state_(state), shared_(shared), settings_(settings) {}

CrmBonusReply CrmBonusClient::Post(const std::string& operation, const std::string& body) {
  const std::string response =
      runtime::RequisicaoHTTPS(settings_.CDURLCRMBONUS + getUrlCRMBONUS(operation), body, "POST",
                               std::vector<std::string>{"ContentType=application/xml"}, "50",
                               context_.paths.DataFolder() + "/" + kLogFolder, context_.transport);
  last_response_ = response;
  log_.logCRMBONUS("RETORNO  = " + WithoutLineBreaks(response), "");
  CrmBonusReply reply = ReadCrmBonusReply(response);
  if (!reply.ok) {
    shared_.stErroRequisicao = response;
    const std::string code = ResponseCode(response);
    frame_.stMensagemCRMBONUS = "Erro na requisição: " + (code.empty() ? "sem status" : code) + " - " + response;
    frame_.stMensagemCRMBONUSAux = "Exceção: " + response + "\n";
    log_.logCRMBONUS(frame_.stMensagemCRMBONUS, frame_.stMensagemCRMBONUSAux);
  }
  return reply;
}

bool CrmBonusClient::ConsultaSaldo(const std::string& phone, double total) {
  log_.logCRMBONUS("Cria Ordem CRMBONUS", "");
  frame_.stMensagemCRMBONUS.clear();
  frame_.stMensagemCRMBONUSAux.clear();
  state_.doValorCRMBONUS = total;
  state_.doSaldoCRMBONUS = 0;
  const CrmBonusReply reply = Post("P", CrmBalanceBody(settings_, phone, total));
  if (!reply.ok) return false;
  state_.stSaldoCRMBONUS = base::Trim(reply.Value("balance"));
  state_.stIdOrdemCRMBONUS = base::Trim(reply.Value("bonusId"));
  try {
    state_.doSaldoCRMBONUS = std::max(0.0, ToFloat(state_.stSaldoCRMBONUS));
  } catch (const NumberConversionError&) {
    // A balance that is no amount offers nothing.
    state_.doSaldoCRMBONUS = 0;
  }
  return true;
}

bool CrmBonusClient::ProcessaBonus(const std::string& phone, double total, bool used, double discount) {
  log_.logCRMBONUS("Finaliza Venda CRMBONUS", "");
  frame_.stMensagemCRMBONUS.clear();
  frame_.stMensagemCRMBONUSAux.clear();
  state_.doValorCRMBONUS = total;
  state_.doValorDesc = used ? discount : 0;
  std::string stamp = context_.clock.Now().Format("yyyymmddhhnn");
  stamp.erase(std::remove_if(stamp.begin(), stamp.end(), [](char c) { return c == ':' || c == '/' || c == ' '; }),
              stamp.end());
  state_.stDtCRMBonus = stamp;

  CrmBonusProcessing p;
  p.phone = phone;
  p.total = total;
  p.bonus_id = state_.stIdOrdemCRMBONUS;  // sent whole; cut for every later use
  const bool with_bonus = used && !state_.stIdOrdemCRMBONUS.empty();
  p.bonus_used = with_bonus ? CrmBonusAmount(discount) : "0.00";
  state_.stIdOrdemCRMBONUS = base::Utf8Left(state_.stIdOrdemCRMBONUS, kBonusIdLength);
  state_.stNrNfceCRMBonus = (with_bonus ? state_.stIdOrdemCRMBONUS : phone) + state_.stDtCRMBonus;
  p.sale_code = state_.stNrNfceCRMBonus;

  const CrmBonusReply reply = Post("D", CrmBonusProcessingBody(settings_, p));
  for (const char* member : {"phone", "bonusId", "orderIdCRM", "bonusAmount"})
    log_.logCRMBONUS(std::string(member) + " = " + reply.Value(member), "");
  if (!reply.ok) return false;
  const std::string bonus_id = base::Trim(reply.Value("bonusId"));
  if (!bonus_id.empty()) state_.stIdOrdemCRMBONUS = base::Utf8Left(bonus_id, kBonusIdLength);
  state_.stOrderIdCRM = base::Trim(reply.Value("orderIdCRM"));
  return true;
}

bool CrmBonusClient::InformaVenda(const std::string& phone, const std::string& value) {
  frame_.stMensagemCRMBONUS.clear();
  frame_.stMensagemCRMBONUSAux.clear();
  CrmSaleReport r;
  r.phone = phone;
  r.value = value;
  r.bonus_id = state_.stIdOrdemCRMBONUS;
  r.order_id_crm = state_.stOrderIdCRM;
  const CrmBonusReply reply = Post("F", CrmSaleReportBody(settings_, r));
  log_.logCRMBONUS("phone = " + reply.Value("phone"), "");
  log_.logCRMBONUS("saleIdCRM = " + reply.Value("saleIdCRM"), "");
  if (!reply.ok) return false;
  shared_.stErroRequisicao = last_response_;
  frame_.stMensagemCRMBONUS =
      "Requisição realizada com sucesso: " + ResponseCode(last_response_) + " - " + last_response_;
  frame_.stMensagemCRMBONUSAux = "Resposta: " + last_response_ + "\n";
  log_.logCRMBONUS(frame_.stMensagemCRMBONUS, frame_.stMensagemCRMBONUSAux);
  return true;
}

}  // namespace recebimento::integrations
