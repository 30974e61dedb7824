#include "effects/pivots.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <vector>

#include "raster/bitmap.h"
#include "transition/pixel_loop.h"

namespace pavona::effects {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {  // b > 0
  return a >= 0 ? a / b : -((-a + b - 1) / b);
}
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return -FloorDiv(-a, b); }

// The integers x in [x0, x1) with lo <= a + x × k <= hi, narrowing [x0, x1). The set is an
// interval because the expression is linear in x.
void KeepBetween(std::int64_t a, std::int64_t k, std::int64_t lo, std::int64_t hi, std::int64_t& x0,
                 std::int64_t& x1) {
  if (k == 0) {
    if (a < lo || a > hi) x1 = x0;
    return;
  }
  const std::int64_t first = k > 0 ? CeilDiv(lo - a, k) : CeilDiv(a - hi, -k);
  const std::int64_t last = k > 0 ? FloorDiv(hi - a, k) : FloorDiv(a - lo, -k);
  x0 = std::max(x0, first);
  x1 = std::min(x1, last + 1);
}

// One row's run of pixels whose source lies inside the picture: the source point steps by
// (C, S) in 16.16 fixed point from (u, v), relative to the hinge, which lies hinge pixels into
// the source's store. Index is std::int32_t where the picture is small enough for every value of
// the run to fit, which lets the loop be vectorised; std::int64_t otherwise.
template <typename Index>
PAVONA_PIXEL_LOOP void TurnedRun(raster::Pixel* __restrict out, std::int32_t count,
                                 const raster::Pixel* __restrict source,
                                 Index hinge, Index w, Index u, Index v, Index C, Index S) {
  for (std::int32_t i = 0; i < count; ++i) {
    out[i] = source[hinge + ((v + i * S) >> 16) * w + ((u + i * C) >> 16)];
  }
}

// Asks for the sources of every fourth pixel of a run to be fetched into the cache: the turned
// source walks across the picture at an angle, which the processor's own prefetching does not
// follow.
void PrefetchRun(std::int64_t count, const raster::Pixel* source, std::int64_t hinge,
                 std::int64_t w, std::int64_t u, std::int64_t v, std::int64_t C, std::int64_t S) {
  for (std::int64_t i = 0; i < count; i += 4) {
    __builtin_prefetch(source + (hinge + ((v + i * S) >> 16) * w + ((u + i * C) >> 16)));
  }
}

// The turned runs are drawn in tiles of kTile × kTile pixels, whose sources stay within the
// cache, and each row of a tile asks for the sources of the same row of the next tile ahead.
constexpr std::int32_t kTile = 64;

// Every pixel (x, yb) of Dest, yb counted from the bottom, shows the pixel of Source that lies
// under it once Source is turned by Angle about the hinge (PX, PY), in 16.16 fixed point; where
// that falls outside Source it shows Start's own pixel. No sum wraps, so large pictures turn as
// small ones do. Each row is split where its source leaves the picture, so the inner loop needs
// no test.
void RotateImage(raster::Bitmap& Dest, const raster::Bitmap& Source, const raster::Bitmap& Start,
                 std::int32_t PX, std::int32_t PY, long double Angle) {
  const auto S = static_cast<std::int64_t>(std::trunc(std::sin(-Angle) * 65536.0L));
  const auto C = static_cast<std::int64_t>(std::trunc(std::cos(-Angle) * 65536.0L));
  const std::int32_t w = Dest.width();
  const std::int32_t h = Dest.height();
  const bool inPlace = Dest.data() == Start.data();
  // Source pixel (sx, sy) lives at storage row sy: rows run bottom-up, as yb does.
  const std::int64_t hinge = std::int64_t{PY} * w + PX;
  // Inside a run u and v stay within (w + 1) × 65536 and (h + 1) × 65536 of zero, the steps add
  // up to less than w × 65536, and the index stays within the store: below 16384 pixels a side
  // all of it fits in 32 bits.
  const bool narrow = w < 16384 && h < 16384;
  struct TRun {
    std::int64_t u, v;  // at x = 0: sx = PX + (u >> 16), sy = PY + (v >> 16)
    std::int64_t x0, x1;
  };
  std::vector<TRun> runs(static_cast<std::size_t>(h));
  for (std::int32_t yb = 0; yb < h; ++yb) {
    const std::int64_t dy = yb + 1 - PY;
    const std::int64_t dx0 = 1 - PX;
    TRun& run = runs[static_cast<std::size_t>(yb)];
    run = {dx0 * C - dy * S, dx0 * S + dy * C, 0, w};
    KeepBetween(run.u, C, std::int64_t{-PX} * 65536, (std::int64_t{w} - PX) * 65536 - 1, run.x0,
                run.x1);
    KeepBetween(run.v, S, std::int64_t{-PY} * 65536, (std::int64_t{h} - PY) * 65536 - 1, run.x0,
                run.x1);
    if (run.x1 <= run.x0) run.x0 = run.x1 = 0;
    if (!inPlace) {
      raster::Pixel* out = Dest.data() + static_cast<std::size_t>(yb) * w;
      const raster::Pixel* start = Start.data() + static_cast<std::size_t>(yb) * w;
      std::memcpy(out, start, static_cast<std::size_t>(run.x0) * sizeof(raster::Pixel));
      std::memcpy(out + run.x1, start + run.x1,
                  static_cast<std::size_t>(w - run.x1) * sizeof(raster::Pixel));
    }
  }
  for (std::int32_t band = 0; band < h; band += kTile) {
    const std::int32_t bandEnd = std::min(h, band + kTile);
    for (std::int32_t tile = 0; tile < w; tile += kTile) {
      for (std::int32_t yb = band; yb < bandEnd; ++yb) {
        const TRun& run = runs[static_cast<std::size_t>(yb)];
        const std::int64_t n0 = std::max<std::int64_t>(run.x0, tile + kTile);
        const std::int64_t n1 = std::min<std::int64_t>(run.x1, tile + 2 * kTile);
        if (n0 < n1) {
          PrefetchRun(n1 - n0, Source.data(), hinge, w, run.u + n0 * C, run.v + n0 * S, C, S);
        }
        const std::int64_t x0 = std::max<std::int64_t>(run.x0, tile);
        const std::int64_t x1 = std::min<std::int64_t>(run.x1, tile + kTile);
        if (x1 <= x0) continue;
        raster::Pixel* out = Dest.data() + static_cast<std::size_t>(yb) * w + x0;
        const auto count = static_cast<std::int32_t>(x1 - x0);
        const std::int64_t u = run.u + x0 * C;
        const std::int64_t v = run.v + x0 * S;
        if (narrow) {
          TurnedRun<std::int32_t>(out, count, Source.data(), static_cast<std::int32_t>(hinge), w,
                                  static_cast<std::int32_t>(u), static_cast<std::int32_t>(v),
                                  static_cast<std::int32_t>(C), static_cast<std::int32_t>(S));
        } else {
          TurnedRun<std::int64_t>(out, count, Source.data(), hinge, w, u, v, C, S);
        }
      }
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
