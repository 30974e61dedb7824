// TComplexRegion: a growable list of rectangles that becomes one clipping region, for effects
// that build their shape from many rectangles (bars, shreds, squares).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "raster/geometry.h"
#include "raster/region.h"

namespace pavona::transition {

class TComplexRegion {
 public:
  // The list grows in steps this large, to keep reallocations few.
  static constexpr std::int32_t kGrowBy = 500;

  TComplexRegion() { Clear(); }

  // Drops every rectangle and the storage; Bounds becomes the inverted "nothing yet" box.
  void Clear();
  // Appends the rectangle as given (empty and inverted ones too) and widens Bounds.
  void AddRect(std::int32_t Left, std::int32_t Top, std::int32_t Right, std::int32_t Bottom);
  // The union of the rectangles, or nothing when none was ever added. The list keeps them.
  std::optional<raster::Region> CreateRegion() const;

  std::int32_t Capacity() const { return FCapacity; }
  std::int32_t Count() const { return FCount; }
  const raster::Rect& Bounds() const { return FBounds; }

 private:
  std::vector<raster::Rect> FRects;  // FCapacity slots, the first FCount in use
  std::int32_t FCapacity = 0;
  std::int32_t FCount = 0;
  raster::Rect FBounds;
};

}  // namespace pavona::transition
