#include "transition/region_helpers.h"

#include <vector>

#include "raster/surface.h"
#include "transition/block_copy.h"

namespace pavona::transition {

raster::Region MakePolygonRegion(std::span<const std::int32_t> Coords) {
  std::vector<raster::Point> vertices;
  vertices.reserve(Coords.size() / 2);
  for (std::size_t i = 0; i + 1 < Coords.size(); i += 2) vertices.push_back({Coords[i], Coords[i + 1]});
  return raster::Region::FromPolygon(vertices, raster::FillMode::Winding);
}

void CopyThroughRegion(raster::Bitmap& Display, const raster::Bitmap& Image, std::int32_t W,
                       std::int32_t H, const raster::Region& Region) {
  raster::Surface surface(Display);
  surface.select_clip(Region);
  struct ClipRemover {
    raster::Surface& surface;
    ~ClipRemover() { surface.remove_clip(); }
  } remover{surface};
  CopyBlock(Display, 0, 0, W, H, Image, 0, 0);
}

}  // namespace pavona::transition
