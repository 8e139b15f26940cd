// JSON to XML as the .NET JSON reader maps it (root "root", members as elements, list
// entries as "item", a "type" on every element), on the mapping's documented examples
// and on a Mercado Pago search reply.
#include <gtest/gtest.h>

#include "integrations/rest/json_to_xml.h"

namespace recebimento::integrations {
namespace {

std::string Xml(const std::string& json) { return XmlText(*JsonToXML(json)); }

TEST(JsonToXml, MapsObjectsListsAndEveryKindOfValue) {
  EXPECT_EQ(Xml(R"({"product":"pencil","price":12})"),
            R"(<root type="object"><product type="string">pencil</product><price type="number">12</price></root>)");
  EXPECT_EQ(Xml(R"(["a",1,true,null])"),
            R"(<root type="array"><item type="string">a</item><item type="number">1</item>)"
            R"(<item type="boolean">true</item><item type="null"/></root>)");
  EXPECT_EQ(Xml(R"({"a":{"b":[]},"c":{}})"),
            R"(<root type="object"><a type="object"><b type="array"/></a><c type="object"/></root>)");
  EXPECT_EQ(Xml(R"("text")"), R"(<root type="string">text</root>)");
  EXPECT_EQ(Xml(R"({"v":12.50,"e":1e2,"n":-0.0})"),
            R"(<root type="object"><v type="number">12.50</v><e type="number">1e2</e><n type="number">-0.0</n></root>)")
      << "numbers as written";
}

TEST(JsonToXml, KeysThatAreNoXmlNameBecomeNamedItemsAndTextIsEscaped) {
  EXPECT_EQ(Xml(R"({"first name":"Ana","1x":"<&>"})"),
            R"(<root type="object"><a:item xmlns:a="item" item="first name" type="string">Ana</a:item>)"
            R"(<a:item xmlns:a="item" item="1x" type="string">&lt;&amp;&gt;</a:item></root>)");
  EXPECT_EQ(Xml(R"({"ação":"ok"})"), R"(<root type="object"><ação type="string">ok</ação></root>)");
}

TEST(JsonToXml, TheSearchReplyIsWalkedByElementNames) {
  const auto doc =
      JsonToXML(R"({"response_code":200,"elements":[{"id":111,"payments":[{"id":501,"status":"approved"}],)"
                R"("order_status":"paid"}],"total":1})");
  const pugi::xml_node order = doc->child("root").child("elements").first_child();
  EXPECT_STREQ(order.name(), "item");
  EXPECT_STREQ(order.child("id").child_value(), "111");
  EXPECT_STREQ(order.child("payments").first_child().child("status").child_value(), "approved");
  EXPECT_STREQ(order.child("order_status").attribute("type").value(), "string");
}

TEST(JsonToXml, RefusesWhatIsNotOneJsonValueAndNestingPastTheLimit) {
  for (const char* bad : {"", "{", R"({"a":1} x)", R"([{"response_code":200},<xml/>])", "{'a':1}"})
    EXPECT_THROW(JsonToXML(bad), JsonToXmlError) << bad;
  EXPECT_THROW(JsonToXML(std::string(300, '[') + std::string(300, ']')), JsonToXmlError);
  EXPECT_NO_THROW(JsonToXML(std::string(200, '[') + std::string(200, ']')));
}

}  // namespace
}  // namespace recebimento::integrations
