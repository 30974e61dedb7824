// The headless backend: the same event loop, window and frame timers as on the desktop, without a
// screen. Tests drive it by hand:
// - input: PressKey, ClickMouse, DoubleClick, MoveMouse and Close queue events as the desktop
//   would; the window's PointerVisible() tells whether the pointer would show;
// - time: the message timers run on a clock that moves only by AdvanceTime;
// - frame timers: by default a started frame timer ticks only when the test calls
//   FireFrameTimers() (on the calling thread); with FrameTimers::Threaded they are real threads;
// - the loop: RunUntilIdle() dispatches until nothing is left to do now or the quit request is
//   taken; RunFor() also waits (in real time) for work posted from other threads;
// - output: Canvas() is what was drawn, Screen() what was uploaded to the "screen".
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/backend.h"

namespace pavona::platform::headless {

class THeadlessBackend;

class THeadlessWindow final : public TWindow {
 public:
  THeadlessWindow(TEventLoop& loop, raster::Size size);

  // The uploaded picture, at the client size.
  const raster::Bitmap& Screen() const { return FScreen; }
  int UploadCount() const { return FUploads; }
  using TWindow::SetClientSize;

 protected:
  void UploadToScreen(const raster::Rect& area) override;
  void ShowNative() override {}
  void SetNativeCaption(const std::string& /*caption*/) override {}
  void SetNativePointerVisible(bool /*visible*/) override {}

 private:
  raster::Bitmap FScreen;
  int FUploads = 0;
};

// A frame timer that ticks when the test says so.
class TManualFrameTimer final : public TFrameTimer {
 public:
  TManualFrameTimer(THeadlessBackend& backend);
  ~TManualFrameTimer() override;

  bool Start(std::uint32_t periodMs, std::uint32_t resolutionMs,
             std::function<void()> callback) override;
  void Stop() override { FRunning = false; }
  bool Running() const override { return FRunning; }

  std::uint32_t Period() const { return FPeriod; }
  // Runs the callback once when running; an exception goes to the loop like a threaded timer's.
  bool Fire();

 private:
  THeadlessBackend& FBackend;
  bool FRunning = false;
  std::uint32_t FPeriod = 0;
  std::function<void()> FCallback;
};

class THeadlessBackend final : public TBackend, private TEventSource {
 public:
  enum class FrameTimers { Manual, Threaded };

  explicit THeadlessBackend(raster::Size clientSize = {640, 480},
                            FrameTimers frameTimers = FrameTimers::Manual);
  ~THeadlessBackend() override;

  TEventLoop& Loop() override { return FLoop; }
  TWindow& MainWindow() override { return FWindow; }
  THeadlessWindow& Window() { return FWindow; }
  const THeadlessWindow& Window() const { return FWindow; }
  std::unique_ptr<TFrameTimer> CreateFrameTimer() override;

  // Input, queued in order like the desktop's events.
  void PressKey(TVirtualKey key, TShiftState shift = 0);
  void ClickMouse(TMouseButton button, TShiftState shift = 0, int x = 0, int y = 0);
  // Two presses; the second carries ssDouble.
  void DoubleClick(TMouseButton button, int x = 0, int y = 0);
  void MoveMouse(int x, int y);
  // The system's close command.
  void Close();

  void AdvanceTime(std::uint32_t ms);
  std::uint64_t Now() const { return FClock; }

  // Dispatches until idle or until the quit request is taken; true when it was taken.
  bool RunUntilIdle();
  // Like RunUntilIdle, but waits up to limit (real time) for work posted by other threads; stops
  // early once done() holds (checked whenever the loop is idle). True when the quit was taken.
  bool RunFor(std::chrono::milliseconds limit, std::function<bool()> done = {});

  // Fires every running manual frame timer once; returns how many fired.
  int FireFrameTimers();
  int RunningFrameTimers() const;

 private:
  friend class TManualFrameTimer;
  void Pump() override {}
  bool Wait(int timeoutMs) override;
  void Wake() override;
  std::uint64_t NowMs() const override { return FClock; }

  // The waiting state comes first: the window posts its first paint while it is made.
  std::mutex FWaitMutex;
  std::condition_variable FWoken;
  bool FWakeFlag = false;
  bool FRealWait = false;
  std::chrono::steady_clock::time_point FWaitLimit;
  std::function<bool()> FDone;
  std::uint64_t FClock = 0;

  TEventLoop FLoop;
  THeadlessWindow FWindow;
  FrameTimers FFrameTimerKind;
  std::vector<TManualFrameTimer*> FManualTimers;  // UI thread
};

}  // namespace pavona::platform::headless
