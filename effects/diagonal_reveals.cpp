#include "effects/diagonal_reveals.h"

#include "raster/region.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::CopyThroughRegion;
using transition::MakePolygonRegion;
using transition::TEffectFrame;

// The long edge of each reveal's triangle passes through the point (X, Y) mirrored into its
// corner, so the triangle covers the picture when the progress reaches 100.
void RevealDiagonalFromTopLeft(const TEffectFrame& f) {
  CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                    MakePolygonRegion({0, 0, 2 * f.X, 0, 0, 2 * f.Y}));
}

void RevealDiagonalFromTopRight(const TEffectFrame& f) {
  CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                    MakePolygonRegion({f.W, 0, f.W - 2 * f.X, 0, f.W, 2 * f.Y}));
}

void RevealDiagonalFromBottomLeft(const TEffectFrame& f) {
  CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                    MakePolygonRegion({0, f.H, 2 * f.X, f.H, 0, f.H - 2 * f.Y}));
}

void RevealDiagonalFromBottomRight(const TEffectFrame& f) {
  CopyThroughRegion(f.Display, f.Image, f.W, f.H,
                    MakePolygonRegion({f.W, f.H, f.W - 2 * f.X, f.H, f.W, f.H - 2 * f.Y}));
}

// Hinged at the top-left and bottom-right corners, free edges ending on the bottom and top edges.
void DiagonalSweepAnticlockwise(const TEffectFrame& f) {
  raster::Region region = MakePolygonRegion({0, f.H, 0, 0, f.X, f.H});
  region.unite(MakePolygonRegion({f.W, f.H, f.W, 0, f.W - f.X, 0}));
  CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

// Hinged at the same corners, free edges ending on the right and left edges.
void DiagonalSweepClockwise(const TEffectFrame& f) {
  raster::Region region = MakePolygonRegion({f.W, 0, 0, 0, f.W, f.Y});
  region.unite(MakePolygonRegion({f.W, f.H, 0, f.H, 0, f.H - f.Y}));
  CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

// Four wedges with their apex at the centre, each along one edge from a corner, their free ends
// moving clockwise on screen.
void StarburstClockwise(const TEffectFrame& f) {
  const int cx = f.W / 2, cy = f.H / 2;
  raster::Region region = MakePolygonRegion({cx, cy, 0, 0, f.X, 0});
  region.unite(MakePolygonRegion({cx, cy, 0, f.H, 0, f.H - f.Y}));
  region.unite(MakePolygonRegion({cx, cy, f.W, f.H, f.W - f.X, f.H}));
  region.unite(MakePolygonRegion({cx, cy, f.W, 0, f.W, f.Y}));
  CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

void StarburstAnticlockwise(const TEffectFrame& f) {
  const int cx = f.W / 2, cy = f.H / 2;
  raster::Region region = MakePolygonRegion({cx, cy, 0, 0, 0, f.Y});
  region.unite(MakePolygonRegion({cx, cy, 0, f.H, f.X, f.H}));
  region.unite(MakePolygonRegion({cx, cy, f.W, f.H, f.W, f.H - f.Y}));
  region.unite(MakePolygonRegion({cx, cy, f.W, 0, f.W - f.X, 0}));
  CopyThroughRegion(f.Display, f.Image, f.W, f.H, region);
}

}  // namespace pavona::effects
