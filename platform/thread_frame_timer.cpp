#include "platform/thread_frame_timer.h"

#include <chrono>

namespace pavona::platform {

TThreadFrameTimer::~TThreadFrameTimer() { Stop(); }

bool TThreadFrameTimer::Start(std::uint32_t periodMs, std::uint32_t /*resolutionMs*/,
                              std::function<void()> callback) {
  if (periodMs < kPeriodMin || periodMs > kPeriodMax || !callback || OnTimerThread()) return false;
  Reap();
  std::lock_guard lock(mutex_);
  if (active_) return false;
  active_ = true;
  stopRequested_ = false;
  period_ = periodMs;
  callback_ = std::move(callback);
  thread_ = std::thread(&TThreadFrameTimer::ThreadProc, this);
  return true;
}

void TThreadFrameTimer::Stop() {
  {
    std::lock_guard lock(mutex_);
    if (!active_) return;
    stopRequested_ = true;
  }
  wake_.notify_all();
  // Inside the callback: the thread ends when the callback returns; Reap() or a later Stop()
  // from the owning thread joins it.
  if (OnTimerThread()) return;
  thread_.join();
  std::lock_guard lock(mutex_);
  active_ = false;
}

bool TThreadFrameTimer::Running() const {
  std::lock_guard lock(mutex_);
  return active_ && !stopRequested_;
}

void TThreadFrameTimer::Reap() {
  {
    std::lock_guard lock(mutex_);
    if (!active_ || !stopRequested_) return;
  }
  thread_.join();
  std::lock_guard lock(mutex_);
  active_ = false;
}

void TThreadFrameTimer::ThreadProc() {
  using Clock = std::chrono::steady_clock;
  timerThread_ = std::this_thread::get_id();
  std::unique_lock lock(mutex_);
  const Clock::duration period = std::chrono::milliseconds(period_);
  Clock::time_point deadline = Clock::now() + period;
  while (!wake_.wait_until(lock, deadline, [this] { return stopRequested_; })) {
    lock.unlock();
    try {
      callback_();
    } catch (...) {
      loop_.PostException(std::current_exception());
    }
    lock.lock();
    deadline += period;
    const Clock::time_point now = Clock::now();
    if (deadline < now) deadline = now;  // overran: go on at once, without a burst of catch-up calls
  }
  timerThread_ = std::thread::id();
}

}  // namespace pavona::platform
