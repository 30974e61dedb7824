#include "transition/complex_region.h"

#include <algorithm>
#include <climits>
#include <span>

namespace pavona::transition {

void TComplexRegion::Clear() {
  fRects = {};
  fCapacity = 0;
  fCount = 0;
  fBounds = {INT32_MAX, INT32_MAX, -INT32_MAX, -INT32_MAX};
}

void TComplexRegion::AddRect(std::int32_t Left, std::int32_t Top, std::int32_t Right,
                             std::int32_t Bottom) {
  if (fCount == fCapacity) {
    fCapacity += kGrowBy;
    fRects.resize(static_cast<std::size_t>(fCapacity));
  }
  fRects[static_cast<std::size_t>(fCount++)] = {Left, Top, Right, Bottom};
  fBounds.Left = std::min(fBounds.Left, Left);
  fBounds.Top = std::min(fBounds.Top, Top);
  fBounds.Right = std::max(fBounds.Right, Right);
  fBounds.Bottom = std::max(fBounds.Bottom, Bottom);
}

std::optional<raster::Region> TComplexRegion::CreateRegion() const {
  if (fCount == 0) return std::nullopt;
  return raster::Region::FromRects(
      std::span<const raster::Rect>(fRects.data(), static_cast<std::size_t>(fCount)));
}

}  // namespace pavona::transition
