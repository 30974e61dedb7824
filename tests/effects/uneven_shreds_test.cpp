// Styles 65 to 68, 76 to 79 and 100 to 109: strips of random length from the running sequence.
//
// The maps are worked out from RandomSeed = 2026: the generator's first twelve numbers below 4
// are 2, 3, 3, 2, 0, 2, 1, 2, 2, 0, 3, 2 and the next twenty below 2 are 1, 0, 0, 0, 1, 0, 1, 0,
// 0, 0, 0, 1, 0, 1, 0, 0, 0, 0, 1, 0. At 20 × 12 and 12 × 20 the strips are one pixel thick
// with no overhang; the jitter J is W div 10 across and H div 10 down: 2 and 1 at 20 × 12, 1
// and 2 at 12 × 20. 20 × 12: at 3, X = 1; at 25, X = 5, Y = 3; at 50, X = 10, Y = 6; at 97,
// X = 19, Y = 11. 12 × 20 at 50: Y = 10.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "tests/effects/frame_blocks.h"
#include "transition/random.h"

namespace pavona::effects::testing {
namespace {

using transition::RandomSeed;

struct ShredCase {
  int Style, W, H, Progress;
  std::vector<std::string> Map;
};

const ShredCase kCases[] = {
    // From the left: lengths 10 − 2 + 0..3.
    {66, 20, 12, 50,
     {"nnnnnnnnnnoooooooooo",
      "nnnnnnnnnnnooooooooo",
      "nnnnnnnnnnnooooooooo",
      "nnnnnnnnnnoooooooooo",
      "nnnnnnnnoooooooooooo",
      "nnnnnnnnnnoooooooooo",
      "nnnnnnnnnooooooooooo",
      "nnnnnnnnnnoooooooooo",
      "nnnnnnnnnnoooooooooo",
      "nnnnnnnnoooooooooooo",
      "nnnnnnnnnnnooooooooo",
      "nnnnnnnnnnoooooooooo"}},
    {65, 20, 12, 50,
     {"oooooooooonnnnnnnnnn",
      "ooooooooonnnnnnnnnnn",
      "ooooooooonnnnnnnnnnn",
      "oooooooooonnnnnnnnnn",
      "oooooooooooonnnnnnnn",
      "oooooooooonnnnnnnnnn",
      "ooooooooooonnnnnnnnn",
      "oooooooooonnnnnnnnnn",
      "oooooooooonnnnnnnnnn",
      "oooooooooooonnnnnnnn",
      "ooooooooonnnnnnnnnnn",
      "oooooooooonnnnnnnnnn"}},
    // Half the length, L div 2, to each side of column 10.
    {67, 20, 12, 50,
     {"ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "oooooonnnnnnnnoooooo",
      "ooooonnnnnnnnnnooooo",
      "oooooonnnnnnnnoooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "oooooonnnnnnnnoooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo"}},
    {68, 20, 12, 50,
     {"nnnnnoooooooooonnnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnoooooooooooonnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnoooooooooooonnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnoooooooooooonnnn",
      "nnnnnoooooooooonnnnn",
      "nnnnnoooooooooonnnnn"}},
    // X = 1: lengths −1 to 2; −1 and 0 show nothing.
    {66, 20, 12, 3,
     {"nooooooooooooooooooo",
      "nnoooooooooooooooooo",
      "nnoooooooooooooooooo",
      "nooooooooooooooooooo",
      "oooooooooooooooooooo",
      "nooooooooooooooooooo",
      "oooooooooooooooooooo",
      "nooooooooooooooooooo",
      "nooooooooooooooooooo",
      "oooooooooooooooooooo",
      "nnoooooooooooooooooo",
      "nooooooooooooooooooo"}},
    {77, 12, 20, 50,
     {"nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnonnnnonn",
      "nnnnononnonn",
      "onnooooooono",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo"}},
    // Half the length up and down from row 10.
    {78, 12, 20, 50,
     {"oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "nnnnononnonn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnononnonn",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo"}},
    {76, 12, 20, 50,
     {"oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "onnooooooono",
      "nnnnononnonn",
      "nnnnonnnnonn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn"}},
    {79, 12, 20, 50,
     {"nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnononnonn",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "oooooooooooo",
      "nnnnononnonn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn",
      "nnnnnnnnnnnn"}},
    // The 12 horizontal lengths, then 20 vertical ones of 6 − 1 + 0..1.
    {108, 20, 12, 50,
     {"ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo",
      "nooonnnnnnnnnnnooono",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nooonnnnnnnnnnnooono",
      "oooooonnnnnnnnoooooo",
      "ooooonnnnnnnnnnooooo",
      "ooooonnnnnnnnnnooooo"}},
    {100, 20, 12, 25,
     {"ooooooooooooooonnnnn",
      "oooooooooooooonnnnnn",
      "oooooooooooooonnnnnn",
      "ooooooooooooooonnnnn",
      "ooooooooooooooooonnn",
      "ooooooooooooooonnnnn",
      "oooooooooooooooonnnn",
      "ooooooooooooooonnnnn",
      "ooooooooooooooonnnnn",
      "nooononoooononooonnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn"}},
    // The strips down grow out of the horizon; lengths 2 and 3 both give L div 2 = 1, so rows 5
    // and 6 fill.
    {104, 20, 12, 25,
     {"ooooooooooooooonnnnn",
      "oooooooooooooonnnnnn",
      "oooooooooooooonnnnnn",
      "ooooooooooooooonnnnn",
      "ooooooooooooooooonnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "ooooooooooooooonnnnn",
      "ooooooooooooooonnnnn",
      "ooooooooooooooooonnn",
      "oooooooooooooonnnnnn",
      "ooooooooooooooonnnnn"}},
    {106, 20, 12, 25,
     {"oooooooonnnnoooooooo",
      "ooooooonnnnnnooooooo",
      "ooooooonnnnnnooooooo",
      "oooooooonnnnoooooooo",
      "ooooooooonnooooooooo",
      "oooooooonnnnoooooooo",
      "oooooooonnnnoooooooo",
      "oooooooonnnnoooooooo",
      "oooooooonnnnoooooooo",
      "nooononoonnnonoooono",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn"}},
    // Only the rows of length 20 close in the middle; columns 9 and 10 leave rows 5 and 6.
    {109, 20, 12, 97,
     {"nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnoonnnnnnnnn",
      "nnnnnnnnnoonnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn",
      "nnnnnnnnnnnnnnnnnnnn"}},
};

TEST(UnevenShredsTest, DrawsTheStripsOfTheSequence) {
  for (const ShredCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    RandomSeed = 2026;
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress)), c.Map);
  }
}

const int kStyles[] = {65, 66, 67, 68, 76, 77, 78, 79, 100, 101,
                       102, 103, 104, 105, 106, 107, 108, 109};

bool SameFrame(const raster::Bitmap& a, const raster::Bitmap& b) {
  return std::memcmp(a.data(), b.data(), a.byte_count()) == 0;
}

// 201 × 201: strips 2 thick overhanging by 1, 101 across and 101 down. The same seed gives the
// same frame; each frame takes one number per strip from the sequence, and the next frame at
// the same progress, going on from there, differs.
TEST(UnevenShredsTest, TakesOneNumberPerStripFromTheRunningSequence) {
  for (const int style : kStyles) {
    SCOPED_TRACE("style " + std::to_string(style));
    const int strips = style >= 100 ? 202 : 101;
    RandomSeed = 5;
    const raster::Bitmap first = Frame(style, 201, 201, 50);
    const std::uint32_t after = RandomSeed;
    RandomSeed = 5;
    const raster::Bitmap again = Frame(style, 201, 201, 50);
    EXPECT_TRUE(SameFrame(first, again));
    RandomSeed = 5;
    for (int i = 0; i < strips; ++i) transition::NextRandom(1);
    EXPECT_EQ(after, RandomSeed);
    EXPECT_FALSE(SameFrame(again, Frame(style, 201, 201, 50)));
  }
}

// Over a whole transition at 203 × 201 (strips 2 thick, overhanging by 1 both ways), with
// lengths from below zero to beyond the far side, every pixel is the old or the new picture's
// own.
TEST(UnevenShredsTest, ShowsOnlyPixelsOfEitherPictureInPlace) {
  RandomSeed = 11;
  for (const int style : kStyles) {
    for (int progress = 1; progress < 100; progress += 7) {
      SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(progress));
      const raster::Bitmap frame = Frame(style, 203, 201, progress);
      int stray = 0;
      for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
          const TSource s = SourceOf(frame.pixel(x, y));
          stray += s.Picture == '?' || s.X != x || s.Y != y;
        }
      }
      EXPECT_EQ(stray, 0);
    }
  }
}

// 400 × 300 at 50: X = 200, J = 40, strips 2 rows thick; every length lies in 160 to 239, so each
// row is old up to column 160 and new from column 240, with one front in between.
TEST(UnevenShredsTest, FrontStaysWithinTheJitter) {
  RandomSeed = 3;
  for (int frameNo = 0; frameNo < 3; ++frameNo) {
    const raster::Bitmap frame = Frame(65, 400, 300, 50);
    for (int y = 0; y < 300; ++y) {
      int front = 0;
      while (front < 400 && SourceOf(frame.pixel(front, y)).Picture == 'o') ++front;
      ASSERT_GE(front, 161) << "row " << y;
      ASSERT_LE(front, 240) << "row " << y;
      for (int x = front; x < 400; ++x) ASSERT_EQ(SourceOf(frame.pixel(x, y)).Picture, 'n');
    }
  }
}

// Strips overhang their next neighbours by W mod S (H mod S), where the longer of the two
// shows. From seed 2026 the first four lengths are worked out for each case.
struct OverhangCase {
  int Style, W, H;
  bool Down;               // strips down (columns) rather than across (rows)
  std::vector<int> Depth;  // how far the new picture reaches into each of the first lines
};

const OverhangCase kOverhangs[] = {
    // 1366 × 768 at 50: S = 4, strips 6 wide, Y = 384, J = 76: 395, 450, 430, 416.
    {77, 1366, 768, true,
     {395, 395, 395, 395, 450, 450, 450, 450, 450, 450, 430, 430, 430, 430, 416, 416}},
    // 770 × 401 at 50: S = 3, strips 5 tall, X = 385, J = 77: 396, 452, 432, 417.
    {66, 770, 401, false,
     {396, 396, 396, 452, 452, 452, 452, 452, 432, 432, 432, 417}},
};

TEST(UnevenShredsTest, StripsOverlapByTheOverhang) {
  for (const OverhangCase& c : kOverhangs) {
    SCOPED_TRACE("style " + std::to_string(c.Style));
    RandomSeed = 2026;
    const raster::Bitmap frame = Frame(c.Style, c.W, c.H, 50);
    for (int line = 0; line < static_cast<int>(c.Depth.size()); ++line) {
      const int length = c.Down ? c.H : c.W;
      for (int along = 0; along < length; ++along) {
        const raster::Pixel pixel = c.Down ? frame.pixel(line, along) : frame.pixel(along, line);
        const int depth = c.Depth[static_cast<std::size_t>(line)];
        ASSERT_EQ(SourceOf(pixel).Picture, along < depth ? 'n' : 'o')
            << "line " << line << " at " << along;
      }
    }
  }
}

}  // namespace
}  // namespace pavona::effects::testing
