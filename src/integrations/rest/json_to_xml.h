#pragma once
// A JSON text as the XML document of the .NET JSON reader's mapping (the mapping of
// JsonReaderWriterFactory), which the Mercado Pago search is read through:
//   - the root element is "root";
//   - an object member becomes an element named after its key; a key that is no XML name
//     becomes <a:item xmlns:a="item" item="the key">;
//   - a list's entries become "item" elements;
//   - every element carries a "type" attribute: "object", "array", "string", "number",
//     "boolean" or "null"; strings, numbers (as written) and booleans are its text.
// {"product":"pencil","price":12} gives
//   <root type="object"><product type="string">pencil</product><price type="number">12</price></root>
#include <memory>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <string_view>

namespace recebimento::integrations {

class JsonToXmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The document of `Json`. JsonToXmlError for a text that is not one JSON value (what is
// wrong and where), or that nests deeper than the frame reads.
std::unique_ptr<pugi::xml_document> JsonToXML(std::string_view Json);

// The document as text, without declaration or indentation (for logs and tests).
std::string XmlText(const pugi::xml_node& node);

}  // namespace recebimento::integrations
