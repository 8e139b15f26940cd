#include "gui_test_support.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace recebimento::testing {

void RecordingScreen::KeyDown(int key, bool shift, bool alt, bool ctrl) {
  keys.push_back({key, shift, alt, ctrl});
  if (on_key) on_key(key);
}

namespace {

// Looks for the modal dialog every 10 ms, up to 3 s. Each try schedules the next with its
// own copy of the action, so nothing keeps itself alive once the dialog is found.
void PollForDialog(const std::function<void(QWidget& dialog)>& act, int tries) {
  QWidget* dialog = QApplication::activeModalWidget();
  if (dialog && dialog->isVisible()) {
    act(*dialog);
    return;
  }
  if (tries > 300) {
    ADD_FAILURE() << "no dialog opened";
    return;
  }
  QTimer::singleShot(10, [act, tries] { PollForDialog(act, tries + 1); });
}

}  // namespace

void WhenDialogOpens(std::function<void(QWidget& dialog)> act) {
  QTimer::singleShot(0, [act = std::move(act)] { PollForDialog(act, 0); });
}

void Press(QWidget& dialog, std::initializer_list<const char*> names) {
  for (const char* name : names) {
    auto* b = dialog.findChild<QPushButton*>(QString::fromUtf8(name));
    if (!b) {
      ADD_FAILURE() << "no button " << name << " in " << dialog.objectName().toStdString();
      continue;
    }
    QTest::mouseClick(b, Qt::LeftButton);
  }
}

}  // namespace recebimento::testing
