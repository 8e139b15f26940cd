#include "integrations/crmbonus/crmbonus_messages.h"

#include <algorithm>
#include <pugixml.hpp>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "integrations/rest/number_text.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/rest/xml_messages.h"

namespace recebimento::integrations {

namespace {

// root/data with companyCode and authorization filled; the caller adds the rest.
pugi::xml_node NewBody(pugi::xml_document& doc, const CrmBonusSettings& s) {
  pugi::xml_node data = doc.append_child("root").append_child("data");
  data.append_child("companyCode").text().set(s.CDCODECRMBONUS.c_str());
  data.append_child("authorization").text().set(s.CDAUTHCRMBONUS.c_str());
  return data;
}

}  // namespace

CrmBonusSettings CrmBonusSettingsFrom(base::Dataset& cdsDadosCRMBONUS) {
  CrmBonusSettings s;
  if (!cdsDadosCRMBONUS.Active() || cdsDadosCRMBONUS.IsEmpty()) return s;
  s.IDCRMBONUS = base::ColumnTrimmed(cdsDadosCRMBONUS, "IDCRMBONUS");
  std::string url = base::ColumnTrimmed(cdsDadosCRMBONUS, "CDURLCRMBONUS");
  while (!url.empty() && url.back() == '/') url.pop_back();
  s.CDURLCRMBONUS = url;
  s.CDAUTHCRMBONUS = base::ColumnText(cdsDadosCRMBONUS, "CDAUTHCRMBONUS");
  s.CDCODECRMBONUS = base::ColumnText(cdsDadosCRMBONUS, "CDCODECRMBONUS");
  return s;
}

std::string CrmBonusAmount(double amount) { return FormataFloat(amount); }

std::string CrmBalanceBody(const CrmBonusSettings& s, const std::string& phone, double total) {
  pugi::xml_document doc;
  pugi::xml_node order = NewBody(doc, s).append_child("order");
  AddXmlMember(order, "phone", phone);
  AddXmlMember(order, "value", CrmBonusAmount(total));
  return XmlBodyText(doc);
}

std::string CrmBonusProcessingBody(const CrmBonusSettings& s, const CrmBonusProcessing& p) {
  pugi::xml_document doc;
  pugi::xml_node data = NewBody(doc, s);
  pugi::xml_node order = data.append_child("order");
  AddXmlMember(order, "name", "");
  AddXmlMember(order, "phone", p.phone);
  AddXmlMember(order, "value", CrmBonusAmount(p.total));
  AddXmlMember(data, "type", "R");
  AddXmlMember(data, "bonusId", p.bonus_id);
  AddXmlMember(data, "bonusUsed", p.bonus_used);
  AddXmlMember(data, "saleCode", p.sale_code);
  AddXmlMember(data, "nfceCode", p.sale_code);
  return XmlBodyText(doc);
}

std::string CrmSaleReportBody(const CrmBonusSettings& s, const CrmSaleReport& r) {
  pugi::xml_document doc;
  pugi::xml_node order = NewBody(doc, s).append_child("order");
  AddXmlMember(order, "name", "");
  AddXmlMember(order, "phone", r.phone);
  AddXmlMember(order, "value", r.value);
  AddXmlMember(order, "bonusId", r.bonus_id);
  AddXmlMember(order, "orderIdCRM", r.order_id_crm);
  AddXmlMember(order, "nfceCode", r.bonus_id);
  return XmlBodyText(doc);
}

CrmBonusReply ReadCrmBonusReply(const std::string& reply) {
  CrmBonusReply out;
  if (reply.empty()) return out;
  // The programme's answers are 200; a failure page that happens to be XML is no answer.
  const std::string code = ResponseCode(reply);
  if (!code.empty() && code[0] != '2') return out;
  std::string text = reply;
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '[' || c == ']'; }), text.end());
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return out;
  text.erase(0, comma + 1);
  pugi::xml_document doc;
  if (!doc.load_string(text.c_str(), pugi::parse_default)) return out;
  const pugi::xml_node root = doc.document_element();
  if (!root) return out;
  if (base::IEquals(base::Trim(root.child("error").text().as_string()), "true")) return out;
  out.ReadDataOf(root);
  out.ok = true;
  return out;
}

}  // namespace recebimento::integrations
