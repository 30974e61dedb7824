// A decoded picture (TGraphic) and the error class of picture decoding. A graphic knows its size,
// loads itself from a stream and draws itself onto a 32-bit bitmap, honouring its transparency:
// opaque pixels are copied exactly, transparent ones leave the bitmap as it was, and partly
// transparent ones are blended over it.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/stream.h"
#include "raster/bitmap.h"
#include "raster/geometry.h"

namespace pavona::pictures {

// A file the decoder of its kind cannot accept.
class EInvalidGraphic : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TGraphic {
 public:
  TGraphic() = default;
  virtual ~TGraphic() = default;
  TGraphic(const TGraphic&) = delete;
  TGraphic& operator=(const TGraphic&) = delete;

  virtual int Width() const = 0;
  virtual int Height() const = 0;
  bool Empty() const { return Width() <= 0 || Height() <= 0; }

  // Replaces the contents by a picture decoded from the stream, read from its current position.
  // On failure raises the decoder's error and leaves the graphic as it was.
  virtual void LoadFromStream(platform::TStream& stream) = 0;

  // A new graphic of the same kind holding the same picture (no notifications attached).
  virtual std::unique_ptr<TGraphic> Clone() const = 0;

  // Draws the graphic into dest on the canvas: at natural size when dest has the graphic's size,
  // otherwise stretched by nearest neighbour. Like any drawing on the canvas it honours the
  // canvas's drawing state: dest and clip are logical coordinates (shifted by the origin), and
  // only pixels inside the canvas's clip region, the bitmap and clip are touched. An empty or
  // inverted dest draws nothing. The caller holds the canvas's lock if it is shared.
  void Draw(raster::Bitmap& canvas, const raster::Rect& dest, const raster::Rect& clip) const;
  void Draw(raster::Bitmap& canvas, const raster::Rect& dest) const;
  // At natural size with the top-left corner at the given point.
  void Draw(raster::Bitmap& canvas, raster::Point at) const;

  // Fired after the picture changed (a completed load).
  const std::function<void()>& OnChange() const { return FOnChange; }
  void SetOnChange(std::function<void()> handler) { FOnChange = std::move(handler); }
  // Fired by decoders while loading, with the percentage done.
  const std::function<void(int)>& OnProgress() const { return FOnProgress; }
  void SetOnProgress(std::function<void(int)> handler) { FOnProgress = std::move(handler); }

 protected:
  // In bitmap pixels: dest is non-empty; clip is non-empty and lies inside the canvas and dest.
  virtual void DoDraw(raster::Bitmap& canvas, const raster::Rect& dest,
                      const raster::Rect& clip) const = 0;
  void Changed() const;

 private:
  std::function<void()> FOnChange;
  std::function<void(int)> FOnProgress;
};

}  // namespace pavona::pictures
