// The shared helpers of the effects: MulDiv, NextRandom, the effect point, TComplexRegion and
// the region steps.
#include <gtest/gtest.h>

#include <climits>

#include "raster/surface.h"
#include "transition/complex_region.h"
#include "transition/effect.h"
#include "transition/mul_div.h"
#include "transition/random.h"
#include "transition/region_helpers.h"

namespace pavona::transition {
namespace {

TEST(MulDivTest, RoundsHalvesAwayFromZeroAndFlagsFailures) {
  struct Case {
    std::int32_t a, b, c, expected;
  };
  const Case cases[] = {
      {256, 50, 100, 128},   {256, 1, 100, 3},     {256, 99, 100, 253},
      {5, 1, 2, 3},          {-5, 1, 2, -3},       {5, -1, 2, -3},     {5, 1, -2, -3},
      {-5, -1, 2, 3},        {7, 1, 3, 2},         {8, 1, 3, 3},       {-7, 1, 3, -2},
      {1, 1, 0, -1},         {INT32_MAX, 2, 1, -1}, {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX},
      {65536, 65536, 2, -1}, {65536, 65536, 4, 1 << 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
  }
}

TEST(EffectPointTest, FollowsTheDiagonalOfTheLongerSide) {
  EXPECT_EQ(EffectPoint(400, 300, 50).X, 200);
  EXPECT_EQ(EffectPoint(400, 300, 50).Y, 150);
  EXPECT_EQ(EffectPoint(300, 400, 33).Y, 132);
  EXPECT_EQ(EffectPoint(300, 400, 33).X, 99);
}

TEST(NextRandomTest, IsTheLinearCongruentialGenerator) {
  RandomSeed = 0;
  EXPECT_EQ(NextRandom(100), 0);
  EXPECT_EQ(RandomSeed, 1u);
  // 1 × 134775813 + 1 = 134775814; 100 × 134775814 >> 32 = 3.
  EXPECT_EQ(NextRandom(100), 3);
  EXPECT_EQ(RandomSeed, 134775814u);
  RandomSeed = 0xFFFFFFFFu;
  for (int i = 0; i < 1000; ++i) {
    const std::int32_t r = NextRandom(7);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 7);
  }
}

TEST(NextRandomTest, SeedScopeRepeatsTheSequenceAndRestoresTheSeed) {
  RandomSeed = 42;
  std::int32_t first[5];
  std::int32_t again[5];
  {
    TRandomSeedScope scope(1234);
    for (auto& r : first) r = NextRandom(1000);
  }
  EXPECT_EQ(RandomSeed, 42u);
  try {
    TRandomSeedScope scope(1234);
    for (auto& r : again) r = NextRandom(1000);
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(RandomSeed, 42u);
  EXPECT_TRUE(std::equal(std::begin(first), std::end(first), std::begin(again)));
}

TEST(ComplexRegionTest, GrowsInStepsAndTracksBounds) {
  TComplexRegion list;
  EXPECT_FALSE(list.CreateRegion().has_value());
  EXPECT_EQ(list.Bounds(), (raster::Rect{INT32_MAX, INT32_MAX, -INT32_MAX, -INT32_MAX}));
  EXPECT_EQ(list.Capacity(), 0);

  list.AddRect(10, 10, 20, 20);
  list.AddRect(5, 30, 8, 40);
  list.AddRect(50, 0, 40, 5);  // inverted: stored, adds no pixel
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Capacity(), 500);
  EXPECT_EQ(list.Bounds(), (raster::Rect{5, 0, 40, 40}));
  const auto region = list.CreateRegion();
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->contains(10, 10));
  EXPECT_TRUE(region->contains(7, 39));
  EXPECT_FALSE(region->contains(20, 10));
  EXPECT_FALSE(region->contains(45, 2));

  for (int i = 3; i < 501; ++i) list.AddRect(i, 0, i + 1, 1);
  EXPECT_EQ(list.Count(), 501);
  EXPECT_EQ(list.Capacity(), 1000);

  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_FALSE(list.CreateRegion().has_value());
}

TEST(RegionHelpersTest, CopyThroughRegionCopiesInsideOnlyAndRemovesTheClip) {
  raster::Bitmap display(8, 8);
  raster::Bitmap image(8, 8);
  image.fill(0x00FF0000);
  // A triangle over the top-left half.
  const raster::Region triangle = MakePolygonRegion({0, 0, 8, 0, 0, 8});
  CopyThroughRegion(display, image, 8, 8, triangle);
  EXPECT_FALSE(raster::Surface(display).has_clip());
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(display.pixel(x, y), triangle.contains(x, y) ? 0x00FF0000u : 0u) << x << "," << y;
    }
  }
  EXPECT_TRUE(triangle.contains(0, 0));
  EXPECT_FALSE(triangle.contains(7, 7));
}

}  // namespace
}  // namespace pavona::transition
