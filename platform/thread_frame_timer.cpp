#include "platform/thread_frame_timer.h"

#include <chrono>

namespace pavona::platform {

TThreadFrameTimer::~TThreadFrameTimer() { Stop(); }

bool TThreadFrameTimer::Start(std::uint32_t periodMs, std::uint32_t /*resolutionMs*/,
                              std::function<void()> callback) {
  if (periodMs < kPeriodMin || periodMs > kPeriodMax || !callback || OnTimerThread()) return false;
  Reap();
  std::lock_guard lock(FMutex);
  if (FActive) return false;
  FActive = true;
  FStopRequested = false;
  FPeriod = periodMs;
  FCallback = std::move(callback);
  FThread = std::thread(&TThreadFrameTimer::ThreadProc, this);
  return true;
}

void TThreadFrameTimer::Stop() {
  {
    std::lock_guard lock(FMutex);
    if (!FActive) return;
    FStopRequested = true;
  }
  FWake.notify_all();
  // Inside the callback: the thread ends when the callback returns; Reap() or a later Stop()
  // from the owning thread joins it.
  if (OnTimerThread()) return;
  FThread.join();
  std::lock_guard lock(FMutex);
  FActive = false;
}

bool TThreadFrameTimer::Running() const {
  std::lock_guard lock(FMutex);
  return FActive && !FStopRequested;
}

void TThreadFrameTimer::Reap() {
  {
    std::lock_guard lock(FMutex);
    if (!FActive || !FStopRequested) return;
  }
  FThread.join();
  std::lock_guard lock(FMutex);
  FActive = false;
}

void TThreadFrameTimer::ThreadProc() {
  using Clock = std::chrono::steady_clock;
  FTimerThread = std::this_thread::get_id();
  std::unique_lock lock(FMutex);
  const Clock::duration period = std::chrono::milliseconds(FPeriod);
  Clock::time_point deadline = Clock::now() + period;
  while (!FWake.wait_until(lock, deadline, [this] { return FStopRequested; })) {
    lock.unlock();
    try {
      FCallback();
    } catch (...) {
      FLoop.PostException(std::current_exception());
    }
    lock.lock();
    deadline += period;
    const Clock::time_point now = Clock::now();
    if (deadline < now) deadline = now;  // overran: go on at once, without a burst of catch-up calls
  }
  FTimerThread = std::thread::id();
}

}  // namespace pavona::platform
