#include "transition/diamond_region.h"

#include "transition/region_helpers.h"

namespace pavona::transition {

raster::Region MakeDiamondRegion(std::int32_t CX, std::int32_t CY, std::int32_t RX, std::int32_t RY) {
  return MakePolygonRegion({CX - RX, CY, CX, CY - RY, CX + RX, CY, CX, CY + RY});
}

}  // namespace pavona::transition
