#include "screen/controls.h"

#include <stdexcept>

namespace recebimento::screen {

Control& ControlRegistry::Add(const std::string& name, const std::string& kind, const std::string& caption) {
  if (by_name_.count(name)) throw std::logic_error("control '" + name + "' exists already");
  auto c = std::make_unique<Control>();
  c->name = name;
  c->kind = kind;
  c->caption = caption;
  Control& ref = *c;
  by_name_[name] = &ref;
  controls_.push_back(std::move(c));
  return ref;
}

Control& ControlRegistry::Add(const std::string& name, const std::string& kind, const std::string& caption, int left,
                              int top, int width, int height, const std::string& parent) {
  Control& c = Add(name, kind, caption);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.parent = parent;
  return c;
}

Control* ControlRegistry::FindComponent(const std::string& name) {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

const Control* ControlRegistry::FindComponent(const std::string& name) const {
  auto it = by_name_.find(name);
  return it == by_name_.end() ? nullptr : it->second;
}

bool ControlRegistry::Click(const std::string& name) {
  Control* c = FindComponent(name);
  if (!c) throw std::out_of_range("unknown control '" + name + "'");
  if (!c->on_click) return false;
  // The operator cannot reach a control that is hidden or disabled, nor one inside a
  // hidden or disabled panel.
  int depth = 0;
  for (const Control* p = c; p; p = p->parent.empty() ? nullptr : FindComponent(p->parent)) {
    if (!p->visible || !p->enabled || ++depth > 32) return false;
  }
  // The handler may rebuild controls; keep our own copy of it while it runs.
  auto handler = c->on_click;
  handler();
  return true;
}

std::vector<const Control*> ControlRegistry::All() const {
  std::vector<const Control*> out;
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

}  // namespace recebimento::screen
