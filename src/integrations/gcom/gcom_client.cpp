#include "integrations/gcom/gcom_client.h"

#include "base/dataset_columns.h"
#include "base/text.h"
#include "host/runtime/http_request.h"
#include "integrations/rest/number_text.h"

namespace recebimento::integrations {

namespace {

double Number(const std::string& text) {
  try {
    return ToFloat(base::Trim(text));
  } catch (const NumberConversionError&) {
    return 0;
  }
}

}  // namespace

GcomState::GcomState() { ResetConsumer(); }

void GcomState::ResetConsumer() {
  using base::FieldType;
  base::Dataset& ds = cdsGetConsumerGCOM;
  if (ds.Fields().empty()) {
    for (const char* f :
         {"BRANCHID", "CONSUMERID", "CONSUMERNAME", "CPFCONSUMER", "FIDELITYCAMPAIGN", "FIDELITYID", "FIDELITYVERSION"})
      ds.AddField(f, FieldType::String, 100);
    ds.AddField("BALANCE", FieldType::Float);
    ds.AddField("PERCENTAGE", FieldType::Float);
    for (const char* f : {"CREDITPERCENTAGE", "STATUS", "BRANDID", "RESERVEID"}) ds.AddField(f, FieldType::String, 100);
    ds.CreateDataSet();
  }
  ds.EmptyDataSet();
}

GcomClient::GcomClient(const IntegrationContext& context, const Loggers& log, GcomState& state,
                       const GcomSettings& settings)
    : context_(context), log_(log), state_(state), settings_(settings) {}

GcomReply GcomClient::Post(const std::string& endpoint, const std::string& body) {
  log_.logGCOM("Função: ResgataCashBackGCOM");
  log_.logGCOM("Endpoint: " + endpoint);
  log_.logGCOM("URL Api: " + settings_.CDURLGCOM);
  log_.logGCOM("Xml Body: " + body);
  const std::string response =
      runtime::RequisicaoHTTPS(settings_.CDURLGCOM + "/" + endpoint, body, "POST", "Bearer " + settings_.IDTOKENAPIGCOM,
                               "15", "", "xml", context_.transport);
  log_.logGCOM("Response: " + response);
  GcomReply reply = ReadGcomReply(response);
  if (reply.answered) log_.logGCOM("message: " + reply.message);
  return reply;
}

bool GcomClient::ConsultBalance(CashbackBalance& balance, std::string& problem) {
  state_.consulted = true;
  state_.ResetConsumer();
  problem.clear();
  const GcomReply reply =
      Post("getConsumerBalance", GcomBalanceBody(state_.phone, settings_.NRINSJURFILI, settings_.CDBRANDIDGCOM));
  if (!reply.ok || reply.data.empty()) {
    state_.consulted = false;
    if (reply.ok) problem = "CLI_N_DADOS_GCOM";
    return false;
  }
  base::Dataset& ds = state_.cdsGetConsumerGCOM;
  ds.Append();
  const std::pair<const char*, const char*> texts[] = {{"BRANCHID", "branchId"},
                                                       {"CONSUMERID", "consumerId"},
                                                       {"CONSUMERNAME", "consumerName"},
                                                       {"CPFCONSUMER", "cpf"},
                                                       {"FIDELITYCAMPAIGN", "fidelityCampaign"},
                                                       {"FIDELITYID", "fidelityId"},
                                                       {"FIDELITYVERSION", "fidelityVersion"},
                                                       {"CREDITPERCENTAGE", "creditPercentage"},
                                                       {"STATUS", "status"},
                                                       {"BRANDID", "brandId"}};
  for (const auto& [column, member] : texts) base::SetColumn(ds, column, base::Variant(reply.Value(member)));
  base::SetColumn(ds, "BALANCE", base::Variant(Number(reply.Value("balance"))));
  base::SetColumn(ds, "PERCENTAGE", base::Variant(Number(reply.Value("redemptionPercentage"))));
  ds.Post();
  const std::string status = base::Trim(base::ColumnText(ds, "STATUS"));
  if (status != "S" && status != "N") {
    // A record without a registration status is no offer.
    state_.consulted = false;
    problem = "CLI_N_DADOS_GCOM";
    return false;
  }
  balance.campaign = base::ColumnText(ds, "FIDELITYCAMPAIGN");
  balance.consumer_name = base::ColumnText(ds, "CONSUMERNAME");
  balance.balance = base::ColumnNumber(ds, "BALANCE");
  balance.percentage = base::ColumnNumber(ds, "PERCENTAGE");
  balance.complete = status == "S";
  return true;
}

bool GcomClient::Reserve(double amount, std::string& problem) {
  base::Dataset& ds = state_.cdsGetConsumerGCOM;
  problem.clear();
  state_.error_message.clear();
  if (!ds.Active() || ds.IsEmpty()) {
    state_.consulted = false;
    problem = "N_RESERV_CASHBAC";
    return false;
  }
  GcomReservation r;
  r.value = FormataFloat(amount);
  r.branch_id = base::ColumnText(ds, "BRANCHID");
  r.fidelity_id = base::ColumnText(ds, "FIDELITYID");
  r.fidelity_version = base::ColumnText(ds, "FIDELITYVERSION");
  r.brand_id = base::ColumnText(ds, "BRANDID");
  r.store_id = settings_.NRINSJURFILI;
  r.consumer_id = base::ColumnText(ds, "CONSUMERID");
  const GcomReply reply = Post("balanceReserve", GcomReserveBody(r));
  const std::string reserve = base::Trim(reply.Value("reserveId"));
  if (!reply.ok || reserve.empty()) {
    state_.consulted = false;
    problem = "N_RESERV_CASHBAC";
    if (reply.answered && !reply.ok) state_.error_message = reply.message;
    return false;
  }
  ds.Edit();
  base::SetColumn(ds, "RESERVEID", base::Variant(reserve));
  ds.Post();
  return true;
}

std::string GcomClient::Reason() const { return state_.error_message.empty() ? "" : ": " + state_.error_message; }

}  // namespace recebimento::integrations
