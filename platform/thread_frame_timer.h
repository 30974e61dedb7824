// The frame timer as a plain C++ thread with absolute deadlines; backends hand it out from
// CreateFrameTimer(). See frame_timer.h for the contract.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/event_loop.h"
#include "platform/frame_timer.h"

namespace pavona::platform {

class TThreadFrameTimer final : public TFrameTimer {
 public:
  explicit TThreadFrameTimer(TEventLoop& loop) : loop_(loop) {}
  ~TThreadFrameTimer() override;

  bool Start(std::uint32_t periodMs, std::uint32_t resolutionMs,
             std::function<void()> callback) override;
  void Stop() override;
  bool Running() const override;

 private:
  void ThreadProc();
  bool OnTimerThread() const { return std::this_thread::get_id() == timerThread_.load(); }
  // Joins a thread that was stopped from inside its own callback.
  void Reap();

  TEventLoop& loop_;
  mutable std::mutex mutex_;  // guards active_, stopRequested_
  std::condition_variable wake_;
  bool active_ = false;  // a thread exists that has not been joined
  bool stopRequested_ = false;
  std::uint32_t period_ = 0;
  std::function<void()> callback_;
  std::thread thread_;  // touched only by the thread that starts and stops the timer
  std::atomic<std::thread::id> timerThread_;
};

}  // namespace pavona::platform
