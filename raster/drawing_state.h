// What a bitmap's drawing surface remembers between calls: its clipping region and the origin of
// its logical coordinates. Plain data kept inside each Bitmap; Surface is the interface to it.
#pragma once

#include <optional>

#include "raster/geometry.h"
#include "raster/region.h"

namespace pavona::raster {

struct DrawingState {
  // In bitmap pixels. Without a clip every pixel of the bitmap may be drawn; with one, only the
  // pixels of the region (an empty region lets nothing through).
  std::optional<Region> clip;
  // Logical (x, y) is drawn at bitmap pixel (x + origin.X, y + origin.Y).
  Point origin;

  friend bool operator==(const DrawingState&, const DrawingState&) = default;
};

}  // namespace pavona::raster
