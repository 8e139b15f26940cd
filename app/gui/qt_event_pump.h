#pragma once
// The screen's waits on Qt's event loop: every wait is a nested QEventLoop that ends when
// its condition holds, and the screen's timers (timCount, timClubPetro) run from a Qt
// timer on real time. Operator input arrives through Deliver so that an exception raised
// by a handler ends the waits and reaches whoever called the screen, as it would in a
// host without a GUI.
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <QObject>
#include <QTimer>

#include "base/clock.h"
#include "base/event_pump.h"

class QEventLoop;

namespace recebimento::gui {

// Raised by the waits when the window is going away while the screen still waits.
class WaitAborted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class QtEventPump : public QObject, public base::EventPump {
  Q_OBJECT
 public:
  // Needs a QCoreApplication. The clock is the host's (real time in production).
  explicit QtEventPump(base::Clock& clock, QObject* parent = nullptr);
  ~QtEventPump() override;

  void ProcessMessages() override;
  void RunUntil(const std::function<bool()>& done, const std::string& what) override;
  base::Clock& GetClock() override { return clock_; }

  // Runs an operator action (a click, a key) coming from a Qt event. Qt must never see a
  // C++ exception, so one raised here is kept and raised again by the innermost wait.
  void Deliver(const std::function<void()>& action);

  // Called before each wait, after each delivered action and after the timers fired:
  // the view repaints from the controls' registry.
  void SetRefresh(std::function<void()> refresh) { refresh_ = std::move(refresh); }
  void Refresh();

  // Ends every wait: each raises WaitAborted with the reason. Used when the window closes
  // for good, so a screen never keeps waiting on a loop nobody drives.
  void Abort(const std::string& reason);
  void ClearAbort() { aborted_.reset(); }

  // Number of waits running now (nested loops).
  int Depth() const { return static_cast<int>(loops_.size()); }
  // True when the innermost thing running is a wait for the operator, not a handler
  // that lets pending messages through.
  bool Waiting() const { return !frames_.empty() && frames_.back() == Frame::Wait; }
  // How often the screen's timers are polled, in milliseconds.
  static constexpr int kTimerPollMs = 50;

 private:
  void PollTimers();
  void RaisePending();
  void WakeWaits();

  base::Clock& clock_;
  QTimer timer_poll_;
  enum class Frame { Wait, Busy };  // a wait, or a handler / message pass above it
  std::vector<QEventLoop*> loops_;
  std::vector<Frame> frames_;
  std::exception_ptr pending_;
  std::optional<std::string> aborted_;
  std::function<void()> refresh_;
  bool firing_ = false;
};

}  // namespace recebimento::gui
