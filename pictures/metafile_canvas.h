// The drawing end of metafile playback: fills, thin lines and images written into the target
// bitmap in bitmap pixels, confined to the area the graphic may draw (its destination within the
// caller's clip) and to the metafile's own clip region, combined with what is there by the
// current mix mode.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "pictures/metafile_geometry.h"
#include "raster/bitmap.h"
#include "raster/region.h"

namespace pavona::pictures {

// What paints an area: a colour, a hatch over an optional background, or a tiled pattern.
struct TFill {
  enum class TKind { Solid, Hatch, Pattern };
  TKind Kind = TKind::Solid;
  raster::Pixel Colour = 0;
  int Hatch = 0;                      // HS_* style of a hatch
  bool OpaqueBackground = false;      // a hatch fills its gaps with Background
  raster::Pixel Background = 0;
  std::shared_ptr<const raster::Bitmap> Pattern;
  raster::Point PatternOrigin;        // bitmap pixel where the pattern's top-left corner lies

  static TFill Solid(raster::Pixel colour) {
    TFill fill;
    fill.Colour = colour;
    return fill;
  }

  raster::Pixel At(int x, int y) const;
  // False where a hatch leaves the pixel alone.
  bool Covers(int x, int y) const;
};

// The pen pattern of a thin line, carried from one segment to the next; empty is solid.
struct TDash {
  std::vector<int> Lengths;  // on, off, on, off ... in pixels
  std::size_t Index = 0;
  int Done = 0;

  bool On() const { return Lengths.empty() || Index % 2 == 0; }
  void Advance();
};

class TMetafileCanvas {
 public:
  TMetafileCanvas(raster::Bitmap& target, const raster::Rect& area);

  const raster::Rect& Area() const { return FArea; }
  // The pixels drawing may reach: the area, cut down by the metafile's clip.
  const raster::Region& Clip() const { return FClip; }
  // clip in bitmap pixels, or null for none.
  void SetClip(const raster::Region* clip);
  // R2_* mix mode of pens and brushes.
  void SetMixMode(int mode) { FMixMode = mode; }

  void Fill(const raster::Region& region, const TFill& fill);
  // The pixels inside the contours (bitmap pixels) by the fill mode, within the clip, or within
  // the whole area when not toClip.
  raster::Region PolygonRegion(std::span<const TContour> contours, raster::FillMode mode,
                               bool toClip = true) const;
  // A one-pixel line from a to b, b itself excluded, as a pen draws it.
  void Line(TPointF a, TPointF b, raster::Pixel colour, TDash& dash);
  void Plot(int x, int y, raster::Pixel colour);

  // Maps the source block of image (columns sx.. sx + sw, rows sy.. sy + sh, top-down rows,
  // negative extents mirror) onto the parallelogram at corner with sides alongX and alongY, and
  // combines each pixel with the brush and the pixel below by the ternary raster operation rop.
  // Without an image only the brush and the pixel below take part. constantAlpha below 255 or a
  // per-pixel alpha blends instead.
  struct TImageDraw {
    const raster::Bitmap* Image = nullptr;
    bool PixelAlpha = false;
    int ConstantAlpha = -1;  // -1: raster operation, otherwise alpha blending
    double Sx = 0, Sy = 0, Sw = 0, Sh = 0;
    TPointF Corner, AlongX, AlongY;
    std::uint32_t Rop = 0x00CC0020;
    const TFill* Brush = nullptr;
  };
  void DrawImage(const TImageDraw& draw);

 private:
  void Put(raster::Pixel* row, int x, raster::Pixel colour) const;

  raster::Bitmap& FTarget;
  raster::Rect FArea;
  raster::Region FClip;
  int FMixMode = 13;  // R2_COPYPEN
};

// d combined with p by the R2_* mix mode.
raster::Pixel Mix(int mode, raster::Pixel p, raster::Pixel d);
// The ternary raster operation of rop (its operation byte) on pattern, source and destination.
raster::Pixel Rop3(std::uint32_t rop, raster::Pixel p, raster::Pixel s, raster::Pixel d);

}  // namespace pavona::pictures
