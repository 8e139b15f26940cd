#include "integrations/rest/xml_messages.h"

#include <algorithm>
#include <sstream>

namespace recebimento::integrations {

void AddXmlMember(pugi::xml_node parent, const char* name, const std::string& value) {
  parent.append_child(name).text().set(value.c_str());
}

std::string XmlBodyText(const pugi::xml_document& doc) {
  std::ostringstream out;
  doc.save(out, "", pugi::format_raw | pugi::format_no_declaration);
  std::string text = out.str();
  text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }), text.end());
  return text;
}

std::string XmlReplyData::Value(const std::string& name) const {
  const auto it = data.find(name);
  return it == data.end() ? std::string() : it->second;
}

void XmlReplyData::ReadDataOf(const pugi::xml_node& root) {
  for (const pugi::xml_node member : root.child("data").children())
    if (member.type() == pugi::node_element) data[member.name()] = member.text().as_string();
}

}  // namespace recebimento::integrations
