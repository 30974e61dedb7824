// A graphic decoded into pixels: the common ground of every decoder. The pixels are kept in a
// 32-bit bitmap whose fourth byte is the alpha of the pixel when the graphic has alpha (0 fully
// transparent, 255 opaque) and is ignored otherwise. Masks and transparent colours are stored as
// alpha 0 and 255, so drawing needs only the one rule.
#pragma once

#include "raster/bitmap.h"
#include "pictures/graphic.h"

namespace pavona::pictures {

// The largest picture any decoder accepts, so a hostile header cannot make us allocate without
// bound: 16384 pixels a side and 128 megapixels (512 MB at four bytes a pixel), which still
// admits the photos of large camera sensors. Decoders check it before allocating pixels.
constexpr int kMaxGraphicSide = 16384;
constexpr long long kMaxGraphicPixels = 1LL << 27;
// True when width x height pixels may be allocated.
bool IsAcceptableGraphicSize(long long width, long long height);

class TRasterGraphic : public TGraphic {
 public:
  int Width() const override { return FPixels.width(); }
  int Height() const override { return FPixels.height(); }

  const raster::Bitmap& Pixels() const { return FPixels; }
  bool HasAlpha() const { return FHasAlpha; }

 protected:
  // Installs decoded pixels and fires OnChange.
  void SetPixels(raster::Bitmap pixels, bool hasAlpha);
  void CopyPixelsFrom(const TRasterGraphic& source);
  void DoDraw(raster::Bitmap& canvas, const raster::Rect& dest,
              const raster::Rect& clip) const override;

 private:
  raster::Bitmap FPixels;
  bool FHasAlpha = false;
};

}  // namespace pavona::pictures
