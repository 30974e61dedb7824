#include "transition/pixel_kernels.h"

#include <algorithm>

#include "transition/mul_div.h"
#include "transition/pixel_loop.h"
#include "transition/random.h"

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

// The generator's step n draws at once: seed × Mul + Add.
struct TRandomStride {
  std::uint32_t Mul = 1;
  std::uint32_t Add = 0;
};

constexpr TRandomStride RandomStride(std::uint64_t n) {
  TRandomStride result;
  TRandomStride power{134775813u, 1u};
  for (; n != 0; n >>= 1) {
    if ((n & 1) != 0) result = {power.Mul * result.Mul, power.Mul * result.Add + power.Add};
    power = {power.Mul * power.Mul, power.Mul * power.Add + power.Add};
  }
  return result;
}

// The dissolve runs kLanes interleaved copies of the generator, each kLanes draws ahead of the
// previous round, so that the draws of a round are independent and fill vector lanes; with 64 of
// them the multiplies of one round hide each other's latency.
constexpr std::size_t kLanes = 64;

PAVONA_PIXEL_LOOP
void DissolveRounds(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* __restrict to,
                    std::size_t rounds, std::uint32_t* __restrict lanes, std::uint32_t threshold) {
  constexpr TRandomStride round = RandomStride(kLanes);
  for (std::size_t r = 0; r < rounds; ++r) {
    raster::Pixel* o = out + r * kLanes;
    const raster::Pixel* f = from + r * kLanes;
    const raster::Pixel* t = to + r * kLanes;
#pragma GCC ivdep
    for (std::size_t j = 0; j < kLanes; ++j) {
      // Both pictures are read and one kept by a mask, without a branch per pixel.
      const raster::Pixel take = 0u - static_cast<raster::Pixel>(lanes[j] < threshold);
      o[j] = (t[j] & take) | (f[j] & ~take);
      lanes[j] = lanes[j] * round.Mul + round.Add;
    }
  }
}

PAVONA_PIXEL_LOOP
void Select(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* __restrict to,
            const raster::Pixel* __restrict mask, std::size_t count) {
#pragma GCC ivdep
  for (std::size_t i = 0; i < count; ++i) out[i] = (to[i] & mask[i]) | (from[i] & ~mask[i]);
}

PAVONA_PIXEL_LOOP
void Mix(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* __restrict to,
         std::size_t count, raster::Pixel newBytes, int blendShift, std::uint32_t a) {
  const raster::Pixel keep = ~(newBytes | (0xFFu << blendShift));
  const std::uint32_t b = 256 - a;
#pragma GCC ivdep
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t o = (from[i] >> blendShift) & 0xFFu;
    const std::uint32_t n = (to[i] >> blendShift) & 0xFFu;
    out[i] = (from[i] & keep) | (to[i] & newBytes) | (((o * b + n * a) >> 8) << blendShift);
  }
}

}  // namespace

void BlendRect(raster::Bitmap& Dest, const raster::Bitmap& Source, std::int32_t Percent,
               std::int32_t Left, std::int32_t Top, std::int32_t Width, std::int32_t Height) {
  const std::int64_t right = std::min<std::int64_t>(std::int64_t{Left} + Width,
                                                    std::min(Dest.width(), Source.width()));
  const std::int64_t bottom = std::min<std::int64_t>(std::int64_t{Top} + Height,
                                                     std::min(Dest.height(), Source.height()));
  const std::int32_t left = std::max(Left, 0), top = std::max(Top, 0);
  if (left >= right || top >= bottom) return;
  const auto a = static_cast<std::uint32_t>(MulDiv(256, Percent, 100));
  const auto n = static_cast<std::size_t>(right - left);
  for (std::int32_t y = top; y < bottom; ++y) {
    raster::Pixel* row = Dest.scanline(y) + left;
    BlendPixels(row, row, Source.scanline(y) + left, n, a);
  }
}

void DissolvePixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                    std::size_t count, std::int32_t Percent) {
  // NextRandom(100) < Percent exactly when the new seed is below ceil(Percent × 2^32 / 100).
  const std::int32_t percent = std::clamp(Percent, 0, 100);
  const std::uint64_t limit = ((static_cast<std::uint64_t>(percent) << 32) + 99) / 100;
  const std::uint32_t seed = RandomSeed;
  if (percent == 100) {
    std::copy_n(to, count, out);
  } else if (percent == 0) {
    if (out != from) std::copy_n(from, count, out);
  } else {
    const auto threshold = static_cast<std::uint32_t>(limit);
    std::uint32_t lanes[kLanes];
    for (std::size_t j = 0; j < kLanes; ++j) {
      const TRandomStride ahead = RandomStride(j + 1);
      lanes[j] = seed * ahead.Mul + ahead.Add;
    }
    const std::size_t rounds = count / kLanes;
    DissolveRounds(out, from, to, rounds, lanes, threshold);
    // The lanes now hold the seeds of the draws that follow the last round.
    for (std::size_t i = rounds * kLanes; i < count; ++i) {
      out[i] = lanes[i - rounds * kLanes] < threshold ? to[i] : from[i];
    }
  }
  const TRandomStride all = RandomStride(count);
  RandomSeed = seed * all.Mul + all.Add;
}

void SelectPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                  const raster::Pixel* mask, std::size_t count) {
  Select(out, from, to, mask, count);
}

void MixChannels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, raster::Pixel newBytes, int blendShift, std::uint32_t a) {
  Mix(out, from, to, count, newBytes, blendShift, a);
}

void BlendPixels(raster::Pixel* out, const raster::Pixel* from, const raster::Pixel* to,
                 std::size_t count, std::uint32_t a) {
  if (out == from) {
    BlendInPlace(out, to, count, a);
  } else {
    BlendInto(out, from, to, count, a);
  }
}

}  // namespace pavona::transition
