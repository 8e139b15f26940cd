#include "script_player.h"

#include "qt_event_pump.h"

namespace recebimento::gui {

ScriptPlayer::ScriptPlayer(QtEventPump& pump, std::function<bool()> has_action, std::function<void()> run_next,
                           std::function<bool()> screen_accepting)
    : pump_(pump),
      has_action_(std::move(has_action)),
      run_next_(std::move(run_next)),
      accepting_(std::move(screen_accepting)) {
  timer_.setInterval(kPollMs);
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Step(); });
  timer_.start();
}

void ScriptPlayer::Step() {
  if (scheduled_ || !pump_.Waiting() || !accepting_()) return;
  if (!has_action_()) {
    pump_.Abort("the script ran out");
    return;
  }
  // Not from this timer's own slot: an action that waits again runs a nested loop, and
  // Qt does not fire a timer again while its slot is still running.
  scheduled_ = true;
  QTimer::singleShot(0, &timer_, [this] {
    scheduled_ = false;
    if (pump_.Waiting() && accepting_()) pump_.Deliver(run_next_);
  });
}

}  // namespace recebimento::gui
