#pragma once
// The XML the programmes that speak XML take and give: bodies built member by member and
// sent on one line, and replies whose "data" element carries the answer's members.
#include <map>
#include <pugixml.hpp>
#include <string>

namespace recebimento::integrations {

// Appends <name>value</name> to `parent`.
void AddXmlMember(pugi::xml_node parent, const char* name, const std::string& value);
// The document as one line: no declaration, no indentation, no line breaks.
std::string XmlBodyText(const pugi::xml_document& doc);

// The members of a reply's "data" element, by name.
struct XmlReplyData {
  std::map<std::string, std::string> data;
  // The member's text; empty when the reply has none of that name.
  std::string Value(const std::string& name) const;
  // Keeps the element children of `root`'s "data" child.
  void ReadDataOf(const pugi::xml_node& root);
};

}  // namespace recebimento::integrations
