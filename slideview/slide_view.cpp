#include "slideview/slide_view.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <thread>

#include "base/ascii.h"
#include "base/scope_guard.h"
#include "platform/clock.h"
#include "raster/blit.h"
#include "raster/surface.h"
#include "transition/block_copy.h"
#include "transition/frame_renderer.h"

namespace pavona::slideview {

using transition::CopyBlock;
using transition::DrawFrame;
using transition::EndProgress;
using transition::ExactStep;
using transition::FindStyle;
using transition::MulDiv;
using transition::NextProgress;
using transition::RestartFrame;
using transition::StartProgress;
using transition::StretchBlock;
using transition::TFrameHooks;

// --- Construction and the windowed control ---

TCustomSlideView::TCustomSlideView(platform::TWindow& parent, TFrameTimerFactory timers,
                                   TEffectTable effects)
    : fParent(parent), fLoop(parent.Loop()), fTimerFactory(std::move(timers)), fEffects(effects) {
  Init();
}

TCustomSlideView::TCustomSlideView(platform::TBackend& backend, TEffectTable effects)
    : TCustomSlideView(
          backend.MainWindow(), [&backend] { return backend.CreateFrameTimer(); }, effects) {}

void TCustomSlideView::Init() {
  fHandle = std::make_unique<platform::TMessageTarget>(
      fLoop, [this](const platform::TMessage& message) { WMMessage(message); });
  fTimer = fTimerFactory();
  fPicture.SetOnChange([this] { PictureChanged(); });
  fBgPicture.SetOnChange([this] { BgPictureChanged(); });
  fParent.OnPaint = [this](const raster::Rect& update) { WMPaint(update); };
  fParent.OnResize = [this] { ParentResized(); };
  fParent.OnMouseDown = [this](platform::TMouseButton button, platform::TShiftState shift, int x,
                               int y) { WMMouseDown(button, shift, x, y); };
}

TCustomSlideView::~TCustomSlideView() {
  fDestroying = true;
  Stop();
  fParent.OnPaint = nullptr;
  fParent.OnResize = nullptr;
  fParent.OnMouseDown = nullptr;
  fHandle.reset();
  fTimer.reset();
}

void TCustomSlideView::SetBounds(int left, int top, int width, int height) {
  const raster::Rect bounds{left, top, left + std::max(width, 0), top + std::max(height, 0)};
  if (bounds == fBounds) return;
  const raster::Rect old = fBounds;
  {
    std::lock_guard cs(CS);
    fBounds = bounds;
  }
  fParent.Invalidate(old);
  WMSize();
}

void TCustomSlideView::SetAlign(TAlign value) {
  if (value == fAlign) return;
  fAlign = value;
  ParentResized();
}

void TCustomSlideView::ParentResized() {
  const raster::Size client = fParent.ClientSize();
  const int w = fBounds.width();
  const int h = fBounds.height();
  switch (fAlign) {
    case alNone: break;
    case alClient: SetBounds(0, 0, client.Width, client.Height); break;
    case alTop: SetBounds(0, 0, client.Width, h); break;
    case alBottom: SetBounds(0, client.Height - h, client.Width, h); break;
    case alLeft: SetBounds(0, 0, w, client.Height); break;
    case alRight: SetBounds(client.Width - w, 0, w, client.Height); break;
  }
  WMSize();
}

void TCustomSlideView::SetAutoSize(bool value) {
  if (value == fAutoSize) return;
  fAutoSize = value;
  AdjustSize();
}

bool TCustomSlideView::CanAutoSize(int& newWidth, int& newHeight) const {
  if (fPicture.Graphic() == nullptr || fAlign == alClient) return true;
  if (fAlign != alTop && fAlign != alBottom) newWidth = fPicture.Width() + 2 * fFrameWidth;
  if (fAlign != alLeft && fAlign != alRight) newHeight = fPicture.Height() + 2 * fFrameWidth;
  return true;
}

void TCustomSlideView::AdjustSize() {
  if (!fAutoSize) return;
  int w = Width();
  int h = Height();
  if (CanAutoSize(w, h)) SetBounds(fBounds.Left, fBounds.Top, w, h);
}

raster::Pixel TCustomSlideView::Color() const {
  return fParentColor ? fParent.Color() : fColor;
}

void TCustomSlideView::SetColor(raster::Pixel value) {
  fParentColor = false;
  if (value == fColor) return;
  fColor = value;
  Invalidate();
}

void TCustomSlideView::SetParentColor(bool value) {
  if (value == fParentColor) return;
  fParentColor = value;
  Invalidate();
}

void TCustomSlideView::Invalidate() { Invalidate(ClientRect()); }

void TCustomSlideView::Invalidate(const raster::Rect& area) {
  fParent.Invalidate(area.translated(fBounds.Left, fBounds.Top).intersected(fBounds));
}

void TCustomSlideView::MouseEnter() {
  if (fOnMouseEnter) fOnMouseEnter(*this);
}

void TCustomSlideView::MouseLeave() {
  if (fOnMouseLeave) fOnMouseLeave(*this);
}

void TCustomSlideView::WMMouseDown(platform::TMouseButton button, platform::TShiftState shift,
                                   int x, int y) {
  if (fBounds.contains(x, y) && OnMouseDown) {
    OnMouseDown(*this, button, shift, x - fBounds.Left, y - fBounds.Top);
  }
}

void TCustomSlideView::WMSize() {
  UpdateDisplayRect();
  if (!Display.is_empty()) Invalidate();
}

raster::Rect TCustomSlideView::GetDisplayRect() const {
  std::lock_guard cs(CS);
  return DisplayRect;
}

raster::Rect TCustomSlideView::GetPicRect() const {
  std::lock_guard cs(CS);
  return PicRect;
}

bool TCustomSlideView::Empty() const {
  return fPicture.Graphic() == nullptr || fPicture.Graphic()->Empty();
}

void TCustomSlideView::Clear() {
  if (fBusy || Display.is_empty()) return;
  {
    std::lock_guard cs(CS);
    std::lock_guard display(Display.lock());
    Display.resize(0, 0);
    PicRect = {};
    DisplayRect = {};
  }
  Invalidate();
}

void TCustomSlideView::PictureChanged() {
  if (fDestroying) return;
  if (fPicture.Graphic() != nullptr && fAutoSize) AdjustSize();
  FireChange();
}

void TCustomSlideView::BgPictureChanged() {
  if (fBgMode == bmNone) return;
  if (DynamicOldPic && OldPic) RedrawOldPic();
  Invalidate();
}

// --- Layout ---

void TCustomSlideView::SetBgMode(TBackgroundMode value) {
  if (value == fBgMode) return;
  fBgMode = value;
  if (fBgPicture.Graphic() != nullptr) {
    if (DynamicOldPic && OldPic) RedrawOldPic();
    Invalidate();
  }
}

void TCustomSlideView::SetFrameColor(raster::Pixel value) {
  if (value == fFrameColor) return;
  fFrameColor = value;
  if (fFrameWidth != 0 && !Display.is_empty()) Invalidate();
}

void TCustomSlideView::SetFrameWidth(int value) {
  value = std::max(value, 0);
  if (value == fFrameWidth) return;
  fFrameWidth = value;
  if (fAutoSize) AdjustSize();
  if (Display.is_empty()) return;
  UpdateDisplayRect();
  Invalidate();
}

void TCustomSlideView::SetCenter(bool value) {
  if (value == fCenter) return;
  fCenter = value;
  UpdateDisplayRect();
  if (!Display.is_empty()) Invalidate();
}

void TCustomSlideView::SetStretch(bool value) {
  if (value == fStretch) return;
  fStretch = value;
  UpdateDisplayRect();
  if (!Display.is_empty()) Invalidate();
}

void TCustomSlideView::SetProportional(bool value) {
  if (value == fProportional) return;
  fProportional = value;
  UpdateDisplayRect();
  if (!Display.is_empty()) Invalidate();
}

void TCustomSlideView::UpdateDisplayRect() {
  std::lock_guard cs(CS);
  DisplayRect = ComputeDisplayRect({ClientWidth(), ClientHeight()}, {PicRect.width(), PicRect.height()},
                                   {fFrameWidth, fCenter, fStretch, fProportional});
  if (DynamicOldPic && OldPic) RedrawOldPic();
}

void TCustomSlideView::RedrawOldPic() {
  std::lock_guard cs(CS);
  raster::Bitmap background(DisplayRect.width(), DisplayRect.height());
  raster::Surface(background).set_origin({-DisplayRect.Left, -DisplayRect.Top});
  DrawBackground(background, ClientRect());
  raster::Surface(background).set_origin({0, 0});
  {
    std::lock_guard old(OldPic->lock());
    raster::StretchBlit(*OldPic, PicRect, background, background.bounds());
  }
  if (fBusy && fManual && !Stopping) RenderFrame();
}

// --- Painting ---

void TCustomSlideView::WMPaint(const raster::Rect& update) {
  std::lock_guard cs(CS);
  std::lock_guard display(Display.lock());
  raster::Bitmap& canvas = fParent.Canvas();
  std::lock_guard canvasLock(canvas.lock());
  raster::SavedDrawingState saved(canvas);
  raster::Surface surface(canvas);

  // The parent shows its own colour wherever the control does not cover it.
  surface.remove_clip();
  surface.set_origin({0, 0});
  surface.intersect_clip_rect(update);
  surface.exclude_clip_rect(fBounds);
  raster::FillRect(canvas, update, fParent.Color());

  const raster::Rect local = update.translated(-fBounds.Left, -fBounds.Top).intersected(ClientRect());
  if (local.is_empty()) return;
  surface.remove_clip();
  surface.set_origin({fBounds.Left, fBounds.Top});
  surface.intersect_clip_rect(local);
  if (!Display.is_empty() && DisplayRect.contains(local)) {
    raster::StretchBlit(canvas, DisplayRect, Display, PicRect);
    return;
  }
  DrawContents(canvas);
}

void TCustomSlideView::DrawContents(raster::Bitmap& Canvas) {
  raster::Surface surface(Canvas);
  if (Display.is_empty()) {
    DrawBackground(Canvas, ClientRect());
    return;
  }
  if (surface.rect_visible(DisplayRect)) {
    std::lock_guard display(Display.lock());
    raster::StretchBlit(Canvas, DisplayRect, Display, PicRect);
  }
  raster::Rect r = DisplayRect;
  if (fFrameWidth > 0) {
    r = {r.Left - fFrameWidth, r.Top - fFrameWidth, r.Right + fFrameWidth, r.Bottom + fFrameWidth};
    if (surface.rect_visible(r)) raster::FrameRect(Canvas, r, fFrameWidth, fFrameColor);
  }
  raster::SavedDrawingState saved(Canvas);
  surface.exclude_clip_rect(r);
  DrawBackground(Canvas, ClientRect());
}

void TCustomSlideView::DrawBackground(raster::Bitmap& Canvas, const raster::Rect& Rect) {
  raster::Surface surface(Canvas);
  if (!surface.rect_visible(Rect)) return;
  // Drawing a graphic may touch the container; its notification must not fire from a paint.
  auto handler = fBgPicture.OnChange();
  fBgPicture.SetOnChange(nullptr);
  base::TScopeGuard reattach([&] { fBgPicture.SetOnChange(std::move(handler)); });

  const TGraphic* graphic = fBgPicture.Graphic();
  const TBackgroundMode mode = graphic == nullptr || graphic->Empty() ? bmNone : fBgMode;
  switch (mode) {
    case bmTiled:
      TileGraphic(Canvas, Rect, *graphic);
      break;
    case bmStretched:
      graphic->Draw(Canvas, Rect);
      break;
    case bmCentered: {
      const raster::Rect g = raster::Rect::FromSize((Rect.width() - graphic->Width()) / 2,
                                                    (Rect.height() - graphic->Height()) / 2,
                                                    graphic->Width(), graphic->Height());
      graphic->Draw(Canvas, g);
      raster::SavedDrawingState saved(Canvas);
      surface.exclude_clip_rect(g);
      raster::FillRect(Canvas, Rect, Color());
      break;
    }
    case bmNone:
      raster::FillRect(Canvas, Rect, Color());
      break;
  }
}

void TCustomSlideView::TileGraphic(raster::Bitmap& Canvas, const raster::Rect& Rect,
                                   const TGraphic& graphic) {
  raster::SavedDrawingState saved(Canvas);
  raster::Surface surface(Canvas);
  surface.intersect_clip_rect(Rect);
  raster::Rect c = surface.clip_box();
  if (c.is_empty()) return;
  const int gw = graphic.Width();
  const int gh = graphic.Height();
  c.Left -= (c.Left - Rect.Left) % gw;
  c.Top -= (c.Top - Rect.Top) % gh;
  for (int top = c.Top; top < c.Bottom; top += gh) {
    for (int left = c.Left; left < c.Right; left += gw) {
      const raster::Rect tile{left, top, left + gw, top + gh};
      if (surface.rect_visible(tile)) graphic.Draw(Canvas, tile);
    }
  }
}

// --- Properties of the transition ---

void TCustomSlideView::SetStyle(int value) {
  if (value < 0 || value > kMaxStyle || value == fStyle) return;
  fStyle = static_cast<TShowStyle>(value);
  if (fBusy && fManual && !Stopping) {
    RenderFrame();
    Invalidate(GetDisplayRect());
  }
}

std::string TCustomSlideView::StyleName() const {
  const TShowStyle style = fStyle;
  if (style == 0) return "Custom";
  return style <= fEffects.size() ? fEffects[style - 1].Name : "";
}

void TCustomSlideView::SetStyleName(const std::string& value) {
  if (base::SameAsciiText(value, "Custom")) {
    SetStyle(0);
    return;
  }
  if (const auto style = FindStyle(fEffects, value)) SetStyle(*style);
}

void TCustomSlideView::GetStyleNames(std::vector<std::string>& Names) const {
  Names.reserve(Names.size() + fEffects.size());
  for (const TEffect& effect : fEffects) Names.emplace_back(effect.Name);
}

void TCustomSlideView::SetOnCustomDraw(TCustomDrawEvent handler) {
  std::lock_guard cs(CS);
  fOnCustomDraw = std::move(handler);
}

void TCustomSlideView::SetOnBeforeNewFrame(TCustomDrawEvent handler) {
  std::lock_guard cs(CS);
  fOnBeforeNewFrame = std::move(handler);
}

void TCustomSlideView::SetOnAfterNewFrame(TCustomDrawEvent handler) {
  std::lock_guard cs(CS);
  fOnAfterNewFrame = std::move(handler);
}

void TCustomSlideView::SetManual(bool value) {
  if (value == fManual) return;
  fManual = value;
  StopFrameTimer();
  if (!fBusy) {
    fProgress = StartProgress(fReverse);
  } else if (!value) {
    RunTransition();
  }
}

// --- The transition ---

void TCustomSlideView::Execute() {
  // A picture without pixels has no frames to compose.
  if (Empty() || fBusy) return;
  fBusy = true;
  ++fTransition;
  try {
    CaptureBitmaps();
    if (!fManual && !Stopping) RunTransition();
  } catch (...) {
    ReleaseBitmaps();
    fBusy = false;
    throw;
  }
}

void TCustomSlideView::CaptureBitmaps() {
  const int w = fPicture.Width();
  const int h = fPicture.Height();

  auto oldPic = std::make_shared<raster::Bitmap>();
  {
    std::lock_guard display(Display.lock());
    if (fOverDraw && !Display.is_empty() && Display.width() == w && Display.height() == h) {
      DynamicOldPic = false;
      *oldPic = Display.clone();
    } else {
      DynamicOldPic = true;
      oldPic->resize(w, h);
    }
  }

  auto pic = std::make_shared<raster::Bitmap>(w, h);
  pic->fill(Color());
  {
    // A graphic that decodes late must not fire OnChange in the middle of the start.
    auto handler = fPicture.OnChange();
    fPicture.SetOnChange(nullptr);
    base::TScopeGuard reattach([&] { fPicture.SetOnChange(std::move(handler)); });
    fPicture.Graphic()->Draw(*pic, raster::Point{0, 0});
  }

  {
    std::lock_guard cs(CS);
    OldPic = std::move(oldPic);
    Pic = std::move(pic);
    {
      std::lock_guard display(Display.lock());
      Display.resize(w, h);
    }
    PicRect = {0, 0, w, h};
    UpdateDisplayRect();
    std::lock_guard display(Display.lock());
    std::lock_guard old(OldPic->lock());
    RestartFrame(Display, *OldPic, PicRect);
  }
  fProgress = StartProgress(fReverse);
  Invalidate();
  FireStart(*Pic, *OldPic);
}

void TCustomSlideView::ReleaseBitmaps() {
  std::lock_guard cs(CS);
  Pic.reset();
  OldPic.reset();
}

void TCustomSlideView::RunTransition() {
  LastUpdateTime = TickCount();
  if (fThreaded) {
    StartFrameTimer();
    return;
  }
  // Blocking: frames paced on this thread, with the application's messages handled between
  // them, so a handler may stop this transition or start another one.
  const std::uint32_t transition = fTransition;
  auto running = [&] { return fBusy && fTransition == transition; };
  for (;;) {
    const bool more = AdvanceProgress();
    if (!running()) return;
    if (!more || fManual) break;
    while (TickCount() - LastUpdateTime < fDelay) {
      fLoop.ProcessMessages();
      if (!running()) return;
      if (fManual) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }
  if (fManual) return;
  FinishTransition();
}

bool TCustomSlideView::AdvanceProgress() {
  const std::uint32_t now = TickCount();
  std::int32_t step = fStep;
  if (fExactTiming && fDelay != 0) {
    step = ExactStep(fStep, now - LastUpdateTime, fDelay);
    // MulDiv answers −1 when the elapsed time is too large to scale: that is past the end.
    if (step < 0) step = 100;
  }
  LastUpdateTime = now;
  SetProgress(NextProgress(fProgress, step, fReverse));
  return fProgress != EndProgress(fReverse);
}

void TCustomSlideView::SetProgress(int value) {
  value = std::clamp(value, 0, 100);
  if (!fBusy || value == fProgress) return;
  fProgress = static_cast<TPercent>(value);
  RenderFrame();
  Present();
  if (fThreaded && !fManual) {
    fHandle->Post(MSG_PROGRESS_CHANGED, static_cast<std::intptr_t>(fTransition.load()), value);
  } else {
    FireProgress();
  }
}

void TCustomSlideView::RenderFrame() {
  std::lock_guard cs(CS);
  // Held to the end of the frame, even if a frame event stops the transition.
  const TBitmapPtr pic = Pic;
  const TBitmapPtr oldPic = OldPic;
  if (!pic || !oldPic) return;
  std::lock_guard picLock(pic->lock());
  std::lock_guard display(Display.lock());
  {
    // The effects read the starting picture while they draw.
    std::lock_guard old(oldPic->lock());
    TFrameHooks hooks;
    if (fOnBeforeNewFrame) hooks.BeforeDraw = [&] { FireBeforeNewFrame(*pic, Display); };
    hooks.CustomDraw = [&] { FireCustomDraw(*pic, Display); };
    DrawFrame(Display, *oldPic, *pic, PicRect, fStyle, fProgress, fEffects,
              fTransition * 2654435761u, hooks);
  }
  FireAfterNewFrame(*pic, Display);
}

void TCustomSlideView::Present() {
  raster::Rect area;
  {
    std::lock_guard cs(CS);
    std::lock_guard display(Display.lock());
    raster::Bitmap& canvas = fParent.Canvas();
    std::lock_guard canvasLock(canvas.lock());
    raster::SavedDrawingState saved(canvas);
    raster::Surface surface(canvas);
    surface.remove_clip();
    surface.set_origin({fBounds.Left, fBounds.Top});
    surface.intersect_clip_rect(ClientRect());
    raster::StretchBlit(canvas, DisplayRect, Display, PicRect);
    area = DisplayRect.translated(fBounds.Left, fBounds.Top).intersected(fBounds);
  }
  // The frame is on the canvas already: no paint of that area should follow.
  fParent.Validate(area);
  fParent.RequestUpload(area);
}

void TCustomSlideView::StartFrameTimer() {
  if (TimerID != 0) return;
  platform::TTimeCaps caps;
  if (!fTimer->GetDevCaps(caps)) caps = {0, 0};
  std::uint32_t delay = fDelay;
  if (delay > caps.wPeriodMax) delay = caps.wPeriodMax;
  TimerResolution = delay / 10;
  if (TimerResolution < caps.wPeriodMin) {
    TimerResolution = caps.wPeriodMin;
    if (delay < caps.wPeriodMin) delay = std::min<std::uint32_t>(caps.wPeriodMin, UINT16_MAX);
  }
  fDelay = static_cast<std::uint16_t>(delay);
  if (delay == 0) return;
  fTimer->BeginPeriod(TimerResolution);
  if (fTimer->Start(delay, TimerResolution, [this] { FrameTimerProc(); })) {
    TimerID = 1;
  } else {
    fTimer->EndPeriod(TimerResolution);
  }
}

void TCustomSlideView::FrameTimerProc() {
  if (AdvanceProgress()) return;
  // The UI thread releases the timer when it handles the finish (FinishTransition); from here
  // the timer only ends itself, so no further tick starts.
  fTimer->Stop();
  fHandle->Post(MSG_TRANSITION_FINISHED, static_cast<std::intptr_t>(fTransition.load()));
}

void TCustomSlideView::StopFrameTimer() {
  if (TimerID.exchange(0) == 0) return;
  fTimer->Stop();
  fTimer->EndPeriod(TimerResolution);
  std::this_thread::yield();
  // A tick that got into CS before the timer stopped has finished once we get through.
  std::lock_guard cs(CS);
}

void TCustomSlideView::FinishTransition() {
  StopFrameTimer();
  fBusy = false;
  ReleaseBitmaps();
  if (fDestroying) return;
  if (!Stopping) FireComplete();
  FireStop();
}

void TCustomSlideView::Stop() {
  if (!fBusy || Stopping) return;
  Stopping = true;
  base::TScopeGuard clear([this] { Stopping = false; });
  StopFrameTimer();
  FinishTransition();
}

void TCustomSlideView::WMMessage(const platform::TMessage& message) {
  const bool current =
      static_cast<std::uint32_t>(message.WParam) == fTransition.load() && fBusy;
  if (!current) return;  // left over from a transition that was stopped
  switch (message.Msg) {
    case MSG_TRANSITION_FINISHED:
      FinishTransition();
      break;
    case MSG_PROGRESS_CHANGED:
      FireProgress();
      break;
  }
}

std::uint32_t TCustomSlideView::TickCount() const { return platform::GetTickCount(); }

// --- Event dispatchers ---

void TCustomSlideView::FireChange() {
  if (fOnChange) fOnChange(*this);
}

void TCustomSlideView::FireProgress() {
  if (fOnProgress) fOnProgress(*this);
}

void TCustomSlideView::FireCustomDraw(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (fOnCustomDraw) fOnCustomDraw(*this, Picture, Screen);
}

void TCustomSlideView::FireBeforeNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (fOnBeforeNewFrame) fOnBeforeNewFrame(*this, Picture, Screen);
}

void TCustomSlideView::FireAfterNewFrame(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (fOnAfterNewFrame) fOnAfterNewFrame(*this, Picture, Screen);
}

void TCustomSlideView::FireComplete() {
  if (fOnComplete) fOnComplete(*this);
}

void TCustomSlideView::FireStart(raster::Bitmap& Picture, raster::Bitmap& Screen) {
  if (fOnStart) fOnStart(*this, Picture, Screen);
}

void TCustomSlideView::FireStop() {
  if (fOnStop) fOnStop(*this);
}

}  // namespace pavona::slideview
