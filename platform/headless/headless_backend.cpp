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
  if (FScreen.size() != canvas.size()) FScreen.resize(canvas.width(), canvas.height());
  for (int y = area.Top; y < area.Bottom; ++y) {
    std::memcpy(FScreen.scanline(y) + area.Left, canvas.scanline(y) + area.Left,
                static_cast<std::size_t>(area.width()) * sizeof(raster::Pixel));
  }
  ++FUploads;
}

TManualFrameTimer::TManualFrameTimer(THeadlessBackend& backend) : FBackend(backend) {
  FBackend.FManualTimers.push_back(this);
}

TManualFrameTimer::~TManualFrameTimer() { std::erase(FBackend.FManualTimers, this); }

bool TManualFrameTimer::Start(std::uint32_t periodMs, std::uint32_t /*resolutionMs*/,
                              std::function<void()> callback) {
  if (FRunning || periodMs < kPeriodMin || periodMs > kPeriodMax || !callback) return false;
  FRunning = true;
  FPeriod = periodMs;
  FCallback = std::move(callback);
  return true;
}

bool TManualFrameTimer::Fire() {
  if (!FRunning) return false;
  const std::function<void()> callback = FCallback;
  try {
    callback();
  } catch (...) {
    FBackend.FLoop.PostException(std::current_exception());
  }
  return true;
}

THeadlessBackend::THeadlessBackend(raster::Size clientSize, FrameTimers frameTimers)
    : FLoop(*this), FWindow(FLoop, clientSize), FFrameTimerKind(frameTimers) {}

THeadlessBackend::~THeadlessBackend() = default;

std::unique_ptr<TFrameTimer> THeadlessBackend::CreateFrameTimer() {
  if (FFrameTimerKind == FrameTimers::Threaded) return std::make_unique<TThreadFrameTimer>(FLoop);
  return std::make_unique<TManualFrameTimer>(*this);
}

void THeadlessBackend::PressKey(TVirtualKey key, TShiftState shift) { FWindow.PostKeyDown(key, shift); }

void THeadlessBackend::ClickMouse(TMouseButton button, TShiftState shift, int x, int y) {
  FWindow.PostMouseDown(button, shift, x, y);
}

void THeadlessBackend::DoubleClick(TMouseButton button, int x, int y) {
  const TShiftState held = button == mbLeft ? ssLeft : button == mbRight ? ssRight : ssMiddle;
  FWindow.PostMouseDown(button, held, x, y);
  FWindow.PostMouseDown(button, held | ssDouble, x, y);
}

void THeadlessBackend::MoveMouse(int x, int y) { FWindow.PostMouseMove(x, y); }

void THeadlessBackend::Close() { FWindow.PostClose(); }

void THeadlessBackend::AdvanceTime(std::uint32_t ms) { FClock += ms; }

bool THeadlessBackend::RunUntilIdle() {
  FRealWait = false;
  FLoop.Run();
  return FLoop.Terminated();
}

bool THeadlessBackend::RunFor(std::chrono::milliseconds limit, std::function<bool()> done) {
  FRealWait = true;
  FWaitLimit = std::chrono::steady_clock::now() + limit;
  FDone = std::move(done);
  FLoop.Run();
  FRealWait = false;
  FDone = nullptr;
  return FLoop.Terminated();
}

int THeadlessBackend::FireFrameTimers() {
  int fired = 0;
  // A copy: a callback may create or free timers.
  const std::vector<TManualFrameTimer*> timers = FManualTimers;
  for (TManualFrameTimer* timer : timers) {
    if (std::find(FManualTimers.begin(), FManualTimers.end(), timer) == FManualTimers.end()) continue;
    if (timer->Fire()) ++fired;
  }
  return fired;
}

int THeadlessBackend::RunningFrameTimers() const {
  return static_cast<int>(std::count_if(FManualTimers.begin(), FManualTimers.end(),
                                        [](const TManualFrameTimer* t) { return t->Running(); }));
}

// The manual clock never moves while the loop waits, so a timer that is not due yet stays so:
// only work posted by other threads can end a real-time wait.
bool THeadlessBackend::Wait(int /*timeoutMs*/) {
  if (!FRealWait) return false;
  if (FDone && FDone()) return false;
  std::unique_lock lock(FWaitMutex);
  if (!FWoken.wait_until(lock, FWaitLimit, [this] { return FWakeFlag; })) return false;
  FWakeFlag = false;
  return true;
}

void THeadlessBackend::Wake() {
  {
    std::lock_guard lock(FWaitMutex);
    FWakeFlag = true;
  }
  FWoken.notify_all();
}

}  // namespace pavona::platform::headless
