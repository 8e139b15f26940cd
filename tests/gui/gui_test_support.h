#pragma once
// Helpers of the touch screen's tests: a screen stand-in that records what reaches it,
// and answering a dialog from a test.
#include <functional>
#include <string>
#include <vector>

#include <QString>

#include "screen/frame/controls.h"
#include "screen_view.h"

class QWidget;

namespace recebimento::testing {

class RecordingScreen : public gui::ScreenTarget {
 public:
  struct Key {
    int code;
    bool shift, alt, ctrl;
  };
  screen::ControlRegistry* Registry() override { return open ? &controls : nullptr; }
  void KeyDown(int key, bool shift, bool alt, bool ctrl) override;
  void KeyPress(char32_t ch) override { chars.push_back(ch); }
  bool Accepting() override { return open && accepting; }

  screen::ControlRegistry controls;
  bool open = true;
  bool accepting = true;
  std::vector<Key> keys;
  std::u32string chars;
  std::function<void(int)> on_key;  // runs inside KeyDown
};

// Runs `act` on the next modal dialog as soon as it opens (then returns). Fails the test
// if none opens within a few seconds; the dialog is then closed so the test cannot hang.
void WhenDialogOpens(std::function<void(QWidget& dialog)> act);

// The child named `name` of the dialog, or a failed assertion.
template <class W>
W* Child(QWidget& dialog, const char* name);

// Clicks the named buttons of the dialog, in order.
void Press(QWidget& dialog, std::initializer_list<const char*> names);

}  // namespace recebimento::testing

#include <gtest/gtest.h>
#include <QWidget>

template <class W>
W* recebimento::testing::Child(QWidget& dialog, const char* name) {
  W* w = dialog.findChild<W*>(QString::fromUtf8(name));
  EXPECT_NE(w, nullptr) << "no " << name << " in " << dialog.objectName().toStdString();
  return w;
}
