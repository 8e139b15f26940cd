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

void WhenDialogOpens(std::function<void(QWidget& dialog)> act) {
  auto tries = std::make_shared<int>(0);
  auto poll = std::make_shared<std::function<void()>>();
  *poll = [act, tries, poll] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog && dialog->isVisible()) {
      act(*dialog);
      return;
    }
    if (++*tries > 300) {
      ADD_FAILURE() << "no dialog opened";
      return;
    }
    QTimer::singleShot(10, *poll);
  };
  QTimer::singleShot(0, *poll);
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
