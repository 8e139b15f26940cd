#include "screen_window.h"

#include <QCloseEvent>
#include <QGridLayout>

#include "screen_view.h"

namespace recebimento::gui {

ScreenWindow::ScreenWindow(ScreenView* view, QWidget* parent) : QWidget(parent), view_(view) {
  setObjectName(QStringLiteral("janelaRecebimento"));
  setWindowTitle(QStringLiteral("Recebimento"));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
  setPalette(pal);
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  view_->setParent(this);
  layout->addWidget(view_, 0, 0, Qt::AlignCenter);
  setMinimumSize(view_->size());
}

void ScreenWindow::closeEvent(QCloseEvent* event) {
  if (closable_) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace recebimento::gui
