#include "raster/region.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "picture.h"

namespace pavona::raster {
namespace {

TEST(RegionShapes, RectangleHoldsLeftAndTopButNotRightAndBottom) {
  const Region r(Rect{1, 1, 4, 3});
  EXPECT_EQ(Picture(r, 5, 4), Lines(R"(
.....
.###.
.###.
.....
)"));
  EXPECT_EQ(r.bounds(), (Rect{1, 1, 4, 3}));
  EXPECT_EQ(r.kind(), RegionKind::Simple);
}

TEST(RegionShapes, EmptyAndInvertedRectanglesHoldNothing) {
  const std::vector<Rect> nothing{{3, 3, 3, 5}, {5, 1, 2, 4}, {1, 5, 4, 2}, {4, 4, 1, 1}, {0, 0, 0, 0}};
  for (const Rect& r : nothing) {
    SCOPED_TRACE(testing::Message() << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom);
    EXPECT_TRUE(Region(r).is_empty());
    EXPECT_TRUE(Region::FromEllipse(r).is_empty());
    EXPECT_TRUE(Region::FromRoundRect(r, 2, 2).is_empty());
  }
  std::vector<Rect> list = nothing;
  list.push_back({1, 1, 3, 2});
  EXPECT_EQ(Region::FromRects(list), Region(Rect{1, 1, 3, 2}));
  EXPECT_TRUE(Region::FromRects(nothing).is_empty());
  EXPECT_EQ(Region().kind(), RegionKind::Empty);
  EXPECT_EQ(Region().bounds(), Rect{});
}

TEST(RegionShapes, Triangle) {
  const std::vector<Point> triangle{{1, 7}, {5, 0}, {9, 7}};
  EXPECT_EQ(Picture(Region::FromPolygon(triangle), 11, 8), Lines(R"(
...........
....##.....
....##.....
...####....
..######...
..######...
.########..
...........
)"));
}

TEST(RegionShapes, PolygonOfARectangleMatchesTheRectangle) {
  const std::vector<Point> square{{2, 1}, {6, 1}, {6, 4}, {2, 4}};
  EXPECT_EQ(Region::FromPolygon(square), Region(Rect{2, 1, 6, 4}));
  const std::vector<Point> backwards{{2, 4}, {6, 4}, {6, 1}, {2, 1}};
  EXPECT_EQ(Region::FromPolygon(backwards, FillMode::Alternate), Region(Rect{2, 1, 6, 4}));
}

TEST(RegionShapes, DegeneratePolygonsHoldNothing) {
  const std::vector<std::vector<Point>> cases{{}, {{3, 3}}, {{0, 0}, {5, 5}}, {{0, 2}, {8, 2}, {4, 2}}};
  for (const auto& points : cases) EXPECT_TRUE(Region::FromPolygon(points).is_empty());
}

// A five-pointed star drawn in one stroke crosses itself; its middle is wound twice.
const std::vector<Point> kStar{{6, 0}, {10, 12}, {0, 4}, {12, 4}, {2, 12}};

TEST(RegionShapes, StarUnderTheAlternateRuleLeavesItsMiddleOpen) {
  EXPECT_EQ(Picture(Region::FromPolygon(kStar, FillMode::Alternate), 13, 13), Lines(R"(
.............
.....##......
.....##......
.....##......
.####..####..
..##....##...
...#....#....
...#....#....
...######....
...##..##....
..##....##...
..#......#...
.............
)"));
}

TEST(RegionShapes, StarUnderTheWindingRuleIsFilled) {
  EXPECT_EQ(Picture(Region::FromPolygon(kStar, FillMode::Winding), 13, 13), Lines(R"(
.............
.....##......
.....##......
.....##......
.##########..
..########...
...######....
...######....
...######....
...##..##....
..##....##...
..#......#...
.............
)"));
}

TEST(RegionShapes, Ellipse) {
  EXPECT_EQ(Picture(Region::FromEllipse({1, 1, 9, 7}), 10, 8), Lines(R"(
..........
...####...
..######..
.########.
.########.
..######..
...####...
..........
)"));
  EXPECT_EQ(Picture(Region::FromEllipse({0, 0, 7, 5}), 8, 6), Lines(R"(
.#####..
#######.
#######.
#######.
.#####..
........
)"));
}

TEST(RegionShapes, RoundedRectangle) {
  EXPECT_EQ(Picture(Region::FromRoundRect({0, 0, 12, 8}, 6, 6), 13, 9), Lines(R"(
.##########..
############.
############.
############.
############.
############.
############.
.##########..
.............
)"));
  EXPECT_EQ(Picture(Region::FromRoundRect({0, 0, 12, 8}, 10, 8), 13, 9), Lines(R"(
...######....
.##########..
############.
############.
############.
############.
.##########..
...######....
.............
)"));
  // No corner is the plain rectangle; a corner larger than the rectangle is its ellipse.
  EXPECT_EQ(Region::FromRoundRect({1, 2, 7, 9}, 0, 5), Region(Rect{1, 2, 7, 9}));
  EXPECT_EQ(Region::FromRoundRect({1, 2, 7, 9}, 50, 50), Region::FromEllipse({1, 2, 7, 9}));
}

// Mirrors the region across the middle of box, left to right and top to bottom.
bool IsSymmetric(const Region& region, const Rect& box) {
  for (int y = box.Top; y < box.Bottom; ++y) {
    for (int x = box.Left; x < box.Right; ++x) {
      const bool in = region.contains(x, y);
      if (in != region.contains(box.Left + box.Right - 1 - x, y)) return false;
      if (in != region.contains(x, box.Top + box.Bottom - 1 - y)) return false;
    }
  }
  return true;
}

TEST(RegionShapes, SymmetricShapesStaySymmetric) {
  for (int w = 1; w <= 15; ++w) {
    for (int h = 1; h <= 15; ++h) {
      SCOPED_TRACE(testing::Message() << w << " x " << h);
      const Rect box{3, 2, 3 + w, 2 + h};
      EXPECT_TRUE(IsSymmetric(Region::FromEllipse(box), box));
      EXPECT_TRUE(IsSymmetric(Region::FromRoundRect(box, w / 2, h / 3), box));
      // A diamond through the middles of the box's sides; its slanted edges pass exactly
      // through pixel centres for many sizes.
      const std::vector<Point> diamond{{3 + w / 2, 2}, {3 + w, 2 + h / 2}, {3 + w / 2, 2 + h}, {3, 2 + h / 2}};
      if (w % 2 == 0 && h % 2 == 0) {
        EXPECT_TRUE(IsSymmetric(Region::FromPolygon(diamond), box));
      }
    }
  }
  // An isosceles triangle mirrors left to right.
  const Region triangle = Region::FromPolygon(std::vector<Point>{{0, 0}, {8, 0}, {4, 6}});
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 8; ++x) EXPECT_EQ(triangle.contains(x, y), triangle.contains(7 - x, y)) << x << "," << y;
  }
}

TEST(RegionShapes, RectListIsKeptInBands) {
  // Two touching rectangles side by side, and a ring: the list is rebuilt into y-x bands.
  EXPECT_EQ(Region::FromRects(std::vector<Rect>{{0, 0, 2, 3}, {2, 0, 5, 3}}).rect_count(), 1u);
  const std::vector<Rect> ring{{0, 0, 6, 2}, {0, 0, 2, 6}, {4, 1, 6, 6}, {0, 4, 6, 6}};
  const Region region = Region::FromRects(ring);
  const std::vector<Rect> bands(region.begin(), region.end());
  EXPECT_EQ(bands, (std::vector<Rect>{{0, 0, 6, 2}, {0, 2, 2, 4}, {4, 2, 6, 4}, {0, 4, 6, 6}}));
  EXPECT_EQ(region.kind(), RegionKind::Complex);
  EXPECT_EQ(region.bounds(), (Rect{0, 0, 6, 6}));
}

TEST(RegionCombine, EachOperation) {
  const Region a(Rect{0, 0, 4, 3});
  const Region b(Rect{2, 1, 6, 4});
  struct Case {
    CombineMode mode;
    const char* expected;
  };
  const Case cases[] = {
      {CombineMode::And, R"(
......
..##..
..##..
......
)"},
      {CombineMode::Or, R"(
####..
######
######
..####
)"},
      {CombineMode::Xor, R"(
####..
##..##
##..##
..####
)"},
      {CombineMode::Diff, R"(
####..
##....
##....
......
)"},
      {CombineMode::Copy, R"(
####..
####..
####..
......
)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    EXPECT_EQ(Picture(Region::Combine(a, b, c.mode), 6, 4), Lines(c.expected));
  }
  EXPECT_EQ(a.united(b), Region::Combine(a, b, CombineMode::Or));
  Region c = a;
  c.subtract(b);
  EXPECT_EQ(c, a.subtracted(b));
  EXPECT_EQ(a.xored(a), Region());
  EXPECT_EQ(a.subtracted(b).united(b.subtracted(a)), a.xored(b));
}

TEST(RegionCombine, WithAnEmptyRegion) {
  const Region a(Rect{0, 0, 4, 3});
  const Region none;
  EXPECT_EQ(a.united(none), a);
  EXPECT_EQ(none.united(a), a);
  EXPECT_EQ(a.xored(none), a);
  EXPECT_EQ(a.subtracted(none), a);
  EXPECT_TRUE(a.intersected(none).is_empty());
  EXPECT_TRUE(none.subtracted(a).is_empty());
}

TEST(RegionTests, PointAndRectangle) {
  // An L: the left column and the bottom row of a 4 x 4 square.
  const Region l = Region::FromRects(std::vector<Rect>{{0, 0, 1, 4}, {0, 3, 4, 4}});
  EXPECT_TRUE(l.contains(0, 0));
  EXPECT_TRUE(l.contains(Point{3, 3}));
  EXPECT_FALSE(l.contains(1, 0));
  EXPECT_FALSE(l.contains(4, 3));
  EXPECT_FALSE(l.contains(0, 4));
  EXPECT_FALSE(l.contains(-1, 3));

  EXPECT_TRUE(l.intersects(Rect{3, 3, 9, 9}));
  EXPECT_FALSE(l.intersects(Rect{1, 0, 4, 3}));  // inside the bounds, but in the hollow
  EXPECT_FALSE(l.intersects(Rect{4, 3, 9, 9}));
  EXPECT_FALSE(l.intersects(Rect{3, 3, 1, 9}));

  EXPECT_TRUE(l.contains(Rect{0, 3, 4, 4}));
  EXPECT_FALSE(l.contains(Rect{0, 2, 2, 4}));
  EXPECT_TRUE(l.contains(Rect{9, 9, 9, 9}));
}

TEST(RegionTests, Offset) {
  const Region ring = Region::FromRects(std::vector<Rect>{{0, 0, 3, 1}, {0, 2, 3, 3}, {0, 0, 1, 3}, {2, 0, 3, 3}});
  EXPECT_EQ(Picture(ring.translated(2, 1), 6, 5), Lines(R"(
......
..###.
..#.#.
..###.
......
)"));
  EXPECT_EQ(ring.translated(-5, 7).translated(5, -7), ring);
  EXPECT_EQ(ring.translated(2, 1).bounds(), (Rect{2, 1, 5, 4}));

  // Moving past the coordinate range clamps instead of overflowing.
  Region far = ring;
  far.translate_by(INT_MAX, INT_MIN);
  EXPECT_TRUE(far.is_empty());
  Region edge(Rect{0, 0, 10, 10});
  edge.translate_by(Region::kCoordLimit - 5, 0);
  EXPECT_EQ(edge, Region(Rect{Region::kCoordLimit - 5, 0, Region::kCoordLimit, 10}));
}

}  // namespace
}  // namespace pavona::raster
