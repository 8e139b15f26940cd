#include "integrations/gcom/gcom_messages.h"

#include <pugixml.hpp>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "integrations/rest/request_sequence.h"
#include "integrations/rest/xml_messages.h"

namespace recebimento::integrations {

GcomSettings GcomSettingsFrom(base::Dataset& cdsDadosGCOM) {
  GcomSettings s;
  if (!cdsDadosGCOM.Active() || cdsDadosGCOM.IsEmpty()) return s;
  s.IDUTLINTEGCOM = base::ColumnTrimmed(cdsDadosGCOM, "IDUTLINTEGCOM");
  s.CDBRANDIDGCOM = base::ColumnTrimmed(cdsDadosGCOM, "CDBRANDIDGCOM");
  std::string url = base::ColumnTrimmed(cdsDadosGCOM, "CDURLGCOM");
  while (!url.empty() && url.back() == '/') url.pop_back();
  s.CDURLGCOM = url;
  s.NRINSJURFILI = base::ColumnTrimmed(cdsDadosGCOM, "NRINSJURFILI");
  s.IDTOKENAPIGCOM = base::ColumnTrimmed(cdsDadosGCOM, "IDTOKENAPIGCOM");
  return s;
}

std::string GcomBalanceBody(const std::string& phone, const std::string& store_id, const std::string& brand_id) {
  pugi::xml_document doc;
  pugi::xml_node data = doc.append_child("root").append_child("data");
  AddXmlMember(data, "consumerPhone", phone);
  AddXmlMember(data, "storeId", store_id);
  AddXmlMember(data, "brandId", brand_id);
  return XmlBodyText(doc);
}

std::string GcomReserveBody(const GcomReservation& r) {
  pugi::xml_document doc;
  pugi::xml_node data = doc.append_child("root").append_child("data");
  AddXmlMember(data, "value", r.value);
  AddXmlMember(data, "branchId", r.branch_id);
  AddXmlMember(data, "fidelityId", r.fidelity_id);
  AddXmlMember(data, "fildetyVersion", r.fidelity_version);  // the service's own spelling
  AddXmlMember(data, "brandId", r.brand_id);
  AddXmlMember(data, "storeId", r.store_id);
  AddXmlMember(data, "consumerId", r.consumer_id);
  return XmlBodyText(doc);
}

GcomReply ReadGcomReply(const std::string& reply) {
  GcomReply out;
  if (!HasResponseCode(reply, 200)) return out;
  const size_t start = reply.find("<root");
  const size_t end = reply.rfind("</root>");
  if (start == std::string::npos || end == std::string::npos || end < start) return out;
  pugi::xml_document doc;
  if (!doc.load_buffer(reply.data() + start, end + 7 - start, pugi::parse_default)) return out;
  const pugi::xml_node root = doc.child("root");
  if (!root) return out;
  out.answered = true;
  out.message = root.child("message").text().as_string();
  out.ReadDataOf(root);
  out.ok = base::IEquals(base::Trim(root.child("error").text().as_string()), "false");
  return out;
}

}  // namespace recebimento::integrations
