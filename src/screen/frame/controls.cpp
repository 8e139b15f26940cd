#include "screen/frame/controls.h"

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

Control& ControlRegistry::Require(const std::string& name) {
  Control* c = FindComponent(name);
  if (!c) throw std::logic_error("the payment screen has no control named " + name);
  return *c;
}

void ControlRegistry::SetEnabled(const std::string& name, bool enabled) {
  if (Control* c = FindComponent(name)) c->enabled = enabled;
}

void ControlRegistry::SetVisible(const std::string& name, bool visible) {
  if (Control* c = FindComponent(name)) c->visible = visible;
}

void ControlRegistry::SetCaption(const std::string& name, const std::string& caption) {
  if (Control* c = FindComponent(name)) c->caption = caption;
}

bool ControlRegistry::IsEnabled(const std::string& name) const {
  const Control* c = FindComponent(name);
  return c && c->enabled;
}

bool ControlRegistry::IsVisible(const std::string& name) const {
  const Control* c = FindComponent(name);
  return c && c->visible;
}

std::string ControlRegistry::CaptionOf(const std::string& name) const {
  const Control* c = FindComponent(name);
  return c ? c->caption : std::string();
}

void ControlRegistry::Press(const std::string& name) {
  Control* c = FindComponent(name);
  if (!c || !c->on_click) return;
  // The action may rebind the button while it runs; keep our own copy of it.
  auto action = c->on_click;
  action();
}

void ControlRegistry::Bind(const std::string& name, std::function<void()> action) {
  if (Control* c = FindComponent(name)) c->on_click = std::move(action);
}

PressCheck ControlRegistry::CheckPress(const std::string& name) const {
  const Control* c = FindComponent(name);
  if (!c) return {PressCheck::kUnknown, "there is no control " + name};
  // The operator cannot reach a control that is hidden or disabled, nor one inside a
  // hidden or disabled panel.
  const Control* disabled = nullptr;
  int depth = 0;
  for (const Control* p = c; p; p = p->parent.empty() ? nullptr : FindComponent(p->parent)) {
    if (++depth > 32) return {PressCheck::kHidden, name + " sits in panels that hold each other"};
    if (!p->visible)
      return {PressCheck::kHidden, p == c ? name + " is hidden" : name + " is inside the hidden panel " + p->name};
    if (!p->enabled && !disabled) disabled = p;
  }
  if (!c->on_click) return {PressCheck::kNoAction, name + " does nothing when pressed"};
  if (disabled)
    return {PressCheck::kDisabled,
            disabled == c ? name + " is disabled" : name + " is inside the disabled panel " + disabled->name};
  return {};
}

bool ControlRegistry::Click(const std::string& name) {
  if (!FindComponent(name)) throw std::out_of_range("unknown control '" + name + "'");
  if (CheckPress(name).outcome != PressCheck::kReaches) return false;
  // The handler may rebuild controls; keep our own copy of it while it runs.
  auto handler = FindComponent(name)->on_click;
  handler();
  return true;
}

std::vector<const Control*> ControlRegistry::All() const {
  std::vector<const Control*> out;
  for (const auto& c : controls_) out.push_back(c.get());
  return out;
}

}  // namespace recebimento::screen
