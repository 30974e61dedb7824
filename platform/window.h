// The main window: borderless, full screen, black, with a caption, input events and a canvas.
//
// Canvas: a raster::Bitmap of the client size that stands for the window's pixels. Anyone who
// draws into it (painting on the UI thread, frame presentation on the frame-timer thread) holds
// Canvas().lock() while drawing; take it after your own locks (e.g. after a control's CS and its
// bitmaps' locks). Only the UI thread resizes the canvas (under its lock, contents black).
// What is in the canvas reaches the screen when it is uploaded:
// - Invalidate(r) (UI thread) schedules a paint: OnPaint(update rectangle) runs on the UI thread,
//   then the painted area is uploaded. Several invalidations before the paint merge into one.
//   A hidden window does not paint; Show() paints the whole client area.
//   Without OnPaint, the update rectangle is filled with Color().
// - Validate(r) (any thread) drops a scheduled paint whose area lies inside r (the frame there was
//   presented already).
// - RequestUpload(r) (any thread) asks the UI thread to upload r as the canvas holds it, without
//   painting. Requests merge while one upload is pending; at most one upload is pending at a time.
// Input and close events are dispatched on the UI thread through the On* members; an unassigned
// member is skipped, except OnClose, whose absence posts the quit request with exit code 0.
// Key-down events carry virtual-key codes (keys.h) and come for every key, auto-repeats included;
// each mouse press is one event, both presses of a double click included; mouse motion comes as
// OnMouseMove with the pointer's client position.
// Pointer: SetPointerVisible shows or hides the mouse pointer over the window (UI thread).
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "platform/event_loop.h"
#include "platform/keys.h"
#include "raster/bitmap.h"
#include "raster/geometry.h"

namespace pavona::platform {

class TWindow {
 public:
  explicit TWindow(TEventLoop& loop);
  virtual ~TWindow();
  TWindow(const TWindow&) = delete;
  TWindow& operator=(const TWindow&) = delete;

  TEventLoop& Loop() { return FLoop; }

  // UI thread.
  void SetCaption(const std::string& caption);
  const std::string& Caption() const { return FCaption; }
  void SetColor(raster::Pixel color) { FColor = color; }
  raster::Pixel Color() const { return FColor; }
  // Shows the window full screen; the first paint of the whole client area follows.
  void Show();
  bool Visible() const { return FVisible; }
  void SetPointerVisible(bool visible);
  bool PointerVisible() const { return FPointerVisible; }

  // Any thread.
  raster::Size ClientSize() const;
  raster::Rect ClientRect() const;
  raster::Bitmap& Canvas() { return FCanvas; }

  void Invalidate(const raster::Rect& area);  // UI thread
  void Invalidate() { Invalidate(ClientRect()); }
  void Validate(const raster::Rect& area);       // any thread
  void RequestUpload(const raster::Rect& area);  // any thread

  // Events, dispatched on the UI thread.
  std::function<void(TVirtualKey key, TShiftState shift)> OnKeyDown;
  std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void()> OnClose;
  std::function<void(const raster::Rect& update)> OnPaint;
  std::function<void()> OnResize;

  // Backends: queue an input event as posted work, in arrival order (any thread).
  void PostKeyDown(TVirtualKey key, TShiftState shift);
  void PostMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  void PostMouseMove(int x, int y);
  void PostClose();

 protected:
  // Backends, UI thread: the client area has this size now (canvas cleared, OnResize, repaint).
  void SetClientSize(raster::Size size);
  // Backends, UI thread: the native window's contents were lost; upload the canvas again.
  void Exposed();
  // Backends, UI thread, called with the canvas locked: copy the area of the canvas to the screen.
  virtual void UploadToScreen(const raster::Rect& area) = 0;
  virtual void ShowNative() = 0;
  virtual void SetNativeCaption(const std::string& caption) = 0;
  virtual void SetNativePointerVisible(bool visible) = 0;

 private:
  void Dispatch(const TMessage& message);
  void Paint();
  void Upload();

  TEventLoop& FLoop;
  TMessageTarget FTarget;  // posted input, paint and upload requests; dropped once the window is gone
  std::string FCaption;
  raster::Pixel FColor = 0;  // black
  bool FVisible = false;
  bool FPointerVisible = true;
  raster::Bitmap FCanvas;
  mutable std::mutex FStateMutex;  // guards the rectangles and flags below
  raster::Size FClientSize;
  raster::Rect FInvalid;
  bool FPaintPending = false;
  raster::Rect FUploadArea;
  bool FUploadPending = false;
};

}  // namespace pavona::platform
