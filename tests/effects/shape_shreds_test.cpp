// Styles 118, 143, 153 and 164: frames at small sizes against maps worked out by hand from the
// cell grid, the rounding of the shape size and the pixel-centre rule of the shapes' outlines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using TCase = testing::TFrameCase;
using testing::Rows;

const std::string kOld20(20, 'o');
const std::string kNew20(20, 'n');
// 2 × 2 dots centred on the odd multiples of 2.
const std::string kDots20 = "onnoonnoonnoonnoonno";
const std::string kDots12 = "onnoonnoonno";

const TCase kCases[] = {
    {153, 20, 12, 16, "r = MulDiv(6, 16, 200) = 0: empty circles", Rows(12, kOld20)},
    {153, 20, 12, 17, "r = 1: the four pixels around each centre",
     {kOld20, kDots20, kDots20, kOld20, kOld20, kDots20, kDots20, kOld20, kOld20, kDots20,
      kDots20, kOld20}},
    {153, 20, 12, 50, "r = 2 (1.5 rounded up): 4 × 4 cells without their corners",
     {kDots20, kNew20, kNew20, kDots20, kDots20, kNew20, kNew20, kDots20, kDots20, kNew20,
      kNew20, kDots20}},
    {153, 10, 10, 50, "centres 2, 6 and 10; the circles at 10 reach back into columns and rows 8, 9",
     {"onnoonnoon", "nnnnnnnnnn", "nnnnnnnnnn", "onnoonnoon", "onnoonnoon", "nnnnnnnnnn",
      "nnnnnnnnnn", "onnoonnoon", "onnoonnoon", "nnnnnnnnnn"}},

    {164, 20, 12, 12, "r = MulDiv(2, 12, 50) = 0: diamonds without area", Rows(12, kOld20)},
    {164, 12, 20, 13, "r = 1: the four pixels around each centre",
     {std::string(12, 'o'), kDots12, kDots12, std::string(12, 'o'), std::string(12, 'o'), kDots12,
      kDots12, std::string(12, 'o'), std::string(12, 'o'), kDots12, kDots12, std::string(12, 'o'),
      std::string(12, 'o'), kDots12, kDots12, std::string(12, 'o'), std::string(12, 'o'), kDots12,
      kDots12, std::string(12, 'o')}},
    {164, 20, 20, 50, "c = 3, r = 3: diamonds 2, 4, 6, 6, 4, 2 wide; centre 21 reaches columns and rows 18, 19",
     {"oonnoooonnoooonnoooo", "onnnnoonnnnoonnnnoon", kNew20, kNew20, "onnnnoonnnnoonnnnoon",
      "oonnoooonnoooonnoooo", "oonnoooonnoooonnoooo", "onnnnoonnnnoonnnnoon", kNew20, kNew20,
      "onnnnoonnnnoonnnnoon", "oonnoooonnoooonnoooo", "oonnoooonnoooonnoooo",
      "onnnnoonnnnoonnnnoon", kNew20, kNew20, "onnnnoonnnnoonnnnoon", "oonnoooonnoooonnoooo",
      "oonnoooonnoooonnoooo", "onnnnoonnnnoonnnnoon"}},

    {118, 20, 12, 24, "sx = 1, sy = 1: only the top row of each triangle holds pixel centres",
     {kOld20, "oonnoooonnoooonnoooo", kOld20, kOld20, kOld20, "oonnoooonnoooonnoooo", kOld20,
      kOld20, kOld20, "oonnoooonnoooonnoooo", kOld20, kOld20}},
    {118, 20, 12, 25, "sx = 2 (1.5 rounded up), sy = 1: rows 4 and 2 wide, the outer centres on the outline",
     {kOld20, "onnnnoonnnnoonnnnoon", "oonnoooonnoooonnoooo", kOld20, kOld20,
      "onnnnoonnnnoonnnnoon", "oonnoooonnoooonnoooo", kOld20, kOld20, "onnnnoonnnnoonnnnoon",
      "oonnoooonnoooonnoooo", kOld20}},
    {118, 20, 12, 75, "sx = 5, sy = 3: the centres at x = 21 and y = 14 lie outside yet fill column 19 and row 11",
     {kNew20, kNew20, "onnnnoonnnnoonnnnoon", kNew20, kNew20, kNew20, "onnnnoonnnnoonnnnoon",
      kNew20, kNew20, kNew20, "onnnnoonnnnoonnnnoon", kNew20}},
    {118, 12, 20, 25, "cw = 2, ch = 3: sx = 1, sy = 2; two rows of two pixels under each top edge",
     {std::string(12, 'o'), kDots12, kDots12, std::string(12, 'o'), std::string(12, 'o'),
      std::string(12, 'o'), std::string(12, 'o'), kDots12, kDots12, std::string(12, 'o'),
      std::string(12, 'o'), std::string(12, 'o'), std::string(12, 'o'), kDots12, kDots12,
      std::string(12, 'o'), std::string(12, 'o'), std::string(12, 'o'), std::string(12, 'o'),
      kDots12}},

    {143, 20, 12, 24, "a = MulDiv(2, 24, 100) = 0: a list of empty squares shows nothing", Rows(12, kOld20)},
    {143, 20, 12, 25, "a = 1 (0.5 rounded up): squares (i + 1, j + 1, i + 3, j + 3)",
     {kOld20, kDots20, kDots20, kOld20, kOld20, kDots20, kDots20, kOld20, kOld20, kDots20,
      kDots20, kOld20}},
    {143, 30, 22, 50, "n = 3, a = 2: squares (i + 1, j + 1, i + 5, j + 5), the last row cut at the bottom",
     {std::string(30, 'o'), "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno",
      "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno", std::string(30, 'o'),
      std::string(30, 'o'), "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno",
      "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno", std::string(30, 'o'),
      std::string(30, 'o'), "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno",
      "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno", std::string(30, 'o'),
      std::string(30, 'o'), "onnnnoonnnnoonnnnoonnnnoonnnno", "onnnnoonnnnoonnnnoonnnnoonnnno",
      "onnnnoonnnnoonnnnoonnnnoonnnno"}},
};

TEST(ShapeShredsTest, FramesMatchHandWorkedMaps) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress) + ": " + c.Why);
    EXPECT_EQ(testing::Map(testing::Frame(c.Style, c.W, c.H, c.Progress)), c.Expected);
  }
}

}  // namespace
}  // namespace pavona::effects
