#pragma once
// The 800 x 600 payment screen drawn from the screen's control registry. Every sync
// brings the widgets in line with the registry (new controls appear, changed ones are
// redrawn, removed ones go); clicks and the physical keyboard go to the screen through
// the event pump, keys before any control.
#include <map>
#include <memory>
#include <string>

#include <QPointer>
#include <QWidget>

#include "control_widgets.h"
#include "key_codes.h"
#include "screen/frame/controls.h"

class QLabel;

namespace recebimento::gui {

class QtEventPump;

// What the view shows and where its input goes.
class ScreenTarget {
 public:
  virtual ~ScreenTarget() = default;
  // The controls to draw; nullptr while no screen is open.
  virtual screen::ControlRegistry* Registry() = 0;
  virtual void KeyDown(int key, bool shift, bool alt, bool ctrl) = 0;
  virtual void KeyPress(char32_t ch) = 0;
  // True while the screen still takes input (it has not closed).
  virtual bool Accepting() = 0;
  virtual void Click(const std::string& name);
};

// The payment screen the entry has open now (the package's frmRecebimento).
class OpenScreenTarget : public ScreenTarget {
 public:
  screen::ControlRegistry* Registry() override;
  void KeyDown(int key, bool shift, bool alt, bool ctrl) override;
  void KeyPress(char32_t ch) override;
  bool Accepting() override;
};

class ScreenView : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;

  // `pump` may be null (input then runs directly); with one, the view repaints each
  // time the pump refreshes.
  ScreenView(ScreenTarget& target, QtEventPump* pump, QWidget* parent = nullptr);
  ~ScreenView() override;

  // Brings the widgets in line with the registry.
  void Sync();
  // The widget drawn for a control, or nullptr.
  QWidget* WidgetFor(const std::string& name) const;
  // Sends a key as the physical keyboard does (used by the key preview).
  void DeliverKey(const ScreenKey& key);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Drawn {
    QPointer<QWidget> widget;
    ControlLook look;
    bool fresh = true;
  };
  QWidget* Create(const std::string& name, const std::string& kind);
  QWidget* ParentFor(const screen::ControlRegistry& registry, const screen::Control& c);
  void Apply(Drawn& drawn, const screen::ControlRegistry& registry, const screen::Control& c);
  void Forget(const std::string& name);
  void ShowIdle(bool idle);
  void Run(const std::function<void()>& action);

  ScreenTarget& target_;
  QtEventPump* pump_;
  std::map<std::string, Drawn> drawn_;
  QLabel* idle_;
  bool syncing_ = false;
};

}  // namespace recebimento::gui
