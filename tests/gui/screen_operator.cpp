#include "screen_operator.h"

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QTest>

#include "dialog_kit.h"
#include "qt_event_pump.h"
#include "screen_view.h"
#include "screen_window.h"

namespace recebimento::testing {

namespace {

constexpr int kPollMs = 20;

gui::ScreenView& ViewOf(QWidget& window) { return static_cast<gui::ScreenWindow&>(window).View(); }

// What a modal dialog says, for a failure message.
std::string Describe(QWidget* dialog) {
  if (!dialog) return "no dialog";
  std::string text = gui::S(dialog->objectName()) + " \"" + gui::S(dialog->windowTitle()) + "\"";
  if (auto* label = dialog->findChild<QLabel*>(QStringLiteral("lblTexto"))) text += ": " + gui::S(label->text());
  return text;
}

}  // namespace

ScreenOperator& ScreenOperator::Add(Step step) {
  steps_.push_back(std::move(step));
  return *this;
}

ScreenOperator& ScreenOperator::Touch(const std::string& control) {
  return Add({"touch " + control, "", [this, control](QWidget& window) {
                gui::ScreenView& view = ViewOf(window);
                QWidget* target = view.WidgetFor(control);
                if (!target || !target->isVisibleTo(&view) || !target->isEnabled()) {
                  GiveUp(control + (target ? " is not there to touch (hidden or disabled)" : " does not exist"));
                  return;
                }
                const QPoint centre = target->mapTo(&view, target->rect().center());
                QWidget* hit = view.childAt(centre);
                if (hit != target && !target->isAncestorOf(hit)) {
                  GiveUp(control + " cannot be touched: " + (hit ? gui::S(hit->objectName()) : "nothing") +
                         " lies over its middle");
                  return;
                }
                QTest::mouseClick(hit, Qt::LeftButton, Qt::NoModifier, hit->mapFrom(&view, centre));
              }});
}

ScreenOperator& ScreenOperator::Key(Qt::Key key, Qt::KeyboardModifiers modifiers) {
  return Add({"key " + QKeySequence(key | modifiers).toString().toStdString(), "",
              [key, modifiers](QWidget& window) { QTest::keyClick(&window, key, modifiers); }});
}

ScreenOperator& ScreenOperator::Keys(const std::string& ascii) {
  for (char ch : ascii)
    Add({std::string("key '") + ch + "'", "", [ch](QWidget& window) { QTest::keyClick(&window, ch); }});
  return *this;
}

ScreenOperator& ScreenOperator::Look(std::function<void(gui::ScreenView&)> look) {
  return Add({"look at the screen", "", [look = std::move(look)](QWidget& window) { look(ViewOf(window)); }});
}

ScreenOperator& ScreenOperator::InDialog(const std::string& object_name, std::function<void(QWidget&)> act) {
  return Add({"answer " + object_name, object_name, std::move(act)});
}

ScreenOperator& ScreenOperator::Until(const std::string& what, std::function<bool(gui::ScreenView&)> condition) {
  return Add({"wait until " + what, "", [](QWidget&) {},
              [condition = std::move(condition)](QWidget& window) { return condition(ViewOf(window)); }});
}

std::function<void(gui::ScreenWindow&, gui::QtEventPump&)> ScreenOperator::Start() {
  return [this](gui::ScreenWindow& window, gui::QtEventPump& pump) {
    window_ = &window;
    pump_ = &pump;
    poll_.setInterval(kPollMs);
    QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] { Poll(); });
    poll_.start();
  };
}

void ScreenOperator::GiveUp(const std::string& why) {
  if (gave_up_) return;
  gave_up_ = true;
  ADD_FAILURE() << "the operator gave up at step " << next_ << ": " << why;
  // A dialog left open would keep its loop running under the screen's waits.
  if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
  if (window_ && pump_) pump_->Abort("the operator gave up: " + why);
}

void ScreenOperator::Poll() {
  if (!window_) {
    poll_.stop();  // the sale is over
    return;
  }
  if (scheduled_ || gave_up_) return;
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal == window_.data()) modal = nullptr;
  if (next_ >= steps_.size()) {
    // Nothing left to do while the screen still waits: a step is missing in the test.
    if (modal || pump_->Waiting()) {
      waited_ms_ += kPollMs;
      if (waited_ms_ > kPatienceMs) GiveUp("no steps left while the screen waits (" + Describe(modal) + ")");
    }
    return;
  }
  const Step& step = steps_[next_];
  const bool ready = step.dialog.empty() ? !modal && pump_->Waiting() && (!step.ready || step.ready(*window_))
                                         : modal && modal->isVisible() && gui::S(modal->objectName()) == step.dialog;
  if (!ready) {
    waited_ms_ += kPollMs;
    if (waited_ms_ > kPatienceMs) GiveUp("cannot " + step.what + " (" + Describe(modal) + ")");
    return;
  }
  waited_ms_ = 0;
  const size_t index = next_++;
  // Not from this timer's slot: an action that makes the screen wait again runs a nested
  // loop, and this timer must go on polling inside it.
  scheduled_ = true;
  QTimer::singleShot(0, &poll_, [this, index] {
    scheduled_ = false;
    if (!window_ || gave_up_) return;
    QWidget* target = steps_[index].dialog.empty() ? window_.data() : QApplication::activeModalWidget();
    if (!target) {
      GiveUp("the dialog for " + steps_[index].what + " closed by itself");
      return;
    }
    steps_[index].act(*target);
  });
}

std::string Shown(gui::ScreenView& view, const std::string& control) {
  QWidget* w = view.WidgetFor(control);
  if (auto* label = qobject_cast<QLabel*>(w)) return gui::S(label->text());
  if (auto* button = qobject_cast<QAbstractButton*>(w)) return gui::S(button->text());
  ADD_FAILURE() << control << " shows no text";
  return {};
}

bool ShownAndEnabled(gui::ScreenView& view, const std::string& control) {
  QWidget* w = view.WidgetFor(control);
  return w && w->isVisibleTo(&view) && w->isEnabled();
}

std::vector<std::string> ListShown(gui::ScreenView& view, const std::string& control) {
  std::vector<std::string> lines;
  auto* list = qobject_cast<QListWidget*>(view.WidgetFor(control));
  if (!list) {
    ADD_FAILURE() << control << " is not a list";
    return lines;
  }
  for (int i = 0; i < list->count(); ++i) lines.push_back(gui::S(list->item(i)->text()));
  return lines;
}

}  // namespace recebimento::testing
