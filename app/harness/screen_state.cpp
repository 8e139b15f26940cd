#include "screen_state.h"

#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

json ScreenStateJson(const screen::TfrmRecebimento& frm) {
  // Names are unique on the screen: each member is appended, not looked up first (a
  // lookup in an ordered object walks every member before it).
  json controls = json::object();
  auto& members = controls.get_ref<json::object_t&>();
  const auto all = frm.Controls().All();
  members.reserve(all.size());
  for (const screen::Control* c : all) {
    // Built member by member: an initializer list would copy every value once more.
    json item = json::object();
    auto& m = item.get_ref<json::object_t&>();
    m.emplace_back("caption", c->caption);
    m.emplace_back("visible", c->visible);
    m.emplace_back("enabled", c->enabled);
    if (c->kind == "list") m.emplace_back("lines", c->lines);
    // Appearance only where it was given, so the common case stays short.
    if (c->color != screen::Control::kDefaultColor) m.emplace_back("color", c->color);
    if (c->font_color != screen::Control::kDefaultColor) m.emplace_back("fontColor", c->font_color);
    if (c->font_size != 0) m.emplace_back("fontSize", c->font_size);
    if (!c->glyph.empty()) m.emplace_back("glyph", c->glyph);
    if (c->tag != 0) m.emplace_back("tag", c->tag);
    members.emplace_back(c->name, std::move(item));
  }
  json state = json::object();
  auto& fields = state.get_ref<json::object_t&>();
  for (const auto& [name, value] : frm.StateFields()) fields.emplace_back(name, VariantToJson(value));
  json out = json::object();
  out.get_ref<json::object_t&>().emplace_back("controls", std::move(controls));
  out.get_ref<json::object_t&>().emplace_back("state", std::move(state));
  return out;
}

}  // namespace recebimento::harness
