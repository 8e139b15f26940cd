#pragma once
// The daily log files of the payment step and its integrations, under the host's data
// folder. Each logger opens its file, appends its lines and closes it again on every call;
// a log that cannot be written never stops the sale. Every line passes through the request
// log's masking, so no credential reaches them in clear (the screen's trace included: it
// carries the wallets' settlement lines, which may quote a provider's reply).
//
//   logAme        Dados/logApiAME/logApiAMEddmmyyyy.txt
//   logCRMBONUS   Dados/logApiCRMBONUS/logApiCRMBONUSddmmyyyy.txt
//   logMp         Dados/logApiMP/logApiMPddmmyyyy.txt
//   logClubPetro  Dados/logClubPetro/logClubPetroddmmyyyy.txt
//   logGCOM       Dados/logApiGCOM/yyyy/MM/logApiGCOM_DD.txt
//   LogCartaoTodo Dados/LogCartaoTodo/yyyy/MM/LogCartaoTodo_DD.txt
//   LogRev00000   Dados/LogRev00000/yyyy/MM/LogRev00000_DD.txt
#include <string>
#include <vector>

#include "integrations/integration_context.h"

namespace recebimento::integrations {

class Loggers {
 public:
  explicit Loggers(const IntegrationContext& context) : context_(context) {}

  // The payment screen's own trace.
  void LogRev00000(const std::string& text) const;
  // The prepaid-card trace.
  void LogCartaoTodo(const std::string& text) const;
  void logGCOM(const std::string& text) const;
  // The text, then the call's detail (the integration's "Exceção: ..." text) when there
  // is one, then a rule of 82 "-".
  void logAme(const std::string& text, const std::string& stMensagemAmeAux) const;
  void logCRMBONUS(const std::string& text, const std::string& stMensagemCRMBONUSAux) const;
  // The text, then a rule of 82 "-".
  void logMp(const std::string& text) const;
  // Inicio "S": only the time and a rule of 36 "-". Otherwise the text, and, when Fim is
  // "S" and there is a detail, the detail and the time with the rule.
  void logClubPetro(const std::string& text, const std::string& Inicio, const std::string& Fim,
                    const std::string& stMensagemClubPetroAux) const;

  // The folders of the AME and Mercado Pago logs, where the request module also writes
  // its own request/response log for them.
  std::string AmeLogFolder() const;
  std::string MpLogFolder() const;

 private:
  // A line of the monthly-folder logs: the time, " - ", the text.
  void WriteMonthly(const std::string& folder, const std::string& prefix, const std::string& text) const;
  // Lines of a log kept in one folder, one file a day named prefix + ddmmyyyy.
  void WriteDaily(const std::string& folder, const std::vector<std::string>& lines) const;
  std::string Now() const;

  const IntegrationContext& context_;
};

}  // namespace recebimento::integrations
