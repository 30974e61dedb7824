#include "effects/v_reveal.h"

#include <cstdint>

#include "raster/region.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

namespace {

using transition::MakePolygonRegion;
using transition::TEffectFrame;

// The arrowheads on the middle of each edge: base 2 × half long, apex depth pixels inside.
raster::Region FromLeft(const TEffectFrame& f, std::int32_t depth, std::int32_t half) {
  const std::int32_t hh = f.H / 2;
  return MakePolygonRegion({0, hh - half, depth, hh, 0, hh + half});
}

raster::Region FromRight(const TEffectFrame& f, std::int32_t depth, std::int32_t half) {
  const std::int32_t hh = f.H / 2;
  return MakePolygonRegion({f.W, hh - half, f.W - depth, hh, f.W, hh + half});
}

raster::Region FromTop(const TEffectFrame& f, std::int32_t depth, std::int32_t half) {
  const std::int32_t hw = f.W / 2;
  return MakePolygonRegion({hw - half, 0, hw, depth, hw + half, 0});
}

raster::Region FromBottom(const TEffectFrame& f, std::int32_t depth, std::int32_t half) {
  const std::int32_t hw = f.W / 2;
  return MakePolygonRegion({hw - half, f.H, hw, f.H - depth, hw + half, f.H});
}

void Reveal(const TEffectFrame& f, const raster::Region& region) {
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

}  // namespace

void RevealVFromLeft(const TEffectFrame& f) { Reveal(f, FromLeft(f, 2 * f.X, f.Y)); }

void RevealVFromRight(const TEffectFrame& f) { Reveal(f, FromRight(f, 2 * f.X, f.Y)); }

void RevealVFromTop(const TEffectFrame& f) { Reveal(f, FromTop(f, 2 * f.Y, f.X)); }

void RevealVFromBottom(const TEffectFrame& f) { Reveal(f, FromBottom(f, 2 * f.Y, f.X)); }

// The horizontal apexes move by X and meet in the middle at the end; the vertical ones move by
// 2Y, as the V reveals do.
void BowTieHorizontal(const TEffectFrame& f) {
  Reveal(f, FromLeft(f, f.X, f.Y).united(FromRight(f, f.X, f.Y)));
}

void BowTieVertical(const TEffectFrame& f) {
  Reveal(f, FromTop(f, 2 * f.Y, f.X).united(FromBottom(f, 2 * f.Y, f.X)));
}

// Four quarter triangles scaled down about the edge midpoints.
void DiagonalCrossIn(const TEffectFrame& f) {
  const std::int32_t hx = f.X / 2, hy = f.Y / 2;
  raster::Region region = FromLeft(f, hx, hy);
  region.unite(FromRight(f, hx, hy));
  region.unite(FromTop(f, hy, hx));
  region.unite(FromBottom(f, hy, hx));
  Reveal(f, region);
}

// The picture with the four withdrawing arrowheads taken out by exclusive or, one at a time.
void DiagonalCrossOut(const TEffectFrame& f) {
  const std::int32_t u = (f.W - f.X) / 2, v = (f.H - f.Y) / 2;
  raster::Region region(raster::Rect{0, 0, f.W, f.H});
  region.xor_with(FromLeft(f, u, v));
  region.xor_with(FromRight(f, u, v));
  region.xor_with(FromTop(f, v, u));
  region.xor_with(FromBottom(f, v, u));
  Reveal(f, region);
}

}  // namespace pavona::effects
