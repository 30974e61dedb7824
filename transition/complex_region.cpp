#include "transition/complex_region.h"

#include <algorithm>
#include <climits>
#include <span>

namespace pavona::transition {

void TComplexRegion::Clear() {
  FRects = {};
  FCapacity = 0;
  FCount = 0;
  FBounds = {INT32_MAX, INT32_MAX, -INT32_MAX, -INT32_MAX};
}

void TComplexRegion::AddRect(std::int32_t Left, std::int32_t Top, std::int32_t Right,
                             std::int32_t Bottom) {
  if (FCount == FCapacity) {
    FCapacity += kGrowBy;
    FRects.resize(static_cast<std::size_t>(FCapacity));
  }
  FRects[static_cast<std::size_t>(FCount++)] = {Left, Top, Right, Bottom};
  FBounds.Left = std::min(FBounds.Left, Left);
  FBounds.Top = std::min(FBounds.Top, Top);
  FBounds.Right = std::max(FBounds.Right, Right);
  FBounds.Bottom = std::max(FBounds.Bottom, Bottom);
}

std::optional<raster::Region> TComplexRegion::CreateRegion() const {
  if (FCount == 0) return std::nullopt;
  return raster::Region::FromRects(
      std::span<const raster::Rect>(FRects.data(), static_cast<std::size_t>(FCount)));
}

}  // namespace pavona::transition
