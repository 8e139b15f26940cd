#pragma once
// What every dialog of the touch screen shares: large touch targets, fonts readable at
// arm's length, Portuguese captions, an inline error line, and the on-screen pads.
#include <optional>
#include <string>

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QHBoxLayout;

namespace recebimento::gui {

constexpr int kTouchButtonHeight = 60;
constexpr int kTouchFontPt = 15;

inline QString Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string S(const QString& text) { return text.toUtf8().toStdString(); }

QFont TouchFont(int point_size = kTouchFontPt, bool bold = false);
QPushButton* MakeTouchButton(const QString& caption, const QString& object_name, QWidget* parent);

// The window dialogs open over (the screen's window when there is one).
void SetDialogOwner(QWidget* owner);
QWidget* DialogOwner();

class TouchDialog : public QDialog {
  Q_OBJECT
 public:
  TouchDialog(const QString& title, QWidget* parent = nullptr);
  QVBoxLayout* Body() { return body_; }
  // The row of answer buttons at the bottom; the first default button answers Enter.
  QPushButton* AddAnswer(const QString& caption, const QString& object_name, int result, bool is_default = false);
  // Shows a problem with what was typed; the dialog stays open.
  void ShowError(const QString& text);
  QString ErrorText() const;
  // Modal, centred over the screen's window.
  int Run();

 private:
  QVBoxLayout* body_;
  QHBoxLayout* answers_;
  QLabel* error_;
};

// Digits, the decimal comma, "Corrigir" and "Limpar" typing into a line edit, for
// fingers. Buttons are named key0..key9, keyVirgula, keyCorrigir, keyLimpar.
class NumericPad : public QWidget {
  Q_OBJECT
 public:
  NumericPad(QLineEdit* target, bool decimal_comma, QWidget* parent = nullptr);
  void SetTarget(QLineEdit* target) { target_ = target; }

 private:
  void Type(const QString& text);
  QLineEdit* target_;
};

// Letters (with Ç), digits and common signs, space and correction, typing into the line
// edit that has the focus in its dialog (or the one given). Buttons named key<char>,
// keyEspaco, keyCorrigir.
class TextPad : public QWidget {
  Q_OBJECT
 public:
  explicit TextPad(QLineEdit* target, QWidget* parent = nullptr);
  void SetTarget(QLineEdit* target) { target_ = target; }

 private:
  void Type(const QString& text);
  QLineEdit* target_;
};

// An amount typed the Brazilian way ("1.234,56", "12,3", "7") in cents; nothing when it
// is not an amount or has more than two decimals.
std::optional<long long> ParseCents(const QString& text);
QString FormatCents(long long cents);  // "1.234,56"

}  // namespace recebimento::gui
