#include "effects/fade.h"

#include <cstddef>

#include "effects/pixel_loop.h"
#include "slideview/mul_div.h"

namespace pavona::effects {

// o + floor((n − o) × a / 256) = floor((o × (256 − a) + n × a) / 256), because o × 256 is a
// multiple of 256. The weighted sum of one byte is at most 255 × 256, so red and blue computed
// together in the 16-bit halves of one word never carry into each other, and green fits above
// them: three multiplies a pixel, all in plain 32-bit lanes that vectorise on any target.
PAVONA_PIXEL_LOOP
void BlendPixels(raster::Pixel* __restrict display, const raster::Pixel* __restrict image,
                 std::size_t count, std::uint32_t a) {
  const std::uint32_t b = 256 - a;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t o = display[i];
    const std::uint32_t n = image[i];
    const std::uint32_t redBlue = (((o & 0xFF00FFu) * b + (n & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
    const std::uint32_t green = (((o & 0x00FF00u) * b + (n & 0x00FF00u) * a) >> 8) & 0x00FF00u;
    display[i] = redBlue | green | (o & 0xFF000000u);
  }
}

void Fade(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W, std::int32_t H,
          std::int32_t /*X*/, std::int32_t /*Y*/, std::int32_t Progress) {
  const std::int32_t a = slideview::MulDiv(256, Progress, 100);
  const std::size_t count = static_cast<std::size_t>(W) * static_cast<std::size_t>(H);
  BlendPixels(Display.data(), Image.data(), count, static_cast<std::uint32_t>(a));
}

}  // namespace pavona::effects
