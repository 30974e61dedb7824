// The diamond that the shred and diamond effects reveal through.
#pragma once

#include <cstdint>

#include "raster/region.h"

namespace pavona::transition {

// The polygon region (CX − RX, CY), (CX, CY − RY), (CX + RX, CY), (CX, CY + RY): a diamond with
// half-diagonals RX across and RY down, winding fill.
raster::Region MakeDiamondRegion(std::int32_t CX, std::int32_t CY, std::int32_t RX, std::int32_t RY);

}  // namespace pavona::transition
