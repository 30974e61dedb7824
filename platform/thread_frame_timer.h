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
  explicit TThreadFrameTimer(TEventLoop& loop) : FLoop(loop) {}
  ~TThreadFrameTimer() override;

  bool Start(std::uint32_t periodMs, std::uint32_t resolutionMs,
             std::function<void()> callback) override;
  void Stop() override;
  bool Running() const override;

 private:
  void ThreadProc();
  bool OnTimerThread() const { return std::this_thread::get_id() == FTimerThread.load(); }
  // Joins a thread that was stopped from inside its own callback.
  void Reap();

  TEventLoop& FLoop;
  mutable std::mutex FMutex;  // guards FActive, FStopRequested
  std::condition_variable FWake;
  bool FActive = false;  // a thread exists that has not been joined
  bool FStopRequested = false;
  std::uint32_t FPeriod = 0;
  std::function<void()> FCallback;
  std::thread FThread;  // touched only by the thread that starts and stops the timer
  std::atomic<std::thread::id> FTimerThread;
};

}  // namespace pavona::platform
