#include "effects/shape_shreds.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "raster/region.h"
#include "raster/region_builder.h"
#include "transition/complex_region.h"
#include "transition/diamond_region.h"
#include "transition/mul_div.h"
#include "transition/region_helpers.h"

namespace pavona::effects {

using transition::MulDiv;

namespace {

// Shapes are centred on the odd multiples of the cell sizes, column by column; a column's
// centres run while the cell above them starts above limitY. Every shape is the first one moved
// by whole pixels, which moves its pixels alike, so the shape is built once. The union is
// gathered row by row over the picture's rows, the only ones the copy can reach, rather than by
// uniting the shapes one at a time, whose cost grows with the square of their number.
template <typename MakeShape>
void RevealThroughCentres(const transition::TEffectFrame& f, std::int32_t cellX, std::int32_t cellY,
                          std::int32_t limitY, MakeShape makeShape) {
  const raster::Region shape = makeShape(cellX, cellY);
  std::vector<std::vector<raster::Span>> rows(static_cast<std::size_t>(f.H));
  for (std::int32_t x = cellX; x - cellX < f.W; x += 2 * cellX) {
    for (std::int32_t y = cellY; y - cellY < limitY; y += 2 * cellY) {
      const std::int32_t dx = x - cellX;
      const std::int32_t dy = y - cellY;
      for (const raster::Rect& r : shape) {
        const std::int32_t top = std::max(r.Top + dy, 0);
        const std::int32_t bottom = std::min(r.Bottom + dy, f.H);
        for (std::int32_t row = top; row < bottom; ++row) {
          rows[static_cast<std::size_t>(row)].push_back({r.Left + dx, r.Right + dx});
        }
      }
    }
  }
  raster::RegionBuilder builder;
  for (std::int32_t row = 0; row < f.H; ++row) {
    std::vector<raster::Span>& spans = rows[static_cast<std::size_t>(row)];
    raster::NormalizeSpans(spans);
    builder.add_band(row, row + 1, spans);
  }
  transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, builder.finish());
}

std::int32_t SquareCell(const transition::TEffectFrame& f) { return std::min(f.W, f.H) / 10 + 1; }

}  // namespace

// Triangles pointing down; one row of them is centred below the picture and reaches up into it.
void TriangularShred(const transition::TEffectFrame& f) {
  const std::int32_t cw = f.W / 10 + 1;
  const std::int32_t ch = f.H / 10 + 1;
  const std::int32_t sx = MulDiv(cw, f.Progress, 50);
  const std::int32_t sy = MulDiv(ch, f.Progress, 50);
  RevealThroughCentres(f, cw, ch, f.H + ch, [&](std::int32_t x, std::int32_t y) {
    return transition::MakePolygonRegion({x - sx, y - sy, x, y + sy, x + sx, y - sy});
  });
}

void RectangularShred(const transition::TEffectFrame& f) {
  const std::int32_t n = SquareCell(f);
  const std::int32_t a = MulDiv(n, f.Progress, 100);
  transition::TComplexRegion squares;
  for (std::int32_t i = 0; i < f.W; i += 2 * n) {
    for (std::int32_t j = 0; j < f.H; j += 2 * n) {
      squares.AddRect(i + n - a, j + n - a, i + n + a, j + n + a);
    }
  }
  if (const std::optional<raster::Region> region = squares.CreateRegion()) {
    transition::CopyThroughRegion(f.Display, f.Image, f.W, f.H, *region);
  }
}

void CircularShred(const transition::TEffectFrame& f) {
  const std::int32_t c = SquareCell(f);
  const std::int32_t r = MulDiv(3 * c, f.Progress, 200);
  RevealThroughCentres(f, c, c, f.H, [&](std::int32_t x, std::int32_t y) {
    return raster::Region::FromEllipse({x - r, y - r, x + r, y + r});
  });
}

void DiamondShred(const transition::TEffectFrame& f) {
  const std::int32_t c = SquareCell(f);
  const std::int32_t r = MulDiv(c, f.Progress, 50);
  RevealThroughCentres(f, c, c, f.H, [&](std::int32_t x, std::int32_t y) {
    return transition::MakeDiamondRegion(x, y, r, r);
  });
}

}  // namespace pavona::effects
