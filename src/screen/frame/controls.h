#pragma once
// The screen's named controls: buttons, labels, panels, lists and images with the
// properties handlers use. The GUI renders this registry and forwards clicks to it.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace recebimento::screen {

// Pictures that ship with the program rather than with the host: a glyph of this form
// names one, and the front-end draws it.
inline constexpr const char* kBuiltinArrowRight = "builtin:seta-direita";
inline constexpr const char* kBuiltinArrowLeft = "builtin:seta-esquerda";

struct Control {
  std::string name;
  std::string kind;  // "button", "label", "panel", "list", "image"
  std::string caption;
  bool visible = true;
  bool enabled = true;
  int left = 0, top = 0, width = 0, height = 0;
  int tag = 0;
  std::vector<std::string> lines;  // lists only
  std::function<void()> on_click;

  // Windows colours (0x00BBGGRR). kDefaultColor leaves the GUI's own colour.
  static constexpr int64_t kDefaultColor = -1;
  int64_t color = kDefaultColor;       // background (brush) of buttons, panels and labels
  int64_t font_color = kDefaultColor;  // caption colour
  int font_size = 0;                   // caption size in points; 0: the GUI's default
  std::string glyph;                   // image file of a button or the picture of an image
  bool stretch = false;                // images: the picture fills the control
  std::string parent;                  // name of the panel that holds it; empty: the screen
};

// Whether an operator's press on a control would reach its action, and if not, why.
struct PressCheck {
  enum Outcome { kReaches, kUnknown, kHidden, kNoAction, kDisabled };
  Outcome outcome = kReaches;
  std::string why;  // empty when the press reaches the action
};

class ControlRegistry {
 public:
  // Adds a control (std::logic_error when the name is taken).
  Control& Add(const std::string& name, const std::string& kind, const std::string& caption = "");
  // Adds a control with its place on the screen (or in its parent panel).
  Control& Add(const std::string& name, const std::string& kind, const std::string& caption, int left, int top,
               int width, int height, const std::string& parent = "");
  // The control of that name, or nullptr: for a control the screen may not have.
  Control* FindComponent(const std::string& name);
  const Control* FindComponent(const std::string& name) const;
  // The control of that name, for one the screen always has; std::logic_error naming it
  // when there is none.
  Control& Require(const std::string& name);

  // Setting and reading controls the screen may not have: a name the registry does not
  // hold is left alone and reads as hidden, disabled and without a caption.
  void SetEnabled(const std::string& name, bool enabled);
  void SetVisible(const std::string& name, bool visible);
  void SetCaption(const std::string& name, const std::string& caption);
  bool IsEnabled(const std::string& name) const;
  bool IsVisible(const std::string& name) const;
  std::string CaptionOf(const std::string& name) const;
  // Runs a button's action as its click would, whatever its state (the caller checked
  // what it needs); nothing when it has no action.
  void Press(const std::string& name);
  // Binds the action of a control the screen may not have.
  void Bind(const std::string& name, std::function<void()> action);
  // Presses a button as the operator would: nothing happens when it, or a panel that
  // holds it, is hidden or disabled. std::out_of_range naming the control when there is none of that name.
  bool Click(const std::string& name);
  // What a press on the control would meet: a hidden control or panel outweighs a
  // disabled one, since the operator cannot even see it.
  PressCheck CheckPress(const std::string& name) const;
  // In the order they were added.
  std::vector<const Control*> All() const;

 private:
  std::vector<std::unique_ptr<Control>> controls_;
  std::map<std::string, Control*> by_name_;
};

}  // namespace recebimento::screen
