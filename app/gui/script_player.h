#pragma once
// Plays operator actions on the window: one each time the screen waits for the operator,
// as a person would. Runs out while the screen still waits: the waits end with a message.
#include <functional>

#include <QTimer>

namespace recebimento::gui {

class QtEventPump;

class ScriptPlayer {
 public:
  ScriptPlayer(QtEventPump& pump, std::function<bool()> has_action, std::function<void()> run_next,
               std::function<bool()> screen_accepting);
  static constexpr int kPollMs = 40;

 private:
  void Step();

  QtEventPump& pump_;
  std::function<bool()> has_action_;
  std::function<void()> run_next_;
  std::function<bool()> accepting_;
  QTimer timer_;
  bool scheduled_ = false;
};

}  // namespace recebimento::gui
