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
    json item = {{"caption", c->caption}, {"visible", c->visible}, {"enabled", c->enabled}};
    if (c->kind == "list") item["lines"] = c->lines;
    // Appearance only where it was given, so the common case stays short.
    if (c->color != screen::Control::kDefaultColor) item["color"] = c->color;
    if (c->font_color != screen::Control::kDefaultColor) item["fontColor"] = c->font_color;
    if (c->font_size != 0) item["fontSize"] = c->font_size;
    if (!c->glyph.empty()) item["glyph"] = c->glyph;
    if (c->tag != 0) item["tag"] = c->tag;
    members.emplace_back(c->name, std::move(item));
  }
  json state = json::object();
  auto& fields = state.get_ref<json::object_t&>();
  for (const auto& [name, value] : frm.StateFields()) fields.emplace_back(name, VariantToJson(value));
  return {{"controls", controls}, {"state", state}};
}

}  // namespace recebimento::harness
