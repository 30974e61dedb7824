// The device-context state a metafile plays against: the graphics objects it creates and
// selects (pens, brushes, fonts, regions), the modes and colours, the coordinate mapping
// (mapping mode, window and viewport, world transform) and the clip.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "pictures/metafile_geometry.h"
#include "raster/bitmap.h"
#include "raster/region.h"

namespace pavona::pictures {

// Pen styles (the low bits) and the bits of an extended pen.
enum : std::uint32_t {
  kPsSolid = 0,
  kPsDash = 1,
  kPsDot = 2,
  kPsDashDot = 3,
  kPsDashDotDot = 4,
  kPsNull = 5,
  kPsInsideFrame = 6,
  kPsUserStyle = 7,
  kPsStyleMask = 0xF,
  kPsEndCapMask = 0xF00,
  kPsEndCapSquare = 0x100,
  kPsEndCapFlat = 0x200,
  kPsGeometric = 0x10000,
};

enum : std::uint32_t { kBsSolid = 0, kBsNull = 1, kBsHatched = 2, kBsPattern = 3,
                       kBsDibPattern = 5, kBsDibPatternPt = 6 };

struct TPen {
  std::uint32_t Style = kPsSolid;
  double Width = 0;       // logical units; 0 is one pixel
  bool Cosmetic = true;   // one pixel whatever the width
  raster::Pixel Colour = 0;
  std::vector<double> UserDashes;  // logical units, for kPsUserStyle
};

struct TBrush {
  std::uint32_t Style = kBsSolid;
  raster::Pixel Colour = 0x00FFFFFF;
  int Hatch = 0;
  std::shared_ptr<const raster::Bitmap> Pattern;
};

struct TFont {
  int Height = 0;       // logical; negative: the em height, positive: the cell height
  int Width = 0;
  int Escapement = 0;   // tenths of a degree, counter-clockwise
  int Weight = 400;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int CharSet = 0;
  std::string FaceName;
};

// A region object of a metafile, in logical units.
struct TRegionObject {
  std::vector<raster::Rect> Rects;
};

// Palettes and other objects we keep only so their slots are taken and freed.
struct TOtherObject {};

using TObject = std::variant<std::monostate, TPen, TBrush, TFont, TRegionObject, TOtherObject>;

// Mapping modes, as the records number them.
enum : int { kMmText = 1, kMmLoMetric, kMmHiMetric, kMmLoEnglish, kMmHiEnglish, kMmTwips,
             kMmIsotropic, kMmAnisotropic };

struct TDcState {
  TPen Pen;
  TBrush Brush;
  TFont Font;
  raster::Pixel TextColour = 0;
  raster::Pixel BkColour = 0x00FFFFFF;
  bool BkOpaque = true;
  raster::FillMode PolyFillMode = raster::FillMode::Alternate;
  int MixMode = 13;  // R2_COPYPEN
  std::uint32_t TextAlign = 0;
  bool ArcClockwise = false;

  int MapMode = kMmText;
  TPointF WindowOrg{0, 0};
  TPointF WindowExt{1, 1};
  TPointF ViewportOrg{0, 0};
  TPointF ViewportExt{1, 1};
  TMatrix World;

  TPointF Current;                     // logical
  std::optional<raster::Region> Clip;  // bitmap pixels; none: everything
};

}  // namespace pavona::pictures
