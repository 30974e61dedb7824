// The message timer (TTimer): a periodic tick dispatched on the UI thread by the event loop, like
// a window-message timer. Rules:
// - It ticks only while Enabled, Interval > 0 and OnTimer is assigned; Interval 0 never ticks.
// - A due tick is dispatched when the loop's queue is empty; at most one tick is ever pending, so
//   a slow handler never builds up a backlog. The next tick is due Interval ms after a tick is
//   dispatched.
// - Changing Enabled, Interval or OnTimer restarts the period from now.
// - An exception from OnTimer goes to the loop's exception handler; the timer keeps running.
// UI thread only. The timer must not outlive its loop.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/event_loop.h"

namespace pavona::platform {

class TTimer {
 public:
  explicit TTimer(TEventLoop& loop);
  ~TTimer();
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t intervalMs);
  const std::function<void()>& OnTimer() const { return onTimer_; }
  void SetOnTimer(std::function<void()> handler);

 private:
  friend class TEventLoop;
  bool Armed() const { return enabled_ && interval_ != 0 && onTimer_; }
  void Restart();

  TEventLoop& loop_;
  bool enabled_ = true;        // the stored defaults of a timer component
  std::uint32_t interval_ = 1000;
  std::function<void()> onTimer_;
  std::uint64_t due_ = 0;
};

}  // namespace pavona::platform
