#include "platform/window.h"

namespace pavona::platform {

namespace {

enum : std::uint32_t { kKeyDown = 1, kMouseDown, kClose, kPaint, kUpload, kMouseMove };

// Mouse positions travel as two signed 16-bit halves of one parameter, as in window messages.
std::intptr_t PackPoint(int x, int y) {
  return static_cast<std::intptr_t>((static_cast<std::uint32_t>(x) & 0xFFFF) |
                                    ((static_cast<std::uint32_t>(y) & 0xFFFF) << 16));
}

int LowWord(std::intptr_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
int HighWord(std::intptr_t v) { return static_cast<std::int16_t>((v >> 16) & 0xFFFF); }

}  // namespace

TWindow::TWindow(TEventLoop& loop)
    : FLoop(loop), FTarget(loop, [this](const TMessage& message) { Dispatch(message); }) {}

TWindow::~TWindow() = default;

void TWindow::Dispatch(const TMessage& message) {
  switch (message.Msg) {
    case kKeyDown:
      if (OnKeyDown) {
        OnKeyDown(static_cast<TVirtualKey>(message.WParam), static_cast<TShiftState>(message.LParam));
      }
      break;
    case kMouseDown:
      if (OnMouseDown) {
        OnMouseDown(static_cast<TMouseButton>(message.WParam & 0xFF),
                    static_cast<TShiftState>(message.WParam >> 8), LowWord(message.LParam),
                    HighWord(message.LParam));
      }
      break;
    case kMouseMove:
      if (OnMouseMove) OnMouseMove(LowWord(message.LParam), HighWord(message.LParam));
      break;
    case kClose:
      if (OnClose) {
        OnClose();
      } else {
        FLoop.PostQuit(0);
      }
      break;
    case kPaint:
      Paint();
      break;
    case kUpload:
      Upload();
      break;
  }
}

void TWindow::SetCaption(const std::string& caption) {
  FCaption = caption;
  SetNativeCaption(caption);
}

void TWindow::Show() {
  if (FVisible) return;
  FVisible = true;
  ShowNative();
  Invalidate();
}

raster::Size TWindow::ClientSize() const {
  std::lock_guard lock(FStateMutex);
  return FClientSize;
}

raster::Rect TWindow::ClientRect() const {
  const raster::Size size = ClientSize();
  return {0, 0, size.Width, size.Height};
}

void TWindow::Invalidate(const raster::Rect& area) {
  if (!FVisible) return;  // Show() paints everything
  bool post = false;
  {
    std::lock_guard lock(FStateMutex);
    const raster::Rect clipped = area.intersected({0, 0, FClientSize.Width, FClientSize.Height});
    if (clipped.is_empty()) return;
    FInvalid = FInvalid.united(clipped);
    post = !FPaintPending;
    FPaintPending = true;
  }
  if (post) FTarget.Post(kPaint);
}

void TWindow::Validate(const raster::Rect& area) {
  std::lock_guard lock(FStateMutex);
  if (area.contains(FInvalid)) FInvalid = {};
}

void TWindow::RequestUpload(const raster::Rect& area) {
  bool post = false;
  {
    std::lock_guard lock(FStateMutex);
    const raster::Rect clipped = area.intersected({0, 0, FClientSize.Width, FClientSize.Height});
    if (clipped.is_empty()) return;
    FUploadArea = FUploadArea.united(clipped);
    post = !FUploadPending;
    FUploadPending = true;
  }
  if (post) FTarget.Post(kUpload);
}

void TWindow::PostKeyDown(TVirtualKey key, TShiftState shift) { FTarget.Post(kKeyDown, key, shift); }

void TWindow::PostMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  FTarget.Post(kMouseDown, static_cast<std::intptr_t>(button) | (static_cast<std::intptr_t>(shift) << 8),
               PackPoint(x, y));
}

void TWindow::PostMouseMove(int x, int y) { FTarget.Post(kMouseMove, 0, PackPoint(x, y)); }

void TWindow::SetPointerVisible(bool visible) {
  if (visible == FPointerVisible) return;
  FPointerVisible = visible;
  SetNativePointerVisible(visible);
}

void TWindow::PostClose() { FTarget.Post(kClose); }

void TWindow::SetClientSize(raster::Size size) {
  {
    std::lock_guard canvasLock(FCanvas.lock());
    std::lock_guard lock(FStateMutex);
    if (size == FClientSize) return;
    FClientSize = size;
    FCanvas.resize(size.Width, size.Height);
    FInvalid = {};
    FUploadArea = {};
  }
  if (OnResize) OnResize();
  Invalidate();
}

void TWindow::Exposed() { RequestUpload(ClientRect()); }

void TWindow::Paint() {
  raster::Rect area;
  {
    std::lock_guard lock(FStateMutex);
    area = FInvalid;
    FInvalid = {};
    FPaintPending = false;
  }
  if (area.is_empty()) return;
  if (OnPaint) {
    OnPaint(area);
  } else {
    std::lock_guard canvasLock(FCanvas.lock());
    const raster::Rect clipped = area.intersected(FCanvas.bounds());
    for (int y = clipped.Top; y < clipped.Bottom; ++y) {
      raster::Pixel* row = FCanvas.scanline(y);
      std::fill(row + clipped.Left, row + clipped.Right, FColor);
    }
  }
  std::lock_guard canvasLock(FCanvas.lock());
  const raster::Rect clipped = area.intersected(FCanvas.bounds());
  if (!clipped.is_empty()) UploadToScreen(clipped);
}

void TWindow::Upload() {
  raster::Rect area;
  {
    std::lock_guard lock(FStateMutex);
    area = FUploadArea;
    FUploadArea = {};
    FUploadPending = false;
  }
  std::lock_guard canvasLock(FCanvas.lock());
  const raster::Rect clipped = area.intersected(FCanvas.bounds());
  if (!clipped.is_empty()) UploadToScreen(clipped);
}

}  // namespace pavona::platform
