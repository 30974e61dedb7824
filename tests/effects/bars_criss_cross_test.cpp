// Styles 60 to 64, 71 to 75 and 86 to 99: which pixels show the new picture, worked out by hand
// from the bars of each style.
//
// At 20 × 12 and 12 × 20 the bars are min div 50 + 1 = 1 pixel thick, so the even bars are the
// even rows (columns). 20 × 12: at 2, X = Y = 0; at 13, X = 3, Y = 2; at 25, X = 5, Y = 3; at 33,
// X = 7, Y = 4; at 50, X = 10; at 53, X = 11, Y = 7; at 75, X = 15, Y = 9. 12 × 20: at 25,
// Y = 5; at 53, Y = 11; at 75, Y = 15. At 400 × 300 the bars are 7 thick, X = 4 × progress and
// Y = 3 × progress.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/effects/frame_blocks.h"

namespace pavona::effects::testing {
namespace {

bool Even(int v) { return v % 2 == 0; }
bool EvenBar7(int v) { return v / 7 % 2 == 0; }

struct BarsCase {
  int Style, W, H, Progress;
  bool (*IsNew)(int x, int y);
};

const BarsCase kCases[] = {
    // Horizontal bars, extent 2X: the even rows grow up to 2X = W, then the odd rows by 2X − W.
    {60, 20, 12, 25, [](int x, int y) { return Even(y) && x >= 10; }},
    {60, 20, 12, 53, [](int x, int y) { return Even(y) || x >= 18; }},
    {60, 20, 12, 75, [](int x, int y) { return Even(y) || x >= 10; }},
    // X = 0: the rectangles have no width and show nothing.
    {60, 20, 12, 2, [](int, int) { return false; }},
    {61, 20, 12, 25, [](int x, int y) { return Even(y) && x < 10; }},
    {61, 20, 12, 53, [](int x, int y) { return Even(y) || x < 2; }},
    // From the left up to 2X = W exactly, then the odd rows come from the right.
    {62, 20, 12, 25, [](int x, int y) { return Even(y) && x < 10; }},
    {62, 20, 12, 50, [](int, int y) { return Even(y); }},
    {62, 20, 12, 53, [](int x, int y) { return Even(y) || x >= 18; }},
    {63, 20, 12, 25, [](int x, int y) { return Even(y) && x >= 10; }},
    {63, 20, 12, 53, [](int x, int y) { return Even(y) || x < 2; }},
    // Extent X: even rows from the right, odd rows from the left.
    {64, 20, 12, 25, [](int x, int y) { return Even(y) ? x >= 15 : x < 5; }},
    {64, 20, 12, 2, [](int, int) { return false; }},
    // Vertical bars.
    {71, 12, 20, 25, [](int x, int y) { return Even(x) && y >= 10; }},
    {71, 12, 20, 75, [](int x, int y) { return Even(x) || y >= 10; }},
    {72, 12, 20, 25, [](int x, int y) { return Even(x) && y < 10; }},
    {72, 12, 20, 53, [](int x, int y) { return Even(x) || y < 2; }},
    {73, 12, 20, 53, [](int x, int y) { return Even(x) || y >= 18; }},
    {74, 12, 20, 53, [](int x, int y) { return Even(x) || y < 2; }},
    {75, 12, 20, 25, [](int x, int y) { return Even(x) ? y >= 15 : y < 5; }},
    // Lattices, 20 × 12.
    {86, 20, 12, 25, [](int x, int y) { return (Even(y) && x >= 10) || (Even(x) && y >= 6); }},
    {87, 20, 12, 25, [](int x, int y) { return (Even(y) && x >= 10) || (Even(x) && y < 6); }},
    {88, 20, 12, 25, [](int x, int y) { return (Even(y) && x < 10) || (Even(x) && y >= 6); }},
    {89, 20, 12, 75,
     [](int x, int y) { return Even(y) || x < 10 || Even(x) || y < 6; }},
    {90, 20, 12, 53, [](int x, int y) { return Even(y) || x >= 18 || Even(x) || y >= 10; }},
    {91, 20, 12, 53, [](int x, int y) { return Even(y) || x >= 18 || Even(x) || y < 2; }},
    {92, 20, 12, 53, [](int x, int y) { return Even(y) || x < 2 || Even(x) || y >= 10; }},
    {93, 20, 12, 53, [](int x, int y) { return Even(y) || x < 2 || Even(x) || y < 2; }},
    // Extents X and Y for all: the one-sided horizontal bars stay in their first phase at 75.
    {94, 20, 12, 75,
     [](int x, int y) { return (Even(y) && x >= 5) || (Even(x) ? y >= 3 : y < 9); }},
    {95, 20, 12, 75,
     [](int x, int y) { return (Even(y) && x < 15) || (Even(x) ? y >= 3 : y < 9); }},
    {96, 20, 12, 25,
     [](int x, int y) { return (Even(y) ? x >= 15 : x < 5) || (Even(x) && y >= 9); }},
    {97, 20, 12, 25,
     [](int x, int y) { return (Even(y) ? x >= 15 : x < 5) || (Even(x) && y < 3); }},
    {98, 20, 12, 25,
     [](int x, int y) { return (Even(y) ? x >= 15 : x < 5) || (Even(x) ? y >= 9 : y < 3); }},
    // The crossings of the two lattices: early only squares at the top right and bottom left.
    {99, 20, 12, 13,
     [](int x, int y) { return Even(x) && Even(y) && ((x >= 14 && y < 4) || (x < 6 && y >= 8)); }},
    // 4X > W and 4Y > H: the middle parts of the even bars join the squares.
    {99, 20, 12, 33,
     [](int x, int y) {
       return (Even(y) && x >= 6 && x < 14) || (Even(x) && y >= 4 && y < 8) ||
              (Even(x) && Even(y) && ((x >= 6 && y < 8) || (y >= 4 && x < 14)));
     }},
    // 400 × 300, bars 7 thick.
    {60, 400, 300, 25, [](int x, int y) { return EvenBar7(y) && x >= 200; }},
    {60, 400, 300, 75, [](int x, int y) { return EvenBar7(y) || x >= 200; }},
    {64, 400, 300, 25, [](int x, int y) { return EvenBar7(y) ? x >= 300 : x < 100; }},
    {62, 400, 300, 50, [](int, int y) { return EvenBar7(y); }},
    {62, 400, 300, 51, [](int x, int y) { return EvenBar7(y) || x >= 392; }},
    {99, 400, 300, 5,
     [](int x, int y) {
       return EvenBar7(x) && EvenBar7(y) && ((x >= 360 && y < 30) || (x < 40 && y >= 270));
     }},
};

TEST(BarsCrissCrossTest, RevealsTheBarsOfEachStyle) {
  for (const BarsCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    EXPECT_TRUE(MatchesReveal(Frame(c.Style, c.W, c.H, c.Progress), c.IsNew));
  }
}

// Through a whole transition at 53 × 105 (bars 2 thick, a partial last bar both ways) the
// revealed part only grows, across the switch from the even bars to the odd ones too.
TEST(BarsCrissCrossTest, RevealOnlyGrows) {
  const int styles[] = {60, 61, 62, 63, 64, 71, 72, 73, 74, 75, 86, 87,
                        88, 89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99};
  for (const int style : styles) {
    raster::Bitmap before = Frame(style, 53, 105, 1);
    for (int progress = 2; progress < 100; ++progress) {
      raster::Bitmap now = Frame(style, 53, 105, progress);
      for (std::size_t i = 0; i < now.pixel_count(); ++i) {
        ASSERT_FALSE(SourceOf(before.data()[i]).Picture == 'n' &&
                     SourceOf(now.data()[i]).Picture != 'n')
            << "style " << style << " at " << progress << ", pixel " << i << " hidden again";
      }
      before = std::move(now);
    }
  }
}

}  // namespace
}  // namespace pavona::effects::testing
