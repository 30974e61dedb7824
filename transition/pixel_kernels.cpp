#include "transition/pixel_kernels.h"

#include "transition/pixel_loop.h"

namespace pavona::transition {

namespace {

// o + floor((n − o) × a / 256) = floor((o × (256 − a) + n × a) / 256), because o × 256 is a
// multiple of 256. The weighted sum of one byte is at most 255 × 256, so red and blue computed
// together in the 16-bit halves of one word never carry into each other, and green fits above
// them: three multiplies a pixel, all in plain 32-bit lanes that vectorise on any target.
inline std::uint32_t Blend(std::uint32_t o, std::uint32_t n, std::uint32_t a, std::uint32_t b) {
  const std::uint32_t redBlue = (((o & 0xFF00FFu) * b + (n & 0xFF00FFu) * a) >> 8) & 0xFF00FFu;
  const std::uint32_t green = (((o & 0x00FF00u) * b + (n & 0x00FF00u) * a) >> 8) & 0x00FF00u;
  return redBlue | green | (o & 0xFF000000u);
}

// Separate loops for the two cases, so that each carries its own no-alias promise to the
// vectoriser instead of a run-time overlap check.
PAVONA_PIXEL_LOOP
void BlendInto(raster::Pixel* __restrict out, const raster::Pixel* __restrict from,
               const raster::Pixel* __restrict to, std::size_t count, std::uint32_t a) {
  const std::uint32_t b = 256 - a;
  for (std::size_t i = 0; i < count; ++i) out[i] = Blend(from[i], to[i], a, b);
}

PAVONA_PIXEL_LOOP
void BlendInPlace(raster::Pixel* __restrict inout, const raster::Pixel* __restrict to,
                  std::size_t count, std::uint32_t a) {
  const std::uint32_t b = 256 - a;
  for (std::size_t i = 0; i < count; ++i) inout[i] = Blend(inout[i], to[i], a, b);
}

}  // namespace

void BlendPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, std::uint32_t a) {
  if (out == from) {
    BlendInPlace(out, to, count, a);
  } else {
    BlendInto(out, from, to, count, a);
  }
}

}  // namespace pavona::transition
