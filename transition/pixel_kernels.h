// Pixel loops that several effects share, written for the vectoriser.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/bitmap.h"

namespace pavona::transition {

// out[i] := from[i] + floor((to[i] − from[i]) × a / 256) per colour byte, a from 0 to 256; the
// fourth byte keeps from's value. out may be from itself.
void BlendPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, std::uint32_t a);

}  // namespace pavona::transition
