#include "progress_notice.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "base/text.h"
#include "dialog_kit.h"

namespace recebimento::gui {

void ProgressNotice::Show(const std::string& form, const std::string& text) {
  if (!panel_) {
    QWidget* owner = DialogOwner();
    panel_ = new QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    panel_->setObjectName(QStringLiteral("panAguarde"));
    panel_->setAttribute(Qt::WA_ShowWithoutActivating);
    panel_->setStyleSheet(QStringLiteral("#panAguarde { background: #fff8d6; border: 2px solid #8a6d00; }"));
    auto* layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(24, 18, 24, 18);
    label_ = new QLabel(panel_);
    label_->setObjectName(QStringLiteral("lblAguarde"));
    label_->setFont(TouchFont(kTouchFontPt + 3, true));
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    label_->setMinimumWidth(420);
    layout->addWidget(label_);
  }
  const std::string shown = base::Trim(text).empty() ? std::string("Aguarde...") : text;
  label_->setText(Q(shown));
  panel_->setWindowTitle(Q(form));
  panel_->adjustSize();
  QWidget* over = DialogOwner();
  const QRect area =
      over ? over->window()->geometry()
           : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 800, 600));
  panel_->move(area.center() - panel_->rect().center());
  panel_->show();
  panel_->raise();
  // The long operation that follows keeps the loop busy: paint the notice now.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void ProgressNotice::Hide() {
  if (panel_) panel_->hide();
}

bool ProgressNotice::Visible() const { return panel_ && panel_->isVisible(); }

QString ProgressNotice::Text() const { return label_ ? label_->text() : QString(); }

}  // namespace recebimento::gui
