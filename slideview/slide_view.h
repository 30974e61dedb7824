// The slide view control: shows one picture in its area of the window and changes from the
// picture on screen to the next one through an animated transition.
//
// TCustomSlideView holds all state and behaviour; TSlideView only publishes the properties.
// The control lives on the UI thread; in threaded mode the frames of a running transition are
// composed and presented on the frame-timer thread.
//
// Locks, always taken in this order: CS, then Pic, then Display, then OldPic, then the window's
// canvas. CS guards layout, frame composition, presentation and painting; it is never held
// between two frames, so the UI thread paints between ticks.
//
// The control takes over the parent window's OnPaint, OnResize and OnMouseDown while it lives.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/event_loop.h"
#include "platform/frame_timer.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "raster/bitmap.h"
#include "raster/geometry.h"
#include "transition/effect.h"
#include "pictures/picture.h"
#include "transition/progress_step.h"
#include "slideview/slide_layout.h"

namespace pavona::slideview {

// The picture and transition types that make up the control's interface.
using pictures::TGraphic;
using pictures::TPicture;
using transition::TEffect;
using transition::TEffectTable;
using transition::kMaxStyle;
using transition::TPercent;
using transition::TShowStyle;

class TCustomSlideView;

enum TBackgroundMode : std::uint8_t { bmNone, bmTiled, bmStretched, bmCentered };
enum TAlign : std::uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

using TNotifyEvent = std::function<void(TCustomSlideView& Sender)>;
// Picture and Screen are the bitmaps the event works on (which ones depends on the event).
using TCustomDrawEvent =
    std::function<void(TCustomSlideView& Sender, raster::Bitmap& Picture, raster::Bitmap& Screen)>;
using TMouseEvent = std::function<void(TCustomSlideView& Sender, platform::TMouseButton Button,
                                       platform::TShiftState Shift, int X, int Y)>;
using TFrameTimerFactory = std::function<std::unique_ptr<platform::TFrameTimer>()>;

// The control's private messages, posted by the frame-timer thread. Both carry the number of the
// transition that posted them in WParam (MSG_PROGRESS_CHANGED the progress in LParam), so a
// message left over from a stopped transition never acts on a newer one.
constexpr std::uint32_t MSG_TRANSITION_FINISHED = platform::kFirstPrivateMessage + 1;
constexpr std::uint32_t MSG_PROGRESS_CHANGED = platform::kFirstPrivateMessage + 2;

// The colour of active window borders, the frame's default.
constexpr raster::Pixel clActiveBorder = raster::MakePixel(180, 180, 180);

class TCustomSlideView {
 public:
  // The control occupies part of parent's client area (100 × 100 pixels at (0, 0) until moved
  // or aligned). timers makes the frame timer of threaded transitions; effects is the table of
  // styles 1 to 176 (effects::EffectTable).
  TCustomSlideView(platform::TWindow& parent, TFrameTimerFactory timers, TEffectTable effects);
  // In the backend's main window, with the backend's frame timers.
  TCustomSlideView(platform::TBackend& backend, TEffectTable effects);
  virtual ~TCustomSlideView();
  TCustomSlideView(const TCustomSlideView&) = delete;
  TCustomSlideView& operator=(const TCustomSlideView&) = delete;

  // --- The transition (UI thread) ---
  // Starts a transition to Picture. Does nothing when Picture holds no graphic, when its width
  // or height is 0, or while a transition runs. Threaded automatic: returns once the timer is
  // armed. Blocking: returns when the transition has ended. Manual: returns once prepared.
  void Execute();
  // Ends the running transition where it is; the frame on screen stays. When it returns no
  // frame is being composed or presented and none will be.
  void Stop();
  // Empties Display so that only the background shows; ignored while a transition runs.
  void Clear();
  TPercent Progress() const { return fProgress; }
  // Renders and presents the frame for this value while a transition runs (above 100 counts
  // as 100); ignored otherwise.
  void SetProgress(int value);
  bool Busy() const { return fBusy; }
  // True when Picture holds no graphic or an empty one.
  bool Empty() const;
  // Appends the 176 style names in style order.
  void GetStyleNames(std::vector<std::string>& Names) const;

  // --- The windowed control ---
  platform::TWindow& Parent() { return fParent; }
  raster::Rect BoundsRect() const { return fBounds; }
  void SetBounds(int left, int top, int width, int height);
  int Width() const { return fBounds.width(); }
  int Height() const { return fBounds.height(); }
  int ClientWidth() const { return fBounds.width(); }
  int ClientHeight() const { return fBounds.height(); }
  raster::Rect ClientRect() const { return {0, 0, fBounds.width(), fBounds.height()}; }
  TAlign Align() const { return fAlign; }
  void SetAlign(TAlign value);
  bool AutoSize() const { return fAutoSize; }
  void SetAutoSize(bool value);
  // The control's colour; with ParentColor it is the parent window's colour.
  raster::Pixel Color() const;
  void SetColor(raster::Pixel value);
  bool ParentColor() const { return fParentColor; }
  void SetParentColor(bool value);
  // Schedules a repaint of the control's area (client coordinates).
  void Invalidate();
  void Invalidate(const raster::Rect& area);

  // Mouse presses inside the control, in client coordinates.
  TMouseEvent OnMouseDown;

  // Message entry points of the host: the pointer entered or left the control.
  void MouseEnter();
  void MouseLeave();

  // The frame on screen and where it appears; for tests and tools. Lock Display before reading
  // while a threaded transition may run.
  const raster::Bitmap& DisplayBitmap() const { return Display; }
  raster::Rect GetDisplayRect() const;
  raster::Rect GetPicRect() const;
  // The timer period and resolution in use (Delay may be adjusted when a timer starts).
  std::uint32_t GetTimerResolution() const { return TimerResolution; }

 protected:
  // --- Published by TSlideView ---
  TPicture& Picture() { return fPicture; }
  void SetPicture(const TPicture& value) { fPicture.Assign(value); }
  TPicture& BgPicture() { return fBgPicture; }
  void SetBgPicture(const TPicture& value) { fBgPicture.Assign(value); }
  TBackgroundMode BgMode() const { return fBgMode; }
  void SetBgMode(TBackgroundMode value);
  raster::Pixel FrameColor() const { return fFrameColor; }
  void SetFrameColor(raster::Pixel value);
  int FrameWidth() const { return fFrameWidth; }
  void SetFrameWidth(int value);
  bool Center() const { return fCenter; }
  void SetCenter(bool value);
  bool Stretch() const { return fStretch; }
  void SetStretch(bool value);
  bool Proportional() const { return fProportional; }
  void SetProportional(bool value);
  bool OverDraw() const { return fOverDraw; }
  void SetOverDraw(bool value) { fOverDraw = value; }
  bool Threaded() const { return fThreaded; }
  void SetThreaded(bool value) { fThreaded = value; }
  bool Manual() const { return fManual; }
  void SetManual(bool value);
  TShowStyle Style() const { return fStyle; }
  void SetStyle(int value);
  std::string StyleName() const;
  void SetStyleName(const std::string& value);
  std::uint16_t Step() const { return fStep; }
  void SetStep(std::uint32_t value) { fStep = transition::ClampStep(value); }
  std::uint16_t Delay() const { return fDelay; }
  void SetDelay(std::uint16_t value) { fDelay = value; }
  bool Reverse() const { return fReverse; }
  void SetReverse(bool value) { fReverse = value; }
  bool ExactTiming() const { return fExactTiming; }
  void SetExactTiming(bool value) { fExactTiming = value; }

  // Events. The frame events (OnBeforeNewFrame, OnCustomDraw, OnAfterNewFrame) run on the
  // thread that sets the progress, under CS; they are assigned under CS too.
  void SetOnChange(TNotifyEvent handler) { fOnChange = std::move(handler); }
  void SetOnProgress(TNotifyEvent handler) { fOnProgress = std::move(handler); }
  void SetOnComplete(TNotifyEvent handler) { fOnComplete = std::move(handler); }
  void SetOnCustomDraw(TCustomDrawEvent handler);
  void SetOnMouseEnter(TNotifyEvent handler) { fOnMouseEnter = std::move(handler); }
  void SetOnMouseLeave(TNotifyEvent handler) { fOnMouseLeave = std::move(handler); }
  void SetOnBeforeNewFrame(TCustomDrawEvent handler);
  void SetOnAfterNewFrame(TCustomDrawEvent handler);
  void SetOnStart(TCustomDrawEvent handler) { fOnStart = std::move(handler); }
  void SetOnStop(TNotifyEvent handler) { fOnStop = std::move(handler); }

  // Drawing on a canvas whose origin and clip (its drawing state) put the control's client
  // coordinates in place: the parent's canvas while painting, a temporary bitmap otherwise.
  virtual void DrawBackground(raster::Bitmap& Canvas, const raster::Rect& Rect);
  virtual void DrawContents(raster::Bitmap& Canvas);
  virtual void FireChange();
  virtual void FireProgress();
  virtual void FireCustomDraw(raster::Bitmap& Picture, raster::Bitmap& Screen);
  virtual void FireBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen);
  virtual void FireAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen);
  virtual void FireComplete();
  virtual void FireStart(raster::Bitmap& Picture, raster::Bitmap& Screen);
  virtual void FireStop();

  // The millisecond tick count that paces the transition.
  virtual std::uint32_t TickCount() const;

 private:
  using TBitmapPtr = std::shared_ptr<raster::Bitmap>;

  void Init();
  void PictureChanged();
  void BgPictureChanged();
  void WMPaint(const raster::Rect& update);
  void WMSize();
  void WMMouseDown(platform::TMouseButton button, platform::TShiftState shift, int x, int y);
  void WMMessage(const platform::TMessage& message);
  void ParentResized();
  void AdjustSize();
  bool CanAutoSize(int& newWidth, int& newHeight) const;
  void UpdateDisplayRect();
  void RedrawOldPic();
  void TileGraphic(raster::Bitmap& Canvas, const raster::Rect& Rect, const TGraphic& graphic);

  void CaptureBitmaps();
  void RunTransition();
  bool AdvanceProgress();
  void RenderFrame();
  void Present();
  void StartFrameTimer();
  void StopFrameTimer();
  void FrameTimerProc();
  void FinishTransition();
  void ReleaseBitmaps();

  platform::TWindow& fParent;
  platform::TEventLoop& fLoop;
  TFrameTimerFactory fTimerFactory;
  TEffectTable fEffects;
  std::unique_ptr<platform::TFrameTimer> fTimer;
  std::unique_ptr<platform::TMessageTarget> fHandle;  // the control's message target

  raster::Rect fBounds{0, 0, 100, 100};  // in the parent's client coordinates
  TAlign fAlign = alNone;
  bool fAutoSize = false;
  raster::Pixel fColor = 0;
  bool fParentColor = true;
  bool fDestroying = false;

  TPicture fPicture;
  TPicture fBgPicture;
  TBackgroundMode fBgMode = bmTiled;
  raster::Pixel fFrameColor = clActiveBorder;
  int fFrameWidth = 0;
  bool fCenter = false;
  bool fStretch = false;
  bool fProportional = false;
  bool fOverDraw = true;
  // Read by the frame-timer thread while the UI thread may write them.
  std::atomic<bool> fThreaded{true};
  std::atomic<bool> fManual{false};
  std::atomic<TShowStyle> fStyle{51};
  std::atomic<std::uint16_t> fStep{4};
  std::atomic<std::uint16_t> fDelay{40};
  std::atomic<TPercent> fProgress{0};
  std::atomic<bool> fReverse{false};
  std::atomic<bool> fBusy{false};
  std::atomic<bool> fExactTiming{false};

  TNotifyEvent fOnChange, fOnProgress, fOnComplete;
  TCustomDrawEvent fOnCustomDraw;
  TNotifyEvent fOnMouseEnter, fOnMouseLeave;
  TCustomDrawEvent fOnBeforeNewFrame, fOnAfterNewFrame, fOnStart;
  TNotifyEvent fOnStop;

  raster::Bitmap Display;
  raster::Rect DisplayRect;
  raster::Rect PicRect;
  std::atomic<bool> Stopping{false};
  bool DynamicOldPic = false;
  // Shared so that a frame being composed keeps its bitmaps even if a frame event stops the
  // transition under it.
  TBitmapPtr OldPic;
  TBitmapPtr Pic;
  std::atomic<std::int32_t> TimerID{0};
  std::uint32_t TimerResolution = 0;
  std::uint32_t LastUpdateTime = 0;
  mutable std::recursive_mutex CS;
  // Counts transitions; the private messages carry it.
  std::atomic<std::uint32_t> fTransition{0};
};

// The control with its properties published.
class TSlideView : public TCustomSlideView {
 public:
  using TCustomSlideView::TCustomSlideView;

  using TCustomSlideView::Picture;
  using TCustomSlideView::SetPicture;
  using TCustomSlideView::BgPicture;
  using TCustomSlideView::SetBgPicture;
  using TCustomSlideView::BgMode;
  using TCustomSlideView::SetBgMode;
  using TCustomSlideView::FrameColor;
  using TCustomSlideView::SetFrameColor;
  using TCustomSlideView::FrameWidth;
  using TCustomSlideView::SetFrameWidth;
  using TCustomSlideView::Center;
  using TCustomSlideView::SetCenter;
  using TCustomSlideView::Stretch;
  using TCustomSlideView::SetStretch;
  using TCustomSlideView::Proportional;
  using TCustomSlideView::SetProportional;
  using TCustomSlideView::OverDraw;
  using TCustomSlideView::SetOverDraw;
  using TCustomSlideView::Threaded;
  using TCustomSlideView::SetThreaded;
  using TCustomSlideView::Manual;
  using TCustomSlideView::SetManual;
  using TCustomSlideView::Style;
  using TCustomSlideView::SetStyle;
  using TCustomSlideView::StyleName;
  using TCustomSlideView::SetStyleName;
  using TCustomSlideView::Step;
  using TCustomSlideView::SetStep;
  using TCustomSlideView::Delay;
  using TCustomSlideView::SetDelay;
  using TCustomSlideView::Reverse;
  using TCustomSlideView::SetReverse;
  using TCustomSlideView::ExactTiming;
  using TCustomSlideView::SetExactTiming;
  using TCustomSlideView::SetOnChange;
  using TCustomSlideView::SetOnProgress;
  using TCustomSlideView::SetOnComplete;
  using TCustomSlideView::SetOnCustomDraw;
  using TCustomSlideView::SetOnMouseEnter;
  using TCustomSlideView::SetOnMouseLeave;
  using TCustomSlideView::SetOnBeforeNewFrame;
  using TCustomSlideView::SetOnAfterNewFrame;
  using TCustomSlideView::SetOnStart;
  using TCustomSlideView::SetOnStop;
};

}  // namespace pavona::slideview
