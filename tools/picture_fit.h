// Making pictures no larger than a box, for `pack --fit`: the size that keeps the aspect ratio,
// and a scaling that averages the source area each target pixel covers (no pixel is dropped, so
// fine detail turns into its mean colour instead of aliasing).
#pragma once

#include "raster/bitmap.h"
#include "raster/geometry.h"

namespace pavona::tools {

// The largest size within box with the picture's aspect ratio (rounded, at least 1 × 1); the
// picture's own size when it fits already.
raster::Size FitWithin(raster::Size picture, raster::Size box);

// The source scaled down to size (no larger than the source in either direction) by area
// averaging.
raster::Bitmap ScaleDownByArea(const raster::Bitmap& source, raster::Size size);

}  // namespace pavona::tools
