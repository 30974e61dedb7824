// Styles 1 to 11, 18 to 28 and 35 to 46: one block of the new picture over the old one, worked
// out by hand from each style's copy or stretch. The stretched lines follow the blit's nearest
// rule, source line floor((2i + 1) × sw / (2 × dw)) for destination line i.
//
// X and Y at the sizes used: 20 × 12 at 33 gives X = 7, Y = 4; at 50, X = 10, Y = 6.
// 12 × 20 at 33 gives Y = 7, X = 4; at 50, Y = 10, X = 6.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/effects/frame_blocks.h"

namespace pavona::effects::testing {
namespace {

struct WipeCase {
  int Style, W, H, Progress;
  std::vector<TBlock> Blocks;
};

// 20 squeezed into 7 lines.
const std::vector<int> k20In7 = {1, 4, 7, 10, 12, 15, 18};

const WipeCase kCases[] = {
    // Horizontal, 20 × 12.
    {1, 20, 12, 33, {{'n', {13, 0, 20, 12}, k20In7, {}}}},
    {2, 20, 12, 33, {{'n', {0, 0, 7, 12}, k20In7, {}}}},
    {3, 20, 12, 33, {{'n', {13, 0, 20, 12}, Seq(0, 7), {}}}},
    {4, 20, 12, 33, {{'n', {0, 0, 7, 12}, Seq(13, 7), {}}}},
    {5, 20, 12, 33, {{'n', {0, 0, 7, 12}, {}, {}}}},
    {6, 20, 12, 33, {{'n', {13, 0, 20, 12}, {}, {}}}},
    // 10 columns magnified into 30 from the left edge: three each, the first two get a third.
    {7, 20, 12, 50,
     {{'n', {0, 0, 20, 12}, {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6}, {}}}},
    {8, 20, 12, 50,
     {{'n', {0, 0, 20, 12},
       {13, 13, 14, 14, 14, 15, 15, 15, 16, 16, 16, 17, 17, 17, 18, 18, 18, 19, 19, 19}, {}}}},
    // Middle columns 5 to 14 into 40 columns starting at −10.
    {9, 20, 12, 50,
     {{'n', {0, 0, 20, 12},
       {7, 7, 8, 8, 8, 8, 9, 9, 9, 9, 10, 10, 10, 10, 11, 11, 11, 11, 12, 12}, {}}}},
    // (20 − 7) div 2 = 6: columns 6 to 12 into 46 columns starting at −13.
    {9, 20, 12, 33,
     {{'n', {0, 0, 20, 12},
       {8, 8, 8, 8, 8, 8, 8, 9, 9, 9, 9, 9, 9, 10, 10, 10, 10, 10, 10, 10}, {}}}},
    {10, 20, 12, 33, {{'n', {6, 0, 13, 12}, k20In7, {}}}},
    {11, 20, 12, 33, {{'n', {6, 0, 13, 12}, {}, {}}}},
    // Vertical, 12 × 20.
    {18, 12, 20, 33, {{'n', {0, 13, 12, 20}, {}, k20In7}}},
    {19, 12, 20, 33, {{'n', {0, 0, 12, 7}, {}, k20In7}}},
    {20, 12, 20, 33, {{'n', {0, 13, 12, 20}, {}, Seq(0, 7)}}},
    {21, 12, 20, 33, {{'n', {0, 0, 12, 7}, {}, Seq(13, 7)}}},
    {22, 12, 20, 33, {{'n', {0, 0, 12, 7}, {}, {}}}},
    {23, 12, 20, 33, {{'n', {0, 13, 12, 20}, {}, {}}}},
    {24, 12, 20, 50,
     {{'n', {0, 0, 12, 20}, {}, {0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6}}}},
    {25, 12, 20, 50,
     {{'n', {0, 0, 12, 20}, {},
       {13, 13, 14, 14, 14, 15, 15, 15, 16, 16, 16, 17, 17, 17, 18, 18, 18, 19, 19, 19}}}},
    {26, 12, 20, 33,
     {{'n', {0, 0, 12, 20}, {},
       {8, 8, 8, 8, 8, 8, 8, 9, 9, 9, 9, 9, 9, 10, 10, 10, 10, 10, 10, 10}}}},
    {27, 12, 20, 33, {{'n', {0, 6, 12, 13}, {}, k20In7}}},
    {28, 12, 20, 33, {{'n', {0, 6, 12, 13}, {}, {}}}},
    // A vertical style on a landscape picture: Y = 6 follows X = 10; rows 3 to 8 take the odd
    // rows, so row 5 is the new picture's own.
    {27, 20, 12, 50, {{'n', {0, 3, 20, 9}, {}, {1, 3, 5, 7, 9, 11}}}},
    // Corners, 20 × 12 at 33: X = 7 columns, Y = 4 rows; 12 rows squeezed into 4 take 1, 4, 7, 10.
    {35, 20, 12, 33, {{'n', {13, 8, 20, 12}, k20In7, {1, 4, 7, 10}}}},
    {36, 20, 12, 33, {{'n', {13, 0, 20, 4}, k20In7, {1, 4, 7, 10}}}},
    {37, 20, 12, 33, {{'n', {0, 0, 7, 4}, k20In7, {1, 4, 7, 10}}}},
    {38, 20, 12, 33, {{'n', {0, 8, 7, 12}, k20In7, {1, 4, 7, 10}}}},
    {39, 20, 12, 33, {{'n', {13, 8, 20, 12}, Seq(0, 7), Seq(0, 4)}}},
    {40, 20, 12, 33, {{'n', {13, 0, 20, 4}, Seq(0, 7), Seq(8, 4)}}},
    {41, 20, 12, 33, {{'n', {0, 0, 7, 4}, Seq(13, 7), Seq(8, 4)}}},
    {42, 20, 12, 33, {{'n', {0, 8, 7, 12}, Seq(13, 7), Seq(0, 4)}}},
    {43, 20, 12, 33, {{'n', {0, 0, 7, 4}, {}, {}}}},
    {44, 20, 12, 33, {{'n', {0, 8, 7, 12}, {}, {}}}},
    {45, 20, 12, 33, {{'n', {13, 8, 20, 12}, {}, {}}}},
    {46, 20, 12, 33, {{'n', {13, 0, 20, 4}, {}, {}}}},
    // Portrait corners: X = 4 follows Y = 7, so the rectangle keeps the picture's proportions.
    {37, 12, 20, 33, {{'n', {0, 0, 4, 7}, {1, 4, 7, 10}, k20In7}}},
    {45, 12, 20, 33, {{'n', {8, 13, 12, 20}, {}, {}}}},
    // 400 × 300 at 50: X = 200, Y = 150.
    {1, 400, 300, 50, {{'n', {200, 0, 400, 300}, Seq(1, 200, 2), {}}}},
    {3, 400, 300, 50, {{'n', {200, 0, 400, 300}, Seq(0, 200), {}}}},
    {4, 400, 300, 50, {{'n', {0, 0, 200, 300}, Seq(200, 200), {}}}},
    {10, 400, 300, 50, {{'n', {100, 0, 300, 300}, Seq(1, 200, 2), {}}}},
    {11, 400, 300, 50, {{'n', {100, 0, 300, 300}, {}, {}}}},
    {27, 400, 300, 50, {{'n', {0, 75, 400, 225}, {}, Seq(1, 150, 2)}}},
    // Columns 100 to 299 into 800 from −200, four times magnified: 150 to 249 show.
    {9, 400, 300, 50, {{'n', {0, 0, 400, 300}, Repeat(150, 100, 4), {}}}},
};

TEST(RectWipesTest, DrawsTheBlockOfEachStyle) {
  for (const WipeCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    EXPECT_TRUE(MatchesBlocks(Frame(c.Style, c.W, c.H, c.Progress), c.Blocks));
  }
}

// At 2 on 20 × 12 (and 12 × 20) both X and Y round to 0: every style keeps the old picture.
TEST(RectWipesTest, ZeroExtentKeepsTheStartingPicture) {
  const int styles[] = {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 18, 19, 20, 21, 22, 23,
                        24, 25, 26, 27, 28, 35, 36, 37, 38, 39, 40, 41, 42, 43, 44, 45, 46};
  for (const int style : styles) {
    for (const raster::Size size : {raster::Size{20, 12}, raster::Size{12, 20}}) {
      SCOPED_TRACE("style " + std::to_string(style) + " " + std::to_string(size.Width));
      EXPECT_TRUE(MatchesBlocks(Frame(style, size.Width, size.Height, 2), {}));
    }
  }
}

}  // namespace
}  // namespace pavona::effects::testing
