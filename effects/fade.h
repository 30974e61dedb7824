// The fade (style 119): every pixel moves from its old colour toward its new one by the same
// fraction of the way.
#pragma once

#include <cstdint>

#include "raster/bitmap.h"

namespace pavona::effects {

// Blends count pixels of image into display with weight a out of 256 per colour byte:
// o := o + floor((n − o) × a / 256). The fourth byte of display keeps its value.
void BlendPixels(raster::Pixel* display, const raster::Pixel* image, std::size_t count,
                 std::uint32_t a);

void Fade(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W, std::int32_t H,
          std::int32_t X, std::int32_t Y, std::int32_t Progress);

}  // namespace pavona::effects
