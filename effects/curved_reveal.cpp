#include "effects/curved_reveal.h"

#include <cstdint>

#include "raster/region.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

namespace {

using transition::TEffectFrame;

// The rectangle (L, T)-(R, B) with its corners cut by quarters of an EW × EH ellipse, each size
// reduced to the rectangle's own when larger.
raster::Region RoundRect(std::int32_t L, std::int32_t T, std::int32_t R, std::int32_t B,
                         std::int32_t EW, std::int32_t EH) {
  return raster::Region::FromRoundRect({L, T, R, B}, EW, EH);
}

void Reveal(const TEffectFrame& f, const raster::Region& region) {
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

}  // namespace

// The side curves reach 2W (2H) beyond their anchor side, so only the rounded end enters the
// picture, and one row (column) beyond the far edge.
void CurvedRevealFromLeft(const TEffectFrame& f) {
  Reveal(f, RoundRect(-2 * f.W, 0, 2 * f.X, f.H + 1, 2 * f.W, 2 * f.W));
}

void CurvedRevealFromRight(const TEffectFrame& f) {
  Reveal(f, RoundRect(f.W - 2 * f.X, 0, 3 * f.W, f.H + 1, 2 * f.W, 2 * f.W));
}

void CurvedRevealFromTop(const TEffectFrame& f) {
  Reveal(f, RoundRect(0, -2 * f.H, f.W + 1, 2 * f.Y, 2 * f.H, 2 * f.H));
}

void CurvedRevealFromBottom(const TEffectFrame& f) {
  Reveal(f, RoundRect(0, f.H - 2 * f.Y, f.W + 1, 3 * f.H, 2 * f.H, 2 * f.H));
}

// The corner curves start a whole picture beyond their anchor corner; the front moves out at
// 1.5 times the progress along each edge.
void CurvedRevealFromTopLeft(const TEffectFrame& f) {
  Reveal(f, RoundRect(-f.W, -f.H, (3 * f.X) / 2, (3 * f.Y) / 2, 2 * f.W, 2 * f.H));
}

void CurvedRevealFromTopRight(const TEffectFrame& f) {
  Reveal(f, RoundRect(f.W - (3 * f.X) / 2, -f.H, 2 * f.W, (3 * f.Y) / 2, 2 * f.W, 2 * f.H));
}

void CurvedRevealFromBottomLeft(const TEffectFrame& f) {
  Reveal(f, RoundRect(-f.W, f.H - (3 * f.Y) / 2, (3 * f.X) / 2, 2 * f.H, 2 * f.W, 2 * f.H));
}

void CurvedRevealFromBottomRight(const TEffectFrame& f) {
  Reveal(f, RoundRect(f.W - (3 * f.X) / 2, f.H - (3 * f.Y) / 2, 2 * f.W, 2 * f.H, 2 * f.W, 2 * f.H));
}

void EllipticRevealOutFromCentre(const TEffectFrame& f) {
  const std::int32_t cx = f.W / 2, cy = f.H / 2;
  Reveal(f, RoundRect(cx - f.X, cy - f.Y, cx + f.X, cy + f.Y, (9 * f.X) / 5, (9 * f.Y) / 5));
}

// The picture minus a rounded window about the centre that shrinks as the progress grows; the
// window's corner ellipses are nine fifths of what is left of the width and height.
void EllipticRevealInToCentre(const TEffectFrame& f) {
  const std::int32_t hw = f.W / 2, hh = f.H / 2;
  const raster::Region window = RoundRect(f.X - hw, f.Y - hh, 3 * hw - f.X, 3 * hh - f.Y,
                                          (9 * (f.W - f.X)) / 5, (9 * (f.H - f.Y)) / 5);
  Reveal(f, raster::Region(raster::Rect{0, 0, f.W, f.H}).xored(window));
}

}  // namespace pavona::effects
