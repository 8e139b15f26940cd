#include "screen_state.h"

#include "json_values.h"

namespace recebimento::cli {

using json = nlohmann::ordered_json;

json ScreenStateJson(const screen::TfrmRecebimento& frm) {
  json controls = json::object();
  for (const screen::Control* c : frm.Controls().All()) {
    json item = {{"caption", c->caption}, {"visible", c->visible}, {"enabled", c->enabled}};
    if (c->kind == "list") item["lines"] = c->lines;
    controls[c->name] = item;
  }
  json state = json::object();
  for (const auto& [name, value] : frm.StateFields()) state[name] = VariantToJson(value);
  return {{"controls", controls}, {"state", state}};
}

}  // namespace recebimento::cli
