#pragma once
// The cashier's window: full screen, the 800 x 600 payment screen centred in it when the
// display is larger. The operator cannot close it (Alt+F4, the window manager) while a
// sale is on it.
#include <QWidget>

namespace recebimento::gui {

class ScreenView;

class ScreenWindow : public QWidget {
  Q_OBJECT
 public:
  explicit ScreenWindow(ScreenView* view, QWidget* parent = nullptr);
  ScreenView& View() { return *view_; }
  // Whether a close request is honoured (the program allows it once the sale is over).
  void SetClosable(bool closable) { closable_ = closable; }
  bool Closable() const { return closable_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ScreenView* view_;
  bool closable_ = false;
};

}  // namespace recebimento::gui
