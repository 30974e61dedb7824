#include "platform/headless/headless_backend.h"

#include <algorithm>
#include <cstring>

#include "platform/thread_frame_timer.h"

namespace pavona::platform {

std::unique_ptr<TBackend> CreateBackend() { return std::make_unique<headless::THeadlessBackend>(); }

}  // namespace pavona::platform

namespace pavona::platform::headless {

THeadlessWindow::THeadlessWindow(TEventLoop& loop, raster::Size size) : TWindow(loop) {
  SetClientSize(size);
}

void THeadlessWindow::UploadToScreen(const raster::Rect& area) {
  const raster::Bitmap& canvas = Canvas();
  if (screen_.size() != canvas.size()) screen_.resize(canvas.width(), canvas.height());
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::memcpy(screen_.scanline(y) + area.Left, canvas.scanline(y) + area.Left,
                static_cast<std::size_t>(area.width()) * sizeof(raster::Pixel));
  }
  ++uploads_;
}

TManualFrameTimer::TManualFrameTimer(THeadlessBackend& backend) : backend_(backend) {
  backend_.manualTimers_.push_back(this);
}

TManualFrameTimer::~TManualFrameTimer() { std::erase(backend_.manualTimers_, this); }

bool TManualFrameTimer::Start(std::uint32_t periodMs, std::uint32_t /*resolutionMs*/,
                              std::function<void()> callback) {
  if (running_ || periodMs < kPeriodMin || periodMs > kPeriodMax || !callback) return false;
  running_ = true;
  period_ = periodMs;
  callback_ = std::move(callback);
  return true;
}

bool TManualFrameTimer::Fire() {
  if (!running_) return false;
  const std::function<void()> callback = callback_;
  try {
    callback();
  } catch (...) {
    backend_.loop_.PostException(std::current_exception());
  }
  return true;
}

THeadlessBackend::THeadlessBackend(raster::Size clientSize, FrameTimers frameTimers)
    : loop_(*this), window_(loop_, clientSize), frameTimerKind_(frameTimers) {}

THeadlessBackend::~THeadlessBackend() = default;

std::unique_ptr<TFrameTimer> THeadlessBackend::CreateFrameTimer() {
  if (frameTimerKind_ == FrameTimers::Threaded) return std::make_unique<TThreadFrameTimer>(loop_);
  return std::make_unique<TManualFrameTimer>(*this);
}

void THeadlessBackend::PressKey(TVirtualKey key, TShiftState shift) { window_.PostKeyDown(key, shift); }

void THeadlessBackend::ClickMouse(TMouseButton button, TShiftState shift, int x, int y) {
  window_.PostMouseDown(button, shift, x, y);
}

void THeadlessBackend::DoubleClick(TMouseButton button, int x, int y) {
  const TShiftState held = button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
  window_.PostMouseDown(button, held, x, y);
  window_.PostMouseDown(button, held | ssDouble, x, y);
}

void THeadlessBackend::MoveMouse(int x, int y) { window_.PostMouseMove(x, y); }

void THeadlessBackend::Close() { window_.PostClose(); }

void THeadlessBackend::AdvanceTime(std::uint32_t ms) { clock_ += ms; }

bool THeadlessBackend::RunUntilIdle() {
  realWait_ = false;
  loop_.Run();
  return loop_.Terminated();
}

bool THeadlessBackend::RunFor(std::chrono::milliseconds limit, std::function<bool()> done) {
  realWait_ = true;
  waitLimit_ = std::chrono::steady_clock::now() + limit;
  done_ = std::move(done);
  loop_.Run();
  realWait_ = false;
  done_ = nullptr;
  return loop_.Terminated();
}

int THeadlessBackend::FireFrameTimers() {
  int fired = 0;
  // A copy: a callback may create or free timers.
  const std::vector<TManualFrameTimer*> timers = manualTimers_;
  for (TManualFrameTimer* timer : timers) {
    if (std::find(manualTimers_.begin(), manualTimers_.end(), timer) == manualTimers_.end()) continue;
    if (timer->Fire()) ++fired;
  }
  return fired;
}

int THeadlessBackend::RunningFrameTimers() const {
  return static_cast<int>(std::count_if(manualTimers_.begin(), manualTimers_.end(),
                                        [](const TManualFrameTimer* t) { return t->Running(); }));
}

// The manual clock never moves while the loop waits, so a timer that is not due yet stays so:
// only work posted by other threads can end a real-time wait.
bool THeadlessBackend::Wait(int /*timeoutMs*/) {
  if (!realWait_) return false;
  if (done_ && done_()) return false;
  std::unique_lock lock(waitMutex_);
  if (!woken_.wait_until(lock, waitLimit_, [this] { return wakeFlag_; })) return false;
  wakeFlag_ = false;
  return true;
}

void THeadlessBackend::Wake() {
  {
    std::lock_guard lock(waitMutex_);
    wakeFlag_ = true;
  }
  woken_.notify_all();
}

}  // namespace pavona::platform::headless
