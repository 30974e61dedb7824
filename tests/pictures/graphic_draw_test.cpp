#include <gtest/gtest.h>

#include <vector>

#include "raster/region.h"
#include "raster/surface.h"
#include "pictures/bitmap_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::Bitmap;
using raster::Pixel;
using raster::Point;
using raster::Rect;

constexpr Pixel kCanvas = 0x00000000;

// A graphic whose pixel (x, y) is 0x10 * y + x + 1, so every source pixel is recognisable.
TBitmap Numbered(int width, int height) {
  Bitmap pixels(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) pixels.set_pixel(x, y, 0x10 * y + x + 1);
  }
  return TBitmap(std::move(pixels));
}

// The canvas row by row, so a failure shows the picture.
std::vector<std::vector<Pixel>> Rows(const Bitmap& canvas) {
  std::vector<std::vector<Pixel>> rows;
  for (int y = 0; y < canvas.height(); ++y) {
    rows.emplace_back(canvas.row(y).begin(), canvas.row(y).end());
  }
  return rows;
}

TEST(GraphicDraw, NaturalSizeIsClippedToTheCanvas) {
  const TBitmap graphic = Numbered(3, 2);
  Bitmap canvas(4, 3);
  graphic.Draw(canvas, Point{-1, 2});  // one column off the left, one row off the bottom
  graphic.Draw(canvas, Point{2, 0});   // one column off the right
  EXPECT_EQ(Rows(canvas), (std::vector<std::vector<Pixel>>{
                              {0, 0, 0x01, 0x02},
                              {0, 0, 0x11, 0x12},
                              {0x02, 0x03, 0, 0}}));
}

TEST(GraphicDraw, StretchesByNearestNeighbour) {
  const TBitmap graphic = Numbered(2, 2);
  Bitmap canvas(5, 3);
  graphic.Draw(canvas, Rect{1, 0, 5, 3});
  EXPECT_EQ(Rows(canvas), (std::vector<std::vector<Pixel>>{
                              {0, 0x01, 0x01, 0x02, 0x02},
                              {0, 0x01, 0x01, 0x02, 0x02},
                              {0, 0x11, 0x11, 0x12, 0x12}}));

  Bitmap small(2, 1);
  Numbered(4, 2).Draw(small, Rect{0, 0, 2, 1});
  EXPECT_EQ(Rows(small), (std::vector<std::vector<Pixel>>{
                              {0x01, 0x03}}));
}

TEST(GraphicDraw, HonoursClipRegionOriginAndClipRect) {
  const TBitmap graphic = Numbered(3, 3);
  Bitmap canvas(4, 4);
  raster::Surface surface(canvas);
  const Rect holes[] = {{0, 0, 2, 2}, {3, 3, 4, 4}};
  surface.select_clip(raster::Region::FromRects(holes));
  surface.set_origin(Point{1, 1});  // logical (0, 0) is pixel (1, 1)
  graphic.Draw(canvas, Point{0, 0});
  EXPECT_EQ(Rows(canvas), (std::vector<std::vector<Pixel>>{
                              {0, 0, 0, 0},
                              {0, 0x01, 0, 0},
                              {0, 0, 0, 0},
                              {0, 0, 0, 0x23}}));

  surface.remove_clip();
  surface.set_origin(Point{0, 0});
  canvas.fill(kCanvas);
  graphic.Draw(canvas, Rect{0, 0, 3, 3}, Rect{1, 1, 10, 2});
  EXPECT_EQ(Rows(canvas), (std::vector<std::vector<Pixel>>{
                              {0, 0, 0, 0},
                              {0, 0x12, 0x13, 0},
                              {0, 0, 0, 0},
                              {0, 0, 0, 0}}));
}

TEST(GraphicDraw, EmptyOrInvertedTargetsDrawNothing) {
  const TBitmap graphic = Numbered(2, 2);
  Bitmap canvas(3, 3);
  for (const Rect& dest : {Rect{1, 1, 1, 3}, Rect{2, 2, 0, 0}, Rect{5, 5, 9, 9}}) {
    graphic.Draw(canvas, dest);
  }
  const TBitmap empty;
  empty.Draw(canvas, Rect{0, 0, 3, 3});
  EXPECT_EQ(Rows(canvas), Rows(Bitmap(3, 3)));
}

}  // namespace
}  // namespace pavona::pictures::testing
