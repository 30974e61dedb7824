#include "effects/bars_criss_cross.h"

#include <algorithm>
#include <cstdint>

#include "raster/region.h"
#include "transition/complex_region.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::TEffectFrame;

namespace {

// How the bars of one direction grow. Horizontal bars: from the right, from the left, both at
// once (even bars from the right, odd from the left), or a first half from one side and a
// second from the other; vertical bars the same with bottom for right and top for left.
enum TBarMode : std::int32_t {
  bmNone = 0,
  bmFromFar = 1,     // from the right, from the bottom
  bmFromNear = 2,    // from the left, from the top
  bmBothSides = 3,
  bmNearThenFar = 4,
  bmFarThenNear = 5,
};

// The bars for the extents XX across and YY down, S = min(W, H) div 50 + 1 thick. In the
// two-phase modes the extent runs to 2W (2H): up to W the even bars grow, beyond it the even
// bars are complete and the odd ones grow by the excess. The loops run one bar past the far
// edge so that a last partial bar takes part in both phases. Rectangles of zero extent in the
// first frames are kept in the list and hold no pixel.
raster::Region BarsRegion(std::int32_t XX, std::int32_t YY, std::int32_t W, std::int32_t H,
                          TBarMode HMode, TBarMode VMode) {
  const std::int32_t S = std::min(W, H) / 50 + 1;
  transition::TComplexRegion list;
  if (HMode != bmNone) {
    const bool second = W < XX;
    for (std::int32_t r = second ? S : 0; r < H + S; r += 2 * S) {
      if (second) {
        if (HMode == bmFromFar || HMode == bmNearThenFar) list.AddRect(2 * W - XX, r, W, r + S);
        if (HMode == bmFromNear || HMode == bmFarThenNear) list.AddRect(0, r, XX - W, r + S);
        list.AddRect(0, r - S, W, r);
      } else if (HMode == bmFromFar || HMode == bmFarThenNear) {
        list.AddRect(W - XX, r, W, r + S);
      } else if (HMode == bmFromNear || HMode == bmNearThenFar) {
        list.AddRect(0, r, XX, r + S);
      } else {
        list.AddRect(0, r + S, XX, r + 2 * S);
        list.AddRect(W - XX, r, W, r + S);
      }
    }
  }
  if (VMode != bmNone) {
    const bool second = H < YY;
    for (std::int32_t c = second ? S : 0; c < W + S; c += 2 * S) {
      if (second) {
        if (VMode == bmFromFar || VMode == bmNearThenFar) list.AddRect(c, 2 * H - YY, c + S, H);
        if (VMode == bmFromNear || VMode == bmFarThenNear) list.AddRect(c, 0, c + S, YY - H);
        list.AddRect(c - S, 0, c, H);
      } else if (VMode == bmFromFar || VMode == bmFarThenNear) {
        list.AddRect(c, H - YY, c + S, H);
      } else if (VMode == bmFromNear || VMode == bmNearThenFar) {
        list.AddRect(c, 0, c + S, YY);
      } else {
        list.AddRect(c, H - YY, c + S, H);
        list.AddRect(c + S, 0, c + 2 * S, YY);
      }
    }
  }
  return list.CreateRegion().value_or(raster::Region{});
}

void RevealBars(const TEffectFrame& f, std::int32_t XX, std::int32_t YY, TBarMode HMode,
                TBarMode VMode) {
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                                BarsRegion(XX, YY, f.W, f.H, HMode, VMode));
}

}  // namespace

void BarsInFromRight(const TEffectFrame& f) { RevealBars(f, 2 * f.X, 0, bmFromFar, bmNone); }
void BarsInFromLeft(const TEffectFrame& f) { RevealBars(f, 2 * f.X, 0, bmFromNear, bmNone); }
void BarsLeftThenRight(const TEffectFrame& f) { RevealBars(f, 2 * f.X, 0, bmNearThenFar, bmNone); }
void BarsRightThenLeft(const TEffectFrame& f) { RevealBars(f, 2 * f.X, 0, bmFarThenNear, bmNone); }
void BarsFromBothSides(const TEffectFrame& f) { RevealBars(f, f.X, 0, bmBothSides, bmNone); }

void BarsFromBottom(const TEffectFrame& f) { RevealBars(f, 0, 2 * f.Y, bmNone, bmFromFar); }
void BarsFromTop(const TEffectFrame& f) { RevealBars(f, 0, 2 * f.Y, bmNone, bmFromNear); }
void BarsTopThenBottom(const TEffectFrame& f) { RevealBars(f, 0, 2 * f.Y, bmNone, bmNearThenFar); }
void BarsBottomThenTop(const TEffectFrame& f) { RevealBars(f, 0, 2 * f.Y, bmNone, bmFarThenNear); }
void BarsFromTopAndBottom(const TEffectFrame& f) { RevealBars(f, 0, f.Y, bmNone, bmBothSides); }

void CrissCrossFromBottomRight(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFromFar, bmFromFar);
}
void CrissCrossFromTopRight(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFromFar, bmFromNear);
}
void CrissCrossFromBottomLeft(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFromNear, bmFromFar);
}
void CrissCrossFromTopLeft(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFromNear, bmFromNear);
}
void CrissCrossBounceFromTopLeft(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmNearThenFar, bmNearThenFar);
}
void CrissCrossBounceFromBottomLeft(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmNearThenFar, bmFarThenNear);
}
void CrissCrossBounceFromTopRight(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFarThenNear, bmNearThenFar);
}
void CrissCrossBounceFromBottomRight(const TEffectFrame& f) {
  RevealBars(f, 2 * f.X, 2 * f.Y, bmFarThenNear, bmFarThenNear);
}
// The single extents also drive the one-sided modes here, which therefore never leave their
// first phase.
void CrissCrossFromRightTopAndBottom(const TEffectFrame& f) {
  RevealBars(f, f.X, f.Y, bmFromFar, bmBothSides);
}
void CrissCrossFromLeftTopAndBottom(const TEffectFrame& f) {
  RevealBars(f, f.X, f.Y, bmFromNear, bmBothSides);
}
void CrissCrossFromLeftRightAndBottom(const TEffectFrame& f) {
  RevealBars(f, f.X, f.Y, bmBothSides, bmFromFar);
}
void CrissCrossFromLeftRightAndTop(const TEffectFrame& f) {
  RevealBars(f, f.X, f.Y, bmBothSides, bmFromNear);
}
void CrissCrossFromAllSides(const TEffectFrame& f) {
  RevealBars(f, f.X, f.Y, bmBothSides, bmBothSides);
}

// Where the lattice growing from the bottom right meets the one growing from the top left.
void CrissCrossFromBottomLeftTopRight(const TEffectFrame& f) {
  const raster::Region a = BarsRegion(2 * f.X, 2 * f.Y, f.W, f.H, bmFromFar, bmFromFar);
  const raster::Region b = BarsRegion(2 * f.X, 2 * f.Y, f.W, f.H, bmFromNear, bmFromNear);
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, a.intersected(b));
}

}  // namespace pavona::effects
