#include "effects/fade.h"

#include <cstddef>

#include "slideview/mul_div.h"

namespace pavona::effects {

void BlendPixels(raster::Pixel* display, const raster::Pixel* image, std::size_t count,
                 std::uint32_t a) {
  auto* __restrict d = reinterpret_cast<std::uint8_t*>(display);
  const auto* __restrict s = reinterpret_cast<const std::uint8_t*>(image);
  const std::size_t bytes = count * sizeof(raster::Pixel);
  if (a >= 256) {  // the whole way: the new colours
    for (std::size_t i = 0; i < bytes; ++i) {
      if (i % 4 != 3) d[i] = s[i];
    }
    return;
  }
  // floor((n − o) × a / 256) = floor(2(n − o) × 128a / 65536): both factors fit 16 signed bits
  // (|2(n − o)| <= 510, 128a <= 32640), so the vectoriser uses one high-half multiply per eight
  // bytes. The weights repeat every four bytes; the fourth byte gets 0 and keeps its value. A
  // block of 16 bytes is one SSE register.
  constexpr std::size_t kLanes = 16;
  std::int16_t weight[kLanes];
  for (std::size_t k = 0; k < kLanes; ++k) {
    weight[k] = static_cast<std::int16_t>(k % 4 != 3 ? a * 128 : 0);
  }
  auto blend = [](std::uint8_t o, std::uint8_t n, std::int16_t w) {
    const auto diff = static_cast<std::int16_t>((n - o) * 2);
    return static_cast<std::uint8_t>(o + static_cast<std::int16_t>((diff * w) >> 16));
  };
  std::size_t i = 0;
  for (; i + kLanes <= bytes; i += kLanes) {
    for (std::size_t k = 0; k < kLanes; ++k) d[i + k] = blend(d[i + k], s[i + k], weight[k]);
  }
  for (; i < bytes; ++i) d[i] = blend(d[i], s[i], weight[i % kLanes]);
}

void Fade(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W, std::int32_t H,
          std::int32_t /*X*/, std::int32_t /*Y*/, std::int32_t Progress) {
  const std::int32_t a = slideview::MulDiv(256, Progress, 100);
  const std::size_t count = static_cast<std::size_t>(W) * static_cast<std::size_t>(H);
  BlendPixels(Display.data(), Image.data(), count, static_cast<std::uint32_t>(a));
}

}  // namespace pavona::effects
