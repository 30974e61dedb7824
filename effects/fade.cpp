#include "effects/fade.h"

#include <cstddef>

#include "slideview/mul_div.h"

namespace pavona::effects {

void BlendPixels(raster::Pixel* display, const raster::Pixel* image, std::size_t count,
                 std::uint32_t a) {
  // o + floor((n − o) × a / 256) = floor((o × (256 − a) + n × a) / 256): the same value with
  // only unsigned terms, and at most 255 × 256, so it fits the 16-bit lanes the vectoriser uses.
  // The weights repeat every four bytes; the fourth byte gets (256, 0) and keeps its value. A
  // block of 16 bytes is one SSE register.
  constexpr std::size_t kLanes = 16;
  std::uint16_t keep[kLanes];
  std::uint16_t take[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    const bool colour = k % 4 != 3;
    take[k] = static_cast<std::uint16_t>(colour ? a : 0);
    keep[k] = static_cast<std::uint16_t>(colour ? 256 - a : 256);
  }
  auto* __restrict d = reinterpret_cast<std::uint8_t*>(display);
  const auto* __restrict s = reinterpret_cast<const std::uint8_t*>(image);
  const std::size_t bytes = count * sizeof(raster::Pixel);
  std::size_t i = 0;
  for (; i + kLanes <= bytes; i += kLanes) {
    for (std::size_t k = 0; k < kLanes; ++k) {
      d[i + k] = static_cast<std::uint8_t>(
          static_cast<std::uint16_t>(d[i + k] * keep[k] + s[i + k] * take[k]) >> 8);
    }
  }
  for (; i < bytes; ++i) {
    const std::size_t k = i % kLanes;
    d[i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(d[i] * keep[k] + s[i] * take[k]) >> 8);
  }
}

void Fade(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W, std::int32_t H,
          std::int32_t /*X*/, std::int32_t /*Y*/, std::int32_t Progress) {
  const std::int32_t a = slideview::MulDiv(256, Progress, 100);
  const std::size_t count = static_cast<std::size_t>(W) * static_cast<std::size_t>(H);
  BlendPixels(Display.data(), Image.data(), count, static_cast<std::uint32_t>(a));
}

}  // namespace pavona::effects
