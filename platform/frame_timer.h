// The periodic frame timer: a thread of its own that calls one callback every period, for pacing
// transition frames off the UI thread.
//
// Contract:
// - GetDevCaps reports the periods it supports: minimum 1 ms, maximum 1,000,000 ms.
// - Start(period, resolution, callback) runs callback once per period on the timer's own thread,
//   callbacks in sequence (never two at once), against absolute deadlines start + n × period, so
//   the pace does not drift. After a callback that overruns its period the next one starts at
//   once; missed deadlines are not made up in a burst. Start fails (returns false) while running or when the period
//   is outside the capabilities.
// - Stop() returns only when no callback is running and none can start any more. Called from
//   inside the callback (on the timer thread), it ends the timer after that callback returns and
//   returns at once. Do not call Stop() while holding a lock that the callback takes.
// - An exception escaping the callback is handed to the UI thread's exception handler
//   (TEventLoop::PostException); the timer keeps running.
// - BeginPeriod/EndPeriod ask for a timer resolution while a timer runs; they may do nothing.
// - The destructor stops the timer.
// Create one through TBackend::CreateFrameTimer().
#pragma once

#include <cstdint>
#include <functional>

namespace pavona::platform {

struct TTimeCaps {
  std::uint32_t wPeriodMin = 0;
  std::uint32_t wPeriodMax = 0;
};

class TFrameTimer {
 public:
  static constexpr std::uint32_t kPeriodMin = 1;
  static constexpr std::uint32_t kPeriodMax = 1000000;

  virtual ~TFrameTimer() = default;

  // Fills caps; false when the capabilities cannot be had.
  virtual bool GetDevCaps(TTimeCaps& caps) const {
    caps = {kPeriodMin, kPeriodMax};
    return true;
  }
  virtual void BeginPeriod(std::uint32_t /*resolutionMs*/) {}
  virtual void EndPeriod(std::uint32_t /*resolutionMs*/) {}

  virtual bool Start(std::uint32_t periodMs, std::uint32_t resolutionMs,
                     std::function<void()> callback) = 0;
  virtual void Stop() = 0;
  virtual bool Running() const = 0;
};

}  // namespace pavona::platform
