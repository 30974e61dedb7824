#include "effects/speckle.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "raster/region.h"
#include "transition/complex_region.h"
#include "transition/random.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

namespace {

using transition::NextRandom;
using transition::TEffectFrame;

enum TAcross : std::uint8_t { acNone = 0, acFromRight = 1, acFromLeft = 2 };
enum TDown : std::uint8_t { dnNone = 0, dnFromBottom = 1, dnFromTop = 2 };

// The solid band of a speckle wipe and the speckles ahead of it, one row (or column) of squares
// e pixels across every e div 2 pixels. The speckle k squares ahead of the band appears with
// chance min(1, 2 / k) over the nearer three quarters of the positions and 1 / k beyond; the
// random numbers are drawn from the farthest position to the nearest, row after row.
std::optional<raster::Region> SpeckleRegion(std::int32_t X, std::int32_t Y, std::int32_t W,
                                            std::int32_t H, TAcross Across, TDown Down) {
  const bool horizontal = Across != acNone;
  const std::int32_t length = horizontal ? W : H;   // the axis the edge moves along
  const std::int32_t across = horizontal ? H : W;   // the axis the rows run down
  const std::int32_t edge = horizontal ? X : Y;
  const std::int32_t D = edge < length ? length / 10 : 0;
  const std::int32_t e = std::max(D / 20, 2);
  const std::int32_t step = e / 2;
  const std::int32_t count = D / e;
  const std::int32_t nearCount = (3 * D) / (4 * e);
  // From the right (bottom) the band is length − edge .. length and speckle k lies k squares
  // before it; from the left (top) the band is 0 .. edge and the speckles follow it.
  const bool fromFar = horizontal ? Across == acFromRight : Down == dnFromBottom;

  // Speckle 1 always shows (NextRandom(1) is 0), and so does speckle 2 when it is near
  // (NextRandom(2) is at most 1). Together with the bands of all rows, which overlap, they make
  // one solid rectangle; only the other speckles need rectangles of their own. Every row still
  // draws all its random numbers, in order.
  const std::int32_t sure = count >= 2 && nearCount >= 2 ? 2 : std::min(count, 1);
  transition::TComplexRegion list;
  const auto add = [&](std::int32_t from, std::int32_t to, std::int32_t top, std::int32_t bottom) {
    if (horizontal) {
      list.AddRect(from, top, to, bottom);
    } else {
      list.AddRect(top, from, bottom, to);
    }
  };
  std::int32_t lastTop = 0;
  for (std::int32_t top = 0; top < across; top += step) {
    lastTop = top;
    for (std::int32_t k = count; k >= 1; --k) {
      const std::int32_t r = NextRandom(k);
      if (k <= sure || r > (k <= nearCount ? 1 : 0)) continue;
      if (fromFar) {
        add(length - edge - k * e, length - edge - (k - 1) * e, top, top + e);
      } else {
        add(edge + (k - 1) * e, edge + k * e, top, top + e);
      }
    }
  }
  if (across > 0) {
    if (fromFar) {
      add(length - edge - sure * e, length, 0, lastTop + e);
    } else {
      add(0, edge + sure * e, 0, lastTop + e);
    }
  }
  return list.CreateRegion();
}

void Speckle(const TEffectFrame& f, TAcross Across, TDown Down) {
  const std::optional<raster::Region> region = SpeckleRegion(f.X, f.Y, f.W, f.H, Across, Down);
  if (region) transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, *region);
}

}  // namespace

void SpeckleAppearFromRight(const TEffectFrame& f) { Speckle(f, acFromRight, dnNone); }
void SpeckleAppearFromLeft(const TEffectFrame& f) { Speckle(f, acFromLeft, dnNone); }
void SpeckleAppearFromBottom(const TEffectFrame& f) { Speckle(f, acNone, dnFromBottom); }
void SpeckleAppearFromTop(const TEffectFrame& f) { Speckle(f, acNone, dnFromTop); }

// Squares 2c wide, c = min(W, H) div 50 + 1, column by column from the left and top down within
// a column; the seed is the transition's, so a square that has appeared stays.
void RandomSquaresAppear(const TEffectFrame& f) {
  const std::int32_t side = 2 * (std::min(f.W, f.H) / 50 + 1);
  transition::TComplexRegion list;
  for (std::int32_t left = 0; left < f.W; left += side) {
    for (std::int32_t top = 0; top < f.H; top += side) {
      if (NextRandom(100) < f.Progress) list.AddRect(left, top, left + side, top + side);
    }
  }
  const std::optional<raster::Region> region = list.CreateRegion();
  if (region) transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, *region);
}

}  // namespace pavona::effects
