#include "effects/pivots.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>

#include "raster/bitmap.h"

namespace pavona::effects {

namespace {

// Every pixel (x, yb) of Dest, yb counted from the bottom, shows the pixel of Source that lies
// under it once Source is turned by Angle about the hinge (PX, PY), in 16.16 fixed point; where
// that falls outside Source it shows Start's own pixel. The sums are kept in 64 bits, so large
// pictures turn as small ones do instead of wrapping.
void RotateImage(raster::Bitmap& Dest, const raster::Bitmap& Source, const raster::Bitmap& Start,
                 std::int32_t PX, std::int32_t PY, long double Angle) {
  const auto S = static_cast<std::int64_t>(std::trunc(std::sin(-Angle) * 65536.0L));
  const auto C = static_cast<std::int64_t>(std::trunc(std::cos(-Angle) * 65536.0L));
  const std::int32_t w = Dest.width();
  const std::int32_t h = Dest.height();
  const raster::Pixel* source = Source.data();
  // Storage rows run bottom-up, so storage row yb is the row yb of these coordinates.
  for (std::int32_t yb = 0; yb < h; ++yb) {
    const std::int64_t dy = yb + 1 - PY;
    const std::int64_t dx0 = 1 - PX;
    std::int64_t u = dx0 * C - dy * S;
    std::int64_t v = dx0 * S + dy * C;
    raster::Pixel* out = Dest.data() + static_cast<std::size_t>(yb) * w;
    const raster::Pixel* start = Start.data() + static_cast<std::size_t>(yb) * w;
    for (std::int32_t x = 0; x < w; ++x, u += C, v += S) {
      const std::int64_t sx = PX + (u >> 16);
      const std::int64_t sy = PY + (v >> 16);
      out[x] = (sx >= 0 && sx < w && sy >= 0 && sy < h)
                   ? source[static_cast<std::size_t>(sy) * w + static_cast<std::size_t>(sx)]
                   : start[x];
    }
  }
}

// A quarter turn at progress 0, none at 100; opening is the sign that turns the picture away
// from the frame on the side it swings in from.
long double PivotAngle(std::int32_t Progress, int opening) {
  return static_cast<long double>(opening * (100 - Progress)) * std::numbers::pi_v<long double> /
         200.0L;
}

}  // namespace

void PivotFromTopLeft(const transition::TEffectFrame& f) {
  RotateImage(f.Display, f.Image, f.Start, -1, -1, PivotAngle(f.Progress, 1));
}

void PivotFromBottomLeft(const transition::TEffectFrame& f) {
  RotateImage(f.Display, f.Image, f.Start, -1, f.H, PivotAngle(f.Progress, -1));
}

void PivotFromTopRight(const transition::TEffectFrame& f) {
  RotateImage(f.Display, f.Image, f.Start, f.W, -1, PivotAngle(f.Progress, -1));
}

void PivotFromBottomRight(const transition::TEffectFrame& f) {
  RotateImage(f.Display, f.Image, f.Start, f.W, f.H, PivotAngle(f.Progress, 1));
}

}  // namespace pavona::effects
