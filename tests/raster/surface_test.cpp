#include "raster/surface.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "picture.h"
#include "raster/blit.h"

namespace pavona::raster {
namespace {

TEST(Surface, WithoutAClipTheWholeBitmapIsDrawable) {
  Bitmap b(6, 4);
  const Surface s(b);
  EXPECT_FALSE(s.has_clip());
  EXPECT_EQ(s.clip(), nullptr);
  EXPECT_EQ(s.clip_box(), (Rect{0, 0, 6, 4}));
  EXPECT_TRUE(s.rect_visible({5, 3, 9, 9}));
  EXPECT_FALSE(s.rect_visible({6, 0, 9, 4}));
  EXPECT_FALSE(s.rect_visible({2, 2, 1, 1}));
}

TEST(Surface, ExcludeAndIntersectClipRects) {
  Bitmap b(7, 5);
  Surface s(b);
  s.exclude_clip_rect({2, 1, 5, 3});  // a hole in the whole bitmap
  s.intersect_clip_rect({1, 0, 6, 4});
  FillRect(b, b.bounds(), 1);
  EXPECT_EQ(Picture(b, 1), Lines(R"(
.#####.
.#...#.
.#...#.
.#####.
.......
)"));
  EXPECT_EQ(s.clip_box(), (Rect{1, 0, 6, 4}));
  EXPECT_FALSE(s.rect_visible({2, 1, 5, 3}));
  EXPECT_TRUE(s.rect_visible({2, 1, 6, 3}));

  s.remove_clip();
  EXPECT_EQ(s.clip_box(), b.bounds());
  s.intersect_clip_rect({1, 1, 3, 3});  // without a clip, the rectangle becomes the clip
  EXPECT_EQ(*s.clip(), Region(Rect{1, 1, 3, 3}));
}

TEST(Surface, AnEmptyClipLetsNothingThrough) {
  Bitmap b(4, 4);
  const Bitmap source = [] {
    Bitmap s(4, 4);
    s.fill(3);
    return s;
  }();
  Surface s(b);
  s.select_clip(Region());
  Blit(b, 0, 0, 4, 4, source, 0, 0);
  StretchBlit(b, 0, 0, 4, 4, source, 0, 0, 2, 2);
  FillRect(b, b.bounds(), 3);
  EXPECT_EQ(Picture(b, 0), Lines("####\n####\n####\n####\n"));
  EXPECT_TRUE(s.clip_box().is_empty());
  EXPECT_FALSE(s.rect_visible(b.bounds()));
}

TEST(Surface, OriginShiftsLogicalCoordinates) {
  Bitmap b(6, 5);
  Surface s(b);
  EXPECT_EQ(s.set_origin({-2, 1}), (Point{0, 0}));
  EXPECT_EQ(s.origin(), (Point{-2, 1}));
  EXPECT_EQ(s.clip_box(), (Rect{2, -1, 8, 4}));  // the bitmap, seen from logical coordinates
  s.exclude_clip_rect({3, 0, 5, 2});              // logical: bitmap columns 1 to 2, rows 1 to 2
  EXPECT_EQ(*s.clip(), Region(b.bounds()).subtracted(Region(Rect{1, 1, 3, 3})));
  EXPECT_FALSE(s.rect_visible({3, 0, 5, 2}));

  Bitmap source(2, 2);
  source.fill(4);
  Blit(b, 2, 2, 2, 2, source, 0, 0);  // lands at bitmap (0, 3)
  FillRect(b, {4, -1, 5, 1}, 4);      // bitmap column 2, rows 0 to 1; row 1 is excluded
  EXPECT_EQ(Picture(b, 4), Lines(R"(
..#...
......
......
##....
##....
)"));
}

TEST(Surface, SavedStateComesBackOnEveryPath) {
  Bitmap b(5, 5);
  Surface s(b);
  s.intersect_clip_rect({0, 0, 4, 4});
  s.set_origin({1, 1});
  const DrawingState before = s.state();
  {
    SavedDrawingState saved(b);
    s.remove_clip();
    s.set_origin({0, 0});
  }
  EXPECT_EQ(s.state(), before);
  try {
    SavedDrawingState saved(s);
    s.exclude_clip_rect({0, 0, 2, 2});
    s.set_origin({3, 3});
    throw std::runtime_error("drawing failed");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(s.state(), before);
}

TEST(Surface, StateBelongsToTheBitmap) {
  Bitmap b(4, 4);
  Surface(b).intersect_clip_rect({1, 1, 2, 2});
  Surface(b).set_origin({1, 0});
  EXPECT_TRUE(Surface(b).has_clip());

  Bitmap copy = b.clone();
  EXPECT_FALSE(Surface(copy).has_clip());
  Bitmap moved = std::move(b);
  EXPECT_TRUE(Surface(moved).has_clip());
  EXPECT_EQ(Surface(moved).origin(), (Point{1, 0}));
  moved.resize(3, 3);
  EXPECT_EQ(moved.drawing_state(), DrawingState{});
}

}  // namespace
}  // namespace pavona::raster
