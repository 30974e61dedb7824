// Region steps shared by the region-based effects.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>

#include "raster/bitmap.h"
#include "raster/region.h"

namespace pavona::transition {

// A polygon region from a flat list x1, y1, x2, y2, … in picture pixels, filled by the winding
// rule. An odd trailing coordinate is ignored.
raster::Region MakePolygonRegion(std::span<const std::int32_t> Coords);
inline raster::Region MakePolygonRegion(std::initializer_list<std::int32_t> Coords) {
  return MakePolygonRegion(std::span<const std::int32_t>(Coords.begin(), Coords.size()));
}

// Copies Image (0, 0, W, H) onto Display at (0, 0) through Region, leaving Display without a
// clip afterwards, also when the copy fails.
void CopyThroughRegion(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W,
                       std::int32_t H, const raster::Region& Region);

}  // namespace pavona::transition
