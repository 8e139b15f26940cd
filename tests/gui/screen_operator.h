#pragma once
// A cashier at the window: each step waits until the screen waits for the operator (or
// until the named dialog is open over it) and then acts with a real click or key, as a
// person would. A step that cannot be taken within a few seconds fails the test and ends
// the screen's waits, so a sale on the window never hangs a test.
#include <functional>
#include <string>
#include <vector>

#include <QPointer>
#include <QTimer>
#include <Qt>

class QWidget;

namespace recebimento::gui {
class QtEventPump;
class ScreenView;
class ScreenWindow;
}  // namespace recebimento::gui

namespace recebimento::testing {

class ScreenOperator {
 public:
  // A finger on the middle of the control: whatever lies on top there gets the touch, so
  // a control hidden under another one cannot be pressed.
  ScreenOperator& Touch(const std::string& control);
  // Keys of the physical keyboard, one step per key (a key may start a wait of its own).
  ScreenOperator& Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  ScreenOperator& Keys(const std::string& ascii);
  // Looks at the screen while it waits, without touching it.
  ScreenOperator& Look(std::function<void(gui::ScreenView&)> look);
  // Acts on the dialog of that object name once it is open.
  ScreenOperator& InDialog(const std::string& object_name, std::function<void(QWidget&)> act);
  // Waits, without touching the screen, until it waits with `condition` true: the screen
  // also waits while a device works (the card terminal), and a look may be meant for
  // the moment after.
  ScreenOperator& Until(const std::string& what, std::function<bool(gui::ScreenView&)> condition);

  // For GuiSaleOptions::on_window_shown: starts taking the steps.
  std::function<void(gui::ScreenWindow&, gui::QtEventPump&)> Start();
  size_t StepsLeft() const { return steps_.size() - next_; }

  // How long a step may wait for the screen (or its dialog) before the operator gives up.
  static constexpr int kPatienceMs = 6000;

 private:
  struct Step {
    Step(std::string what_, std::string dialog_, std::function<void(QWidget&)> act_,
         std::function<bool(QWidget&)> ready_ = {})
        : what(std::move(what_)), dialog(std::move(dialog_)), act(std::move(act_)), ready(std::move(ready_)) {}
    std::string what;
    std::string dialog;  // empty: a step on the screen
    std::function<void(QWidget&)> act;
    std::function<bool(QWidget&)> ready;  // empty: ready as soon as the screen waits
  };
  ScreenOperator& Add(Step step);
  void Poll();
  void GiveUp(const std::string& why);

  std::vector<Step> steps_;
  size_t next_ = 0;
  int waited_ms_ = 0;
  bool scheduled_ = false;
  bool gave_up_ = false;
  QPointer<QWidget> window_;  // the sale's window; gone once the sale returns
  gui::QtEventPump* pump_ = nullptr;
  QTimer poll_;
};

// The text the screen shows in a control (label or button caption), for looks.
std::string Shown(gui::ScreenView& view, const std::string& control);
bool ShownAndEnabled(gui::ScreenView& view, const std::string& control);
// The lines a list control shows.
std::vector<std::string> ListShown(gui::ScreenView& view, const std::string& control);

}  // namespace recebimento::testing
