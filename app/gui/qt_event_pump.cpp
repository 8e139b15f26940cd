#include "qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace recebimento::gui {

namespace {
// How often a wait re-checks its condition while nothing else wakes it.
constexpr int kConditionPollMs = 15;
}  // namespace

QtEventPump::QtEventPump(base::Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {
  timer_poll_.setInterval(kTimerPollMs);
  connect(&timer_poll_, &QTimer::timeout, this, [this] { PollTimers(); });
  timer_poll_.start();
}

QtEventPump::~QtEventPump() {
  // A loop still running belongs to a wait further up the stack; let it end.
  for (QEventLoop* loop : loops_) loop->exit(1);
}

void QtEventPump::PollTimers() {
  if (firing_ || timers_.empty()) return;
  firing_ = true;
  Deliver([this] { FireDueTimers(); });
  firing_ = false;
}

void QtEventPump::Deliver(const std::function<void()>& action) {
  frames_.push_back(Frame::Busy);
  try {
    action();
  } catch (...) {
    // The first failure wins: the waits unwind with it.
    if (!pending_) pending_ = std::current_exception();
  }
  frames_.pop_back();
  Refresh();
  WakeWaits();
}

void QtEventPump::Refresh() {
  if (!refresh_) return;
  try {
    refresh_();
  } catch (...) {
    if (!pending_) pending_ = std::current_exception();
  }
}

void QtEventPump::WakeWaits() {
  // Only the innermost loop can return now; the others see their condition when control
  // comes back to them.
  if (!loops_.empty() && (pending_ || aborted_)) loops_.back()->exit(0);
}

void QtEventPump::RaisePending() {
  if (pending_) {
    std::exception_ptr e = pending_;
    pending_ = nullptr;
    std::rethrow_exception(e);
  }
}

void QtEventPump::ProcessMessages() {
  frames_.push_back(Frame::Busy);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  frames_.pop_back();
  Refresh();
  RaisePending();
  if (aborted_) throw WaitAborted(*aborted_);
}

void QtEventPump::RunUntil(const std::function<bool()>& done, const std::string& what) {
  Refresh();
  while (true) {
    RaisePending();
    if (aborted_) throw WaitAborted(*aborted_ + " while the " + what + " waits");
    if (done()) return;
    QEventLoop loop;
    QTimer check;
    check.setInterval(kConditionPollMs);
    connect(&check, &QTimer::timeout, &loop, [&] {
      bool end = pending_ || aborted_;
      try {
        end = end || done();
      } catch (...) {
        if (!pending_) pending_ = std::current_exception();
        end = true;
      }
      if (end) loop.exit(0);
    });
    loops_.push_back(&loop);
    frames_.push_back(Frame::Wait);
    check.start();
    loop.exec();
    check.stop();
    frames_.pop_back();
    loops_.pop_back();
  }
}

void QtEventPump::Abort(const std::string& reason) {
  aborted_ = reason;
  for (QEventLoop* loop : loops_) loop->exit(0);
}

}  // namespace recebimento::gui
