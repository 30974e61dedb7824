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

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return FInterval; }
  void SetInterval(std::uint32_t intervalMs);
  const std::function<void()>& OnTimer() const { return FOnTimer; }
  void SetOnTimer(std::function<void()> handler);

 private:
  friend class TEventLoop;
  bool Armed() const { return FEnabled && FInterval != 0 && FOnTimer; }
  void Restart();

  TEventLoop& FLoop;
  bool FEnabled = true;        // the stored defaults of a timer component
  std::uint32_t FInterval = 1000;
  std::function<void()> FOnTimer;
  std::uint64_t FDue = 0;
};

}  // namespace pavona::platform
