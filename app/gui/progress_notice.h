#pragma once
// The host's wait notice (AtivaProcesso/DesativaProcesso): a panel over the screen that
// says what is going on while a long operation runs. It takes no input.
#include <string>

#include <QPointer>
#include <QWidget>

class QLabel;

namespace recebimento::gui {

class ProgressNotice {
 public:
  void Show(const std::string& form, const std::string& text);
  void Hide();
  bool Visible() const;
  QString Text() const;

 private:
  QPointer<QWidget> panel_;
  QPointer<QLabel> label_;
};

}  // namespace recebimento::gui
