#include "effects/blinds.h"

#include <optional>

#include "raster/region.h"
#include "transition/complex_region.h"
#include "transition/mul_div.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::MulDiv;
using transition::TComplexRegion;

namespace {

// Slats are built along one axis of the picture: columns (a vertical slat spans the height) or
// rows (a horizontal slat spans the width).
enum class TAxis { Columns, Rows };

// Adds the slat from lo to hi along the axis, across the whole picture.
void AddSlat(TComplexRegion& slats, TAxis axis, const transition::TEffectFrame& f, std::int32_t lo,
             std::int32_t hi) {
  if (axis == TAxis::Columns) {
    slats.AddRect(lo, 0, hi, f.H);
  } else {
    slats.AddRect(0, lo, f.W, hi);
  }
}

void CopyThroughSlats(const transition::TEffectFrame& f, const TComplexRegion& slats) {
  if (const std::optional<raster::Region> region = slats.CreateRegion()) {
    transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, *region);
  }
}

// Slats of period 2n, n = extent div 40 + 1, each opening to 2a about its centre line s + n.
void EvenBlind(const transition::TEffectFrame& f, TAxis axis) {
  const std::int32_t extent = axis == TAxis::Columns ? f.W : f.H;
  const std::int32_t n = extent / 40 + 1;
  const std::int32_t a = MulDiv(n, f.Progress, 100);
  TComplexRegion slats;
  for (std::int32_t s = 0; s < extent; s += 2 * n) AddSlat(slats, axis, f, s + n - a, s + n + a);
  CopyThroughSlats(f, slats);
}

// Slats of period `period` (the progress point along the axis), each covering the fraction
// Progress / 100 of it, laid from the leading edge: from 0 upwards, or from the far edge down.
void AddUnevenSlats(TComplexRegion& slats, const transition::TEffectFrame& f, TAxis axis,
                    bool fromFarEdge) {
  const std::int32_t extent = axis == TAxis::Columns ? f.W : f.H;
  const std::int32_t period = axis == TAxis::Columns ? f.X : f.Y;
  const std::int32_t b = MulDiv(period, f.Progress, 100);
  if (fromFarEdge) {
    for (std::int32_t end = extent; end > 0; end -= period) AddSlat(slats, axis, f, end - b, end);
  } else {
    for (std::int32_t start = 0; start < extent; start += period) {
      AddSlat(slats, axis, f, start, start + b);
    }
  }
}

void UnevenBlind(const transition::TEffectFrame& f, TAxis axis, bool fromFarEdge) {
  if ((axis == TAxis::Columns ? f.X : f.Y) == 0) return;
  TComplexRegion slats;
  AddUnevenSlats(slats, f, axis, fromFarEdge);
  CopyThroughSlats(f, slats);
}

// An uneven blind along the axis, crossed by thin bands along the other one: period 3m,
// m = the other extent div 20, each band 2a about its centre line.
void Rectangles(const transition::TEffectFrame& f, TAxis axis, bool fromFarEdge) {
  const TAxis across = axis == TAxis::Columns ? TAxis::Rows : TAxis::Columns;
  const std::int32_t acrossExtent = across == TAxis::Columns ? f.W : f.H;
  const std::int32_t m = acrossExtent / 20;
  if ((axis == TAxis::Columns ? f.X : f.Y) == 0 || m == 0) return;
  const std::int32_t a = MulDiv(m, f.Progress, 100);
  TComplexRegion slats;
  for (std::int32_t c = -m; c < acrossExtent; c += 3 * m) AddSlat(slats, across, f, c - a, c + a);
  AddUnevenSlats(slats, f, axis, fromFarEdge);
  CopyThroughSlats(f, slats);
}

}  // namespace

void BlindVertically(const transition::TEffectFrame& f) { EvenBlind(f, TAxis::Columns); }
void BlindHorizontally(const transition::TEffectFrame& f) { EvenBlind(f, TAxis::Rows); }

void UnevenBlindFromLeft(const transition::TEffectFrame& f) { UnevenBlind(f, TAxis::Columns, false); }
void UnevenBlindFromRight(const transition::TEffectFrame& f) { UnevenBlind(f, TAxis::Columns, true); }
void UnevenBlindFromTop(const transition::TEffectFrame& f) { UnevenBlind(f, TAxis::Rows, false); }
void UnevenBlindFromBottom(const transition::TEffectFrame& f) { UnevenBlind(f, TAxis::Rows, true); }

void RectanglesFromLeft(const transition::TEffectFrame& f) { Rectangles(f, TAxis::Columns, false); }
void RectanglesFromRight(const transition::TEffectFrame& f) { Rectangles(f, TAxis::Columns, true); }
void RectanglesFromTop(const transition::TEffectFrame& f) { Rectangles(f, TAxis::Rows, false); }
void RectanglesFromBottom(const transition::TEffectFrame& f) { Rectangles(f, TAxis::Rows, true); }

}  // namespace pavona::effects
