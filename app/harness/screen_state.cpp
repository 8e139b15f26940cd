#include "screen_state.h"

#include "json_values.h"

namespace recebimento::harness {

using json = nlohmann::ordered_json;

json ScreenStateJson(const screen::TfrmRecebimento& frm) {
  json controls = json::object();
  for (const screen::Control* c : frm.Controls().All()) {
    json item = {{"caption", c->caption}, {"visible", c->visible}, {"enabled", c->enabled}};
    if (c->kind == "list") item["lines"] = c->lines;
    // Appearance only where it was given, so the common case stays short.
    if (c->color != screen::Control::kDefaultColor) item["color"] = c->color;
    if (c->font_color != screen::Control::kDefaultColor) item["fontColor"] = c->font_color;
    if (c->font_size != 0) item["fontSize"] = c->font_size;
    if (!c->glyph.empty()) item["glyph"] = c->glyph;
    if (c->tag != 0) item["tag"] = c->tag;
    controls[c->name] = item;
  }
  json state = json::object();
  for (const auto& [name, value] : frm.StateFields()) state[name] = VariantToJson(value);
  return {{"controls", controls}, {"state", state}};
}

}  // namespace recebimento::harness
