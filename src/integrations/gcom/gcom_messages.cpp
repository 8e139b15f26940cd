#include "integrations/gcom/gcom_messages.h"

#include <algorithm>
#include <pugixml.hpp>
#include <sstream>

#include "base/dataset_columns.h"
#include "base/text.h"
#include "integrations/rest/request_sequence.h"

namespace recebimento::integrations {

namespace {

std::string Text(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  std::string text = out.str();
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
  return text;
}

void Add(pugi::xml_node parent, const char* name, const std::string& value) {
  parent.append_child(name).text().set(value.c_str());
}

}  // namespace

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
  Add(data, "consumerPhone", phone);
  Add(data, "storeId", store_id);
  Add(data, "brandId", brand_id);
  return Text(doc);
}

std::string GcomReserveBody(const GcomReservation& r) {
  pugi::xml_document doc;
  pugi::xml_node data = doc.append_child("root").append_child("data");
  Add(data, "value", r.value);
  Add(data, "branchId", r.branch_id);
  Add(data, "fidelityId", r.fidelity_id);
  Add(data, "fildetyVersion", r.fidelity_version);  // the service's own spelling
  Add(data, "brandId", r.brand_id);
  Add(data, "storeId", r.store_id);
  Add(data, "consumerId", r.consumer_id);
  return Text(doc);
}

std::string GcomReply::Value(const std::string& name) const {
  const auto it = data.find(name);
  return it == data.end() ? std::string() : it->second;
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
  for (const pugi::xml_node member : root.child("data").children())
    if (member.type() == pugi::node_element) out.data[member.name()] = member.text().as_string();
  out.ok = base::IEquals(base::Trim(root.child("error").text().as_string()), "false");
  return out;
}

}  // namespace recebimento::integrations
