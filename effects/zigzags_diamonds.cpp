#include "effects/zigzags_diamonds.h"

#include <array>

#include "raster/region.h"
#include "transition/diamond_region.h"
#include "transition/mul_div.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::MulDiv;

namespace {

// A band 2d wide around the line at c, both edges zigzagging amp to either side of their mean
// line with period 2 step, 12 vertices an edge. vertical lays the band top to bottom.
raster::Region ZigzagBand(std::int32_t step, std::int32_t amp, std::int32_t d, std::int32_t c,
                          bool vertical) {
  const std::int32_t a0 = c + amp - d;
  const std::int32_t a1 = c - amp - d;
  const std::int32_t b0 = c + amp + d;
  const std::int32_t b1 = c - amp + d;
  std::array<std::int32_t, 48> coords{};
  auto put = [&](int vertex, std::int32_t along, std::int32_t level) {
    coords[2 * vertex] = vertical ? level : along;
    coords[2 * vertex + 1] = vertical ? along : level;
  };
  // Out along the first edge, back along the second.
  for (int i = 0; i <= 11; ++i) {
    const bool even = i % 2 == 0;
    put(i, i * step, even ? a0 : a1);
    put(23 - i, i * step, even ? b0 : b1);
  }
  return transition::MakePolygonRegion(coords);
}

}  // namespace

void ZigzagHorizontal(const transition::TEffectFrame& f) {
  const std::int32_t amp = f.H / 10;
  const std::int32_t d = MulDiv(amp, f.Progress, 100) + f.Y / 2;
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                ZigzagBand(f.W / 10, amp, d, f.H / 2, false));
}

void ZigzagVertical(const transition::TEffectFrame& f) {
  const std::int32_t amp = f.W / 10;
  const std::int32_t d = MulDiv(amp, f.Progress, 100) + f.X / 2;
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                ZigzagBand(f.H / 10, amp, d, f.W / 2, true));
}

void RevealDiamondOut(const transition::TEffectFrame& f) {
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                transition::MakeDiamondRegion(f.W / 2, f.H / 2, f.X, f.Y));
}

// The diamond (X − hw, hh), (hw, Y − hh), (3hw − X, hh), (hw, 3hh − Y) shrinks to the centre;
// the new picture shows outside it.
void RevealDiamondIn(const transition::TEffectFrame& f) {
  const std::int32_t hw = f.W / 2;
  const std::int32_t hh = f.H / 2;
  const raster::Region outside = raster::Region(raster::Rect{0, 0, f.W, f.H})
                                     .xored(transition::MakeDiamondRegion(hw, hh, 2 * hw - f.X,
                                                                          2 * hh - f.Y));
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, outside);
}

// The ring between the diamond inscribed in the picture grown by (hx, hy) and shrunk by them.
void DiagonalBoxOut(const transition::TEffectFrame& f) {
  const std::int32_t hw = f.W / 2;
  const std::int32_t hh = f.H / 2;
  const std::int32_t hx = f.X / 2;
  const std::int32_t hy = f.Y / 2;
  const raster::Region ring = transition::MakeDiamondRegion(hw, hh, hw + hx, hh + hy)
                                  .xored(transition::MakeDiamondRegion(hw, hh, hw - hx, hh - hy));
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, ring);
}

}  // namespace pavona::effects
