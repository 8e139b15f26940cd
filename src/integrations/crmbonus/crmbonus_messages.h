#pragma once
// The CRM Bonus programme's XML bodies (root/data, members in the programme's order,
// sent without line breaks) and the reader of its replies.
#include <string>

#include "base/dataset.h"
#include "integrations/rest/xml_messages.h"

namespace recebimento::integrations {

// The store's CRM Bonus settings (cdsDadosCRMBONUS).
struct CrmBonusSettings {
  std::string IDCRMBONUS;      // "S": the programme is in use
  std::string CDURLCRMBONUS;   // the API's base address
  std::string CDAUTHCRMBONUS;  // authorisation code sent in every body
  std::string CDCODECRMBONUS;  // company code sent in every body

  bool InUse() const { return IDCRMBONUS == "S" && !CDURLCRMBONUS.empty(); }
};
CrmBonusSettings CrmBonusSettingsFrom(base::Dataset& cdsDadosCRMBONUS);

// An amount as the programme reads it: two decimals and "." as separator, without a
// thousands separator (1234.5 gives "1234.50").
std::string CrmBonusAmount(double amount);

// The balance query of `phone` for a sale of `total`.
std::string CrmBalanceBody(const CrmBonusSettings& s, const std::string& phone, double total);

// The bonus-processing body: the bonus used (or "0.00"), the bonus id whole and the sale
// code under both of its names.
struct CrmBonusProcessing {
  std::string phone;
  double total = 0;
  std::string bonus_id;
  std::string bonus_used;  // amount text
  std::string sale_code;
};
std::string CrmBonusProcessingBody(const CrmBonusSettings& s, const CrmBonusProcessing& p);

// The sale report.
struct CrmSaleReport {
  std::string phone;
  std::string value;  // amount text
  std::string bonus_id;
  std::string order_id_crm;
};
std::string CrmSaleReportBody(const CrmBonusSettings& s, const CrmSaleReport& r);

// A reply of the programme. The request module's envelope (brackets and the status
// object before the first ",") is taken off and the rest read as XML: a reply that is
// empty, not XML, carries a status other than 2xx, or whose document says
// <error>true</error> is an error; otherwise the members of its "data" are kept.
struct CrmBonusReply : XmlReplyData {
  bool ok = false;
};
CrmBonusReply ReadCrmBonusReply(const std::string& reply);

}  // namespace recebimento::integrations
