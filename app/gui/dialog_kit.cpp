#include "dialog_kit.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QVBoxLayout>

namespace recebimento::gui {

namespace {
QPointer<QWidget>& Owner() {
  static QPointer<QWidget> owner;
  return owner;
}
}  // namespace

QFont TouchFont(int point_size, bool bold) {
  QFont f(QStringLiteral("DejaVu Sans"));
  f.setPointSize(point_size);
  f.setBold(bold);
  return f;
}

QPushButton* MakeTouchButton(const QString& caption, const QString& object_name, QWidget* parent) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(object_name);
  b->setFont(TouchFont(kTouchFontPt, true));
  b->setMinimumSize(kTouchButtonHeight, kTouchButtonHeight);
  b->setAutoDefault(false);
  // Touch panels have no focus ring to follow; typing stays in the line edits.
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

void SetDialogOwner(QWidget* owner) { Owner() = owner; }
QWidget* DialogOwner() { return Owner().data(); }

TouchDialog::TouchDialog(const QString& title, QWidget* parent) : QDialog(parent ? parent : DialogOwner()) {
  setWindowTitle(title);
  setModal(true);
  setFont(TouchFont());
  setStyleSheet(QStringLiteral(
      "QDialog { background: #f4f4f4; }"
      "QPushButton { background: #e2e6ea; border: 1px solid #8a9299; border-radius: 6px; padding: 6px 14px; }"
      "QPushButton:pressed { background: #b8c2cc; }"
      "QPushButton:checked { background: #2f6fae; color: white; }"
      "QPushButton:default { background: #2f6fae; color: white; }"
      "QPushButton:disabled { color: #9aa0a6; }"
      "QLineEdit, QPlainTextEdit, QComboBox { background: white; border: 1px solid #8a9299; padding: 6px; }"));
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(18, 14, 18, 14);
  outer->setSpacing(10);
  auto* heading = new QLabel(title, this);
  heading->setObjectName(QStringLiteral("lblTituloDialogo"));
  heading->setFont(TouchFont(kTouchFontPt + 3, true));
  heading->setWordWrap(true);
  outer->addWidget(heading);
  body_ = new QVBoxLayout();
  body_->setSpacing(8);
  outer->addLayout(body_, 1);
  error_ = new QLabel(this);
  error_->setObjectName(QStringLiteral("lblErro"));
  error_->setStyleSheet(QStringLiteral("color: #b00020; font-weight: bold;"));
  error_->setWordWrap(true);
  error_->hide();
  outer->addWidget(error_);
  answers_ = new QHBoxLayout();
  answers_->addStretch(1);
  outer->addLayout(answers_);
}

QPushButton* TouchDialog::AddAnswer(const QString& caption, const QString& object_name, int result, bool is_default) {
  QPushButton* b = MakeTouchButton(caption, object_name, this);
  b->setMinimumWidth(150);
  if (is_default) b->setDefault(true);
  connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
  answers_->addWidget(b);
  return b;
}

void TouchDialog::ShowError(const QString& text) {
  error_->setText(text);
  error_->setVisible(!text.isEmpty());
}

QString TouchDialog::ErrorText() const { return error_->isVisible() ? error_->text() : QString(); }

int TouchDialog::Run() {
  adjustSize();
  QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
  const QRect area =
      over ? over->geometry()
           : (QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry() : QRect(0, 0, 800, 600));
  move(area.center() - rect().center());
  return exec();
}

NumericPad::NumericPad(QLineEdit* target, bool decimal_comma, QWidget* parent) : QWidget(parent), target_(target) {
  auto* grid = new QGridLayout(this);
  grid->setSpacing(6);
  grid->setContentsMargins(0, 0, 0, 0);
  const char* rows[4][3] = {{"7", "8", "9"}, {"4", "5", "6"}, {"1", "2", "3"}, {",", "0", "<"}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 3; ++c) {
      const QString key = QString::fromLatin1(rows[r][c]);
      if (key == "," && !decimal_comma) continue;
      const QString caption = key == "<" ? QStringLiteral("Corrigir") : key;
      const QString name = key == ","   ? QStringLiteral("keyVirgula")
                           : key == "<" ? QStringLiteral("keyCorrigir")
                                        : QStringLiteral("key") + key;
      QPushButton* b = MakeTouchButton(caption, name, this);
      b->setMinimumWidth(key == "<" ? 110 : 80);
      connect(b, &QPushButton::clicked, this, [this, key] { Type(key); });
      grid->addWidget(b, r, c);
    }
  QPushButton* clear = MakeTouchButton(QStringLiteral("Limpar"), QStringLiteral("keyLimpar"), this);
  connect(clear, &QPushButton::clicked, this, [this] {
    if (target_) target_->clear();
  });
  grid->addWidget(clear, 0, 3, 2, 1);
}

void NumericPad::Type(const QString& key) {
  if (!target_) return;
  if (key == "<") {
    target_->backspace();
  } else {
    // Through insert so the edit's validator and length limit apply as to the keyboard.
    target_->insert(key);
  }
  target_->setFocus();
}

TextPad::TextPad(QLineEdit* target, QWidget* parent) : QWidget(parent), target_(target) {
  auto* grid = new QGridLayout(this);
  grid->setSpacing(4);
  grid->setContentsMargins(0, 0, 0, 0);
  const QStringList rows = {QStringLiteral("1234567890"), QStringLiteral("QWERTYUIOP"), QStringLiteral("ASDFGHJKLÇ"),
                            QStringLiteral("ZXCVBNM,.-"), QStringLiteral("@/&()")};
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < rows[r].size(); ++c) {
      const QString key = rows[r].mid(c, 1);
      QPushButton* b = MakeTouchButton(key, QStringLiteral("key") + key, this);
      b->setMinimumSize(52, 48);
      connect(b, &QPushButton::clicked, this, [this, key] { Type(key); });
      grid->addWidget(b, r, c);
    }
  QPushButton* space = MakeTouchButton(QStringLiteral("Espaço"), QStringLiteral("keyEspaco"), this);
  space->setMinimumHeight(48);
  connect(space, &QPushButton::clicked, this, [this] { Type(QStringLiteral(" ")); });
  grid->addWidget(space, 4, 5, 1, 3);
  QPushButton* back = MakeTouchButton(QStringLiteral("Corrigir"), QStringLiteral("keyCorrigir"), this);
  back->setMinimumHeight(48);
  connect(back, &QPushButton::clicked, this, [this] { Type(QString()); });
  grid->addWidget(back, 4, 8, 1, 2);
}

void TextPad::Type(const QString& text) {
  QLineEdit* into = target_;
  // The pad serves every line edit of its dialog: it types where the operator last was.
  if (auto* focused = qobject_cast<QLineEdit*>(QApplication::focusWidget()); focused && focused->window() == window())
    into = focused;
  if (!into) return;
  if (text.isEmpty()) {
    into->backspace();
  } else {
    const bool lower = into->property("lowerCase").toBool();
    into->insert(lower ? text.toLower() : text);
  }
  into->setFocus();
}

std::optional<long long> ParseCents(const QString& raw) {
  QString text = raw.trimmed();
  if (text.isEmpty()) return std::nullopt;
  static const QRegularExpression shape(QStringLiteral("^(\\d{1,3}(\\.\\d{3})+|\\d+)(,(\\d{0,2}))?$"));
  const auto m = shape.match(text);
  if (!m.hasMatch()) return std::nullopt;
  QString whole = m.captured(1);
  whole.remove(QLatin1Char('.'));
  if (whole.size() > 15) return std::nullopt;
  QString decimals = m.captured(4);
  while (decimals.size() < 2) decimals += QLatin1Char('0');
  return whole.toLongLong() * 100 + decimals.toLongLong();
}

QString FormatCents(long long cents) {
  const bool negative = cents < 0;
  const unsigned long long v =
      negative ? 0ULL - static_cast<unsigned long long>(cents) : static_cast<unsigned long long>(cents);
  QString whole = QString::number(v / 100);
  for (int i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, QLatin1Char('.'));
  return (negative ? QStringLiteral("-") : QString()) + whole + QLatin1Char(',') +
         QStringLiteral("%1").arg(v % 100, 2, 10, QLatin1Char('0'));
}

}  // namespace recebimento::gui
