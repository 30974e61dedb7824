// Region operations against a per-pixel mask on a small grid. Every case has its own seed, printed
// on failure; set kFirstSeed to it to replay that case alone.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

#include "raster/region.h"
#include "raster/region_builder.h"

namespace pavona::raster {
namespace {

constexpr int kMin = -4, kMax = 28;  // the mask covers [kMin, kMax) in x and y
constexpr int kSide = kMax - kMin;
constexpr unsigned kFirstSeed = 1;
constexpr unsigned kCases = 400;

struct Mask {
  std::array<bool, kSide * kSide> bits{};
  bool& at(int x, int y) { return bits[static_cast<std::size_t>((y - kMin) * kSide + (x - kMin))]; }
  bool at(int x, int y) const { return bits[static_cast<std::size_t>((y - kMin) * kSide + (x - kMin))]; }
};

// Reference for polygons, point by point: the winding number just left and just right of each
// pixel centre on its row, in doubled coordinates. A centre on the outline is inside when either
// side is, so an outline that borders no inside adds nothing.
bool PolygonHolds(const std::vector<Point>& poly, FillMode mode, int x, int y) {
  const std::int64_t px = 2 * x + 1, py = 2 * y + 1;
  int left_winding = 0, right_winding = 0, left_crossings = 0, right_crossings = 0;
  for (std::size_t i = 0; i < poly.size(); ++i) {
    const Point a = poly[i], b = poly[(i + 1) % poly.size()];
    std::int64_t ax = 2 * a.X, ay = 2 * a.Y, bx = 2 * b.X, by = 2 * b.Y;
    if ((ay < py) == (by < py)) continue;  // vertices have even y, the centre odd: never equal
    const int direction = ay < by ? 1 : -1;
    if (ay > by) {
      std::swap(ax, bx);
      std::swap(ay, by);
    }
    // Sign of (crossing x - px), scaled by by - ay > 0.
    const std::int64_t side = (ax - px) * (by - ay) + (bx - ax) * (py - ay);
    if (side >= 0) {  // right of a point just left of the centre
      left_winding += direction;
      ++left_crossings;
    }
    if (side > 0) {  // right of a point just right of it
      right_winding += direction;
      ++right_crossings;
    }
  }
  if (mode == FillMode::Winding) return left_winding != 0 || right_winding != 0;
  return (left_crossings & 1) != 0 || (right_crossings & 1) != 0;
}

// Reference for ellipses: the pixel centre inside or on the ellipse inscribed in r.
bool EllipseHolds(const Rect& r, int x, int y) {
  const std::int64_t w = r.width(), h = r.height();
  const std::int64_t u = 2 * x + 1 - (r.Left + r.Right), v = 2 * y + 1 - (r.Top + r.Bottom);
  return w > 0 && h > 0 && u * u * h * h + v * v * w * w <= w * w * h * h;
}

struct Shape {
  Region region;
  Mask mask;
};

Shape RandomShape(std::mt19937& rng) {
  std::uniform_int_distribution<int> coord(kMin + 1, kMax - 1);
  Shape s;
  switch (std::uniform_int_distribution<int>(0, 2)(rng)) {
    case 0: {
      std::vector<Rect> rects(std::uniform_int_distribution<std::size_t>(0, 8)(rng));
      for (Rect& r : rects) r = {coord(rng), coord(rng), coord(rng), coord(rng)};  // some inverted
      s.region = Region::FromRects(rects);
      for (const Rect& r : rects)
        for (int y = r.Top; y < r.Bottom; ++y)
          for (int x = r.Left; x < r.Right; ++x) s.mask.at(x, y) = true;
      break;
    }
    case 1: {
      std::vector<Point> poly(std::uniform_int_distribution<std::size_t>(3, 7)(rng));
      for (Point& p : poly) p = {coord(rng), coord(rng)};
      const FillMode mode = rng() % 2 ? FillMode::Winding : FillMode::Alternate;
      s.region = Region::FromPolygon(poly, mode);
      for (int y = kMin; y < kMax; ++y)
        for (int x = kMin; x < kMax; ++x) s.mask.at(x, y) = PolygonHolds(poly, mode, x, y);
      break;
    }
    default: {
      const Rect r{coord(rng), coord(rng), coord(rng), coord(rng)};
      s.region = Region::FromEllipse(r);
      for (int y = kMin; y < kMax; ++y)
        for (int x = kMin; x < kMax; ++x) s.mask.at(x, y) = EllipseHolds(r, x, y);
      break;
    }
  }
  return s;
}

bool Apply(CombineMode mode, bool a, bool b) {
  switch (mode) {
    case CombineMode::And: return a && b;
    case CombineMode::Or: return a || b;
    case CombineMode::Xor: return a != b;
    case CombineMode::Diff: return a && !b;
    case CombineMode::Copy: return a;
  }
  return false;
}

void ExpectMatches(const Region& region, const Mask& mask) {
  ASSERT_TRUE(IsCanonical(region.rects()));
  Rect box{kMax, kMax, kMin, kMin};
  bool any = false;
  for (int y = kMin; y < kMax; ++y) {
    for (int x = kMin; x < kMax; ++x) {
      ASSERT_EQ(region.contains(x, y), mask.at(x, y)) << "pixel " << x << "," << y;
      if (mask.at(x, y)) {
        any = true;
        box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1), std::max(box.Bottom, y + 1)};
      }
    }
  }
  EXPECT_EQ(region.bounds(), any ? box : Rect{});
}

TEST(RegionRandom, MatchesAPixelMask) {
  const CombineMode modes[] = {CombineMode::And, CombineMode::Or, CombineMode::Xor, CombineMode::Diff,
                               CombineMode::Copy};
  for (unsigned seed = kFirstSeed; seed < kFirstSeed + kCases; ++seed) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    std::mt19937 rng(seed);
    const Shape a = RandomShape(rng), b = RandomShape(rng);
    ASSERT_NO_FATAL_FAILURE(ExpectMatches(a.region, a.mask));
    ASSERT_NO_FATAL_FAILURE(ExpectMatches(b.region, b.mask));

    for (CombineMode mode : modes) {
      SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(mode));
      Mask expected;
      for (std::size_t i = 0; i < expected.bits.size(); ++i) expected.bits[i] = Apply(mode, a.mask.bits[i], b.mask.bits[i]);
      ASSERT_NO_FATAL_FAILURE(ExpectMatches(Region::Combine(a.region, b.region, mode), expected));
    }

    // Rectangle tests against the mask.
    std::uniform_int_distribution<int> coord(kMin, kMax);
    const Rect probe{coord(rng), coord(rng), coord(rng), coord(rng)};
    bool any = false, all = true;
    for (int y = probe.Top; y < probe.Bottom; ++y) {
      for (int x = probe.Left; x < probe.Right; ++x) {
        if (a.mask.at(x, y)) {
          any = true;
        } else {
          all = false;
        }
      }
    }
    EXPECT_EQ(a.region.intersects(probe), any);
    EXPECT_EQ(a.region.contains(probe), all);

    // An offset moves every pixel.
    const int dx = coord(rng) / 4, dy = coord(rng) / 4;
    const Region moved = a.region.translated(dx, dy);
    ASSERT_TRUE(IsCanonical(moved.rects()));
    for (int y = kMin; y < kMax; ++y)
      for (int x = kMin; x < kMax; ++x) ASSERT_EQ(moved.contains(x + dx, y + dy), a.mask.at(x, y));
  }
}

}  // namespace
}  // namespace pavona::raster
