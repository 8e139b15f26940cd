#pragma once
// The CRM Bonus programme: the balance of a consumer's phone, the bonus used in a sale
// and the sale itself. Each call posts its XML body (time-out 50 s, the request
// module's log under Dados/logApiCRMBONUS) and logs its reply; on failure its texts are
// in stMensagemCRMBONUS and stMensagemCRMBONUSAux and in stErroRequisicao.
#include <string>

#include "integrations/crmbonus/crmbonus_messages.h"
#include "integrations/crmbonus/crmbonus_state.h"
#include "integrations/integration_context.h"
#include "integrations/rest/frame_variables.h"
#include "integrations/rest/loggers.h"

namespace recebimento::integrations {

class CrmBonusClient {
 public:
  CrmBonusClient(const IntegrationContext& context, const Loggers& log, CrmBonusFrame& frame, CrmBonusState& state,
                 SharedFrameVariables& shared, const CrmBonusSettings& settings);

  // POST /getBalance for the phone and the sale total: stSaldoCRMBONUS,
  // doSaldoCRMBONUS (0 for a text that is no amount) and stIdOrdemCRMBONUS.
  bool ConsultaSaldo(const std::string& phone, double total);
  // POST /bonusProcessing: the bonus used (`used` false reports "0.00" and a sale code
  // made from the phone). Sets stNrNfceCRMBonus, cuts the bonus id to 9 characters, and
  // on success takes the bonus id and the programme's order from the reply.
  bool ProcessaBonus(const std::string& phone, double total, bool used, double discount);
  // POST /addTotalSales with the sale total's amount text.
  bool InformaVenda(const std::string& phone, const std::string& value);

 private:
  // Posts `body` to the operation's path; the reply read, or the failure texts set.
  CrmBonusReply Post(const std::string& operation, const std::string& body);

  const IntegrationContext& context_;
  const Loggers& log_;
  CrmBonusFrame& frame_;
  CrmBonusState& state_;
  SharedFrameVariables& shared_;
  const CrmBonusSettings& settings_;
  std::string last_response_;  // the request module's text of the last call
};

}  // namespace recebimento::integrations
