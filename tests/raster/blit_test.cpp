#include "raster/blit.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "picture.h"
#include "raster/surface.h"

namespace pavona::raster {
namespace {

// Every pixel different: 1000 + 100 y + x.
Bitmap Numbered(int width, int height) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.set_pixel(x, y, static_cast<Pixel>(1000 + 100 * y + x));
  return b;
}

bool Writable(const Bitmap& dest, int x, int y) {
  const auto& clip = dest.drawing_state().clip;
  return x >= 0 && y >= 0 && x < dest.width() && y < dest.height() && (!clip || clip->contains(x, y));
}

// What a copy must give, pixel by pixel, with the source read from a snapshot.
Bitmap ExpectedBlit(const Bitmap& dest, int dx, int dy, int w, int h, const Bitmap& source, int sx, int sy) {
  Bitmap out = dest.clone();
  const Point o = dest.drawing_state().origin;
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const int x = dx + o.X + i, y = dy + o.Y + j, u = sx + i, v = sy + j;
      if (Writable(dest, x, y) && u >= 0 && v >= 0 && u < source.width() && v < source.height()) {
        out.set_pixel(x, y, source.pixel(u, v));
      }
    }
  }
  return out;
}

// The stretch rule: the i-th destination pixel along an axis takes source pixel
// floor((2i + 1) |s| / (2 |d|)), both counted in the direction of their extent.
Bitmap ExpectedStretch(const Bitmap& dest, int dx, int dy, int dw, int dh, const Bitmap& source, int sx,
                       int sy, int sw, int sh) {
  Bitmap out = dest.clone();
  const Point o = dest.drawing_state().origin;
  const int adw = std::abs(dw), adh = std::abs(dh), asw = std::abs(sw), ash = std::abs(sh);
  if (adw == 0 || adh == 0 || asw == 0 || ash == 0) return out;
  for (int k = 0; k < adh; ++k) {
    for (int i = 0; i < adw; ++i) {
      const int x = dx + o.X + (dw > 0 ? i : -i), y = dy + o.Y + (dh > 0 ? k : -k);
      const int ju = static_cast<int>((2 * std::int64_t{i} + 1) * asw / (2 * adw));
      const int jv = static_cast<int>((2 * std::int64_t{k} + 1) * ash / (2 * adh));
      const int u = sx + (sw > 0 ? ju : -ju), v = sy + (sh > 0 ? jv : -jv);
      if (Writable(dest, x, y) && u >= 0 && v >= 0 && u < source.width() && v < source.height()) {
        out.set_pixel(x, y, source.pixel(u, v));
      }
    }
  }
  return out;
}

void ExpectSamePixels(const Bitmap& actual, const Bitmap& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (int y = 0; y < actual.height(); ++y)
    for (int x = 0; x < actual.width(); ++x) ASSERT_EQ(actual.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
}

// No clip, a clip of one rectangle, and clips that split a block into several pieces per row and
// band.
std::vector<std::optional<Region>> Clips() {
  return {std::nullopt, Region(Rect{2, 1, 9, 10}), Region::FromEllipse({0, 0, 12, 10}),
          Region::FromRects(std::vector<Rect>{{0, 0, 3, 10}, {5, 0, 7, 10}, {9, 2, 12, 4}, {1, 6, 11, 8}}),
          Region::FromRects(std::vector<Rect>{{0, 0, 3, 10}, {4, 0, 6, 10}, {7, 0, 12, 10}})};
}

struct Move {
  int dx, dy, w, h, sx, sy;
};

TEST(Blit, OverlappingBlocksInOneBitmapReadTheSourceFirst) {
  // Each direction, diagonals, whole rows (which move in one piece), and blocks that leave the bitmap.
  const Move moves[] = {{3, 2, 6, 5, 1, 2}, {1, 2, 6, 5, 3, 2}, {2, 3, 6, 5, 2, 1}, {2, 1, 6, 5, 2, 3},
                        {2, 2, 6, 5, 1, 1}, {1, 1, 6, 5, 2, 2}, {3, 0, 6, 5, 1, 2}, {0, 3, 6, 5, 2, 1},
                        {0, 3, 12, 5, 0, 1}, {0, 0, 12, 7, 0, 2}, {-2, 5, 9, 9, 0, 0}, {4, -3, 9, 9, 1, 1}};
  for (const auto& clip : Clips()) {
    for (const Move& m : moves) {
      SCOPED_TRACE(testing::Message() << "move " << m.sx << "," << m.sy << " -> " << m.dx << "," << m.dy
                                      << (clip ? " clipped" : ""));
      Bitmap b = Numbered(12, 10);
      if (clip) Surface(b).select_clip(*clip);
      const Bitmap snapshot = b.clone();
      const Bitmap expected = ExpectedBlit(b, m.dx, m.dy, m.w, m.h, snapshot, m.sx, m.sy);
      Blit(b, m.dx, m.dy, m.w, m.h, b, m.sx, m.sy);
      ExpectSamePixels(b, expected);
    }
  }
}

TEST(Blit, ClipsToBothBitmapsAndTheRegion) {
  const Bitmap source = Numbered(7, 5);
  const Move moves[] = {{-3, -2, 7, 5, 0, 0}, {8, 6, 7, 5, 0, 0}, {2, 1, 7, 5, -2, -1},
                        {2, 1, 9, 9, 3, 2},   {0, 0, 4, 4, 7, 0}, {20, 0, 4, 4, 0, 0}};
  for (const auto& clip : Clips()) {
    for (const Move& m : moves) {
      SCOPED_TRACE(testing::Message() << "move " << m.sx << "," << m.sy << " -> " << m.dx << "," << m.dy);
      Bitmap dest(12, 10);
      dest.fill(7);
      if (clip) Surface(dest).select_clip(*clip);
      const Bitmap expected = ExpectedBlit(dest, m.dx, m.dy, m.w, m.h, source, m.sx, m.sy);
      Blit(dest, m.dx, m.dy, m.w, m.h, source, m.sx, m.sy);
      ExpectSamePixels(dest, expected);
    }
  }
}

TEST(Blit, ZeroOrNegativeExtentsWriteNothing) {
  const Bitmap source = Numbered(6, 6);
  struct Extents {
    int w, h;
  };
  for (const Extents e : {Extents{0, 4}, Extents{4, 0}, Extents{-3, 4}, Extents{4, -3}, Extents{0, 0}}) {
    Bitmap dest(6, 6);
    Blit(dest, 1, 1, e.w, e.h, source, 0, 0);
    // A negative extent mirrors a stretch; only a zero one is empty.
    if (e.w == 0 || e.h == 0) {
      StretchBlit(dest, 1, 1, e.w, e.h, source, 0, 0, 4, 4);
      StretchBlit(dest, 1, 1, 4, 4, source, 0, 0, e.w, e.h);
    }
    EXPECT_EQ(Picture(dest, 0), Lines(R"(
######
######
######
######
######
######
)")) << e.w << " x " << e.h;
  }
}

// One row of pixels 1, 2, 3, ... and the row a stretch makes of it.
std::vector<Pixel> StretchRow(int source_width, int dx, int dw, int sx, int sw, int dest_width) {
  Bitmap source(source_width, 1);
  for (int x = 0; x < source_width; ++x) source.set_pixel(x, 0, static_cast<Pixel>(x + 1));
  Bitmap dest(dest_width, 1);
  StretchBlit(dest, dx, 0, dw, 1, source, sx, 0, sw, 1);
  return {dest.row(0).begin(), dest.row(0).end()};
}

TEST(StretchBlit, TakesTheSourcePixelUnderEachCentre) {
  struct Case {
    int source_width, dx, dw, sx, sw, dest_width;
    std::vector<Pixel> expected;
  };
  const Case cases[] = {
      {2, 0, 4, 0, 2, 4, {1, 1, 2, 2}},           // doubled
      {4, 0, 2, 0, 4, 2, {2, 4}},                 // halved
      {3, 0, 2, 0, 3, 2, {1, 3}},                 // 3 to 2
      {2, 0, 5, 0, 2, 5, {1, 1, 2, 2, 2}},        // 2 to 5
      {5, 0, 3, 0, 5, 3, {1, 3, 5}},              // 5 to 3
      {3, 0, 3, 0, 3, 3, {1, 2, 3}},              // one to one
      {2, 3, -4, 0, 2, 4, {2, 2, 1, 1}},          // mirrored: source column 0 lands on column 3
      {2, 0, 4, 1, -2, 4, {2, 2, 1, 1}},          // source read right to left
      {2, 3, -4, 1, -2, 4, {1, 1, 2, 2}},         // both: mirrored twice
      {4, 3, -4, 0, 4, 4, {4, 3, 2, 1}},          // mirrored one to one
      {4, 1, 2, 2, 2, 5, {0, 3, 4, 0, 0}},        // a part, placed inside
      {4, -2, 8, 0, 4, 5, {2, 2, 3, 3, 4}},       // starts left of the bitmap
      {3, 0, 4, -1, 4, 4, {0, 1, 2, 3}},          // source starts left of the bitmap: kept
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StretchRow(c.source_width, c.dx, c.dw, c.sx, c.sw, c.dest_width), c.expected)
        << c.sw << " -> " << c.dw << " at " << c.dx;
  }
}

TEST(StretchBlit, MirroredIsTheMirrorImage) {
  for (int sw = 1; sw <= 9; ++sw) {
    for (int dw = 1; dw <= 13; ++dw) {
      std::vector<Pixel> plain = StretchRow(sw, 0, dw, 0, sw, dw);
      const std::vector<Pixel> mirrored = StretchRow(sw, dw - 1, -dw, 0, sw, dw);
      std::reverse(plain.begin(), plain.end());
      EXPECT_EQ(mirrored, plain) << sw << " -> " << dw;
    }
  }
}

struct Stretch {
  int dx, dy, dw, dh, sx, sy, sw, sh;
};

TEST(StretchBlit, MatchesTheRuleWithClipsEdgesAndOverlap) {
  const Stretch stretches[] = {
      {3, 0, 9, 10, 0, 0, 12, 10},     // squeeze the picture to the right, inside itself
      {0, 0, 8, 10, 0, 0, 12, 10},     // squeeze to the left
      {0, 2, 12, 8, 0, 0, 12, 10},     // squeeze down
      {-6, -5, 24, 20, 3, 2, 6, 5},    // magnify the middle beyond every edge
      {7, 0, -4, 10, 8, 0, 4, 10},     // a mirrored band next to its source
      {0, 9, 12, -5, 0, 2, 12, 5},     // mirrored rows
      {2, 1, 5, 7, 10, 8, -7, -6},     // source read backwards
      {1, 1, 10, 8, 1, 1, 10, 8},      // one to one
      {1, 1, 10, 8, 10, 1, -10, 8},    // mirrored one to one
      {0, 0, 12, 10, -2, -1, 12, 10},  // source partly outside the bitmap
  };
  for (const auto& clip : Clips()) {
    for (const Stretch& s : stretches) {
      SCOPED_TRACE(testing::Message() << "(" << s.dx << "," << s.dy << "," << s.dw << "," << s.dh << ") <- ("
                                      << s.sx << "," << s.sy << "," << s.sw << "," << s.sh << ")"
                                      << (clip ? " clipped" : ""));
      for (bool in_place : {false, true}) {
        Bitmap b = Numbered(12, 10);
        if (clip) Surface(b).select_clip(*clip);
        const Bitmap snapshot = b.clone();
        const Bitmap expected = ExpectedStretch(b, s.dx, s.dy, s.dw, s.dh, snapshot, s.sx, s.sy, s.sw, s.sh);
        StretchBlit(b, s.dx, s.dy, s.dw, s.dh, in_place ? b : snapshot, s.sx, s.sy, s.sw, s.sh);
        ExpectSamePixels(b, expected);
      }
    }
  }
}

TEST(StretchBlit, LargeMagnificationSamplesEvenly) {
  // 3 source columns over 400: the middle one takes the middle third, rounded at pixel centres.
  const std::vector<Pixel> row = StretchRow(3, 0, 400, 0, 3, 400);
  EXPECT_EQ(std::count(row.begin(), row.end(), Pixel{1}), 133);
  EXPECT_EQ(std::count(row.begin(), row.end(), Pixel{2}), 134);
  EXPECT_EQ(std::count(row.begin(), row.end(), Pixel{3}), 133);
}

TEST(Fill, FrameIsDrawnInsideTheEdge) {
  struct Case {
    int pen;
    const char* expected;
  };
  const Case cases[] = {
      {1, R"(
........
.######.
.#....#.
.#....#.
.#....#.
.######.
........
)"},
      {2, R"(
........
.######.
.######.
.##..##.
.######.
.######.
........
)"},
      {3, R"(
........
.######.
.######.
.######.
.######.
.######.
........
)"},
      {0, R"(
........
........
........
........
........
........
........
)"},
  };
  for (const Case& c : cases) {
    Bitmap b(8, 7);
    FrameRect(b, {1, 1, 7, 6}, c.pen, 5);
    EXPECT_EQ(Picture(b, 5), Lines(c.expected)) << "pen " << c.pen;
  }
}

TEST(Fill, RectAndRegionHonourClipAndOrigin) {
  Bitmap b(8, 5);
  Surface s(b);
  s.select_clip(Region::FromRects(std::vector<Rect>{{0, 0, 8, 2}, {0, 3, 8, 5}}));
  s.set_origin({2, 1});
  FillRect(b, {-1, -1, 3, 3}, 9);
  FillRegion(b, Region::FromEllipse({2, 0, 6, 4}), 9);
  FillRect(b, {4, 0, 1, 4}, 9);  // inverted: nothing
  EXPECT_EQ(Picture(b, 9), Lines(R"(
.####...
.######.
........
.#######
.....##.
)"));
}

}  // namespace
}  // namespace pavona::raster
