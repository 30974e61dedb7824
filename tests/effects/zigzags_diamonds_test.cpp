// Styles 162, 163 and 165 to 167: frames at small sizes against maps worked out by hand from the
// polygons' vertices, their pixel-centre rule (a centre on the outline is inside) and, for the
// area between two polygons, the exclusive or.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using TCase = testing::TFrameCase;
using testing::Rows;

// Swaps old and new: the complement of a map.
std::vector<std::string> Inverse(std::vector<std::string> rows) {
  for (std::string& row : rows) {
    for (char& c : row) c = c == 'o' ? 'n' : 'o';
  }
  return rows;
}

const std::string kOld20(20, 'o');
const std::string kNew20(20, 'n');

// Style 165 on 20 × 12 at progress 50: the diamond (0, 6), (10, 0), (20, 6), (10, 12).
const std::vector<std::string> kDiamond10x6 = {
    "ooooooooonnooooooooo", "ooooooonnnnnnooooooo", "oooooonnnnnnnnoooooo",
    "oooonnnnnnnnnnnnoooo", "oonnnnnnnnnnnnnnnnoo", "onnnnnnnnnnnnnnnnnno",
    "onnnnnnnnnnnnnnnnnno", "oonnnnnnnnnnnnnnnnoo", "oooonnnnnnnnnnnnoooo",
    "oooooonnnnnnnnoooooo", "ooooooonnnnnnooooooo", "ooooooooonnooooooooo"};
// The same at progress 25: the diamond (5, 6), (10, 3), (15, 6), (10, 9).
const std::vector<std::string> kDiamond5x3 = {
    kOld20, kOld20, kOld20, "ooooooooonnooooooooo", "ooooooonnnnnnooooooo",
    "oooooonnnnnnnnoooooo", "oooooonnnnnnnnoooooo", "ooooooonnnnnnooooooo",
    "ooooooooonnooooooooo", kOld20, kOld20, kOld20};

const TCase kCases[] = {
    {162, 20, 12, 1, "d = 0: both edges coincide, no area", Rows(12, kOld20)},
    {162, 20, 12, 49, "d = MulDiv(1, 49, 100) + 3 = 3: edges at 4, 2 and 10, 8",
     {kOld20, kOld20, "onnoonnoonnoonnoonno", kNew20, kNew20, kNew20, kNew20, kNew20, kNew20,
      "noonnoonnoonnoonnoon", kOld20, kOld20}},
    {162, 20, 12, 50, "d = 1 + 3 = 4: edges at 3, 1 and 11, 9; centres on the slopes are inside",
     {kOld20, "onnoonnoonnoonnoonno", kNew20, kNew20, kNew20, kNew20, kNew20, kNew20, kNew20,
      kNew20, "noonnoonnoonnoonnoon", kOld20}},
    {162, 9, 12, 50, "step = 0: every vertex on one line", Rows(12, std::string(9, 'o'))},
    {163, 12, 20, 50, "the horizontal zigzag at 20 x 12 turned on its side",
     {"oonnnnnnnnno", "onnnnnnnnnoo", "onnnnnnnnnoo", "oonnnnnnnnno", "oonnnnnnnnno",
      "onnnnnnnnnoo", "onnnnnnnnnoo", "oonnnnnnnnno", "oonnnnnnnnno", "onnnnnnnnnoo",
      "onnnnnnnnnoo", "oonnnnnnnnno", "oonnnnnnnnno", "onnnnnnnnnoo", "onnnnnnnnnoo",
      "oonnnnnnnnno", "oonnnnnnnnno", "onnnnnnnnnoo", "onnnnnnnnnoo", "oonnnnnnnnno"}},

    {165, 20, 12, 25, "X = 5, Y = 3; centres on the outline (row 4, columns 7 and 12) are inside",
     kDiamond5x3},
    {165, 20, 12, 50, "X = 10, Y = 6", kDiamond10x6},
    {165, 12, 20, 50, "X = 6, Y = 10: the diamond at 20 x 12 turned on its side",
     {"oooooooooooo", "ooooonnooooo", "oooonnnnoooo", "oooonnnnoooo", "ooonnnnnnooo",
      "ooonnnnnnooo", "oonnnnnnnnoo", "onnnnnnnnnno", "onnnnnnnnnno", "nnnnnnnnnnnn",
      "nnnnnnnnnnnn", "onnnnnnnnnno", "onnnnnnnnnno", "oonnnnnnnnoo", "ooonnnnnnooo",
      "ooonnnnnnooo", "oooonnnnoooo", "oooonnnnoooo", "ooooonnooooo", "oooooooooooo"}},

    {166, 20, 12, 1, "the diamond (-10, 6), (10, -6), (30, 6), (10, 18) covers every pixel",
     Rows(12, kOld20)},
    {166, 20, 12, 20, "X = 4, Y = 2: the diamond 16 x 10 leaves the corners",
     {"nnnoooooooooooooonnn", "noooooooooooooooooon", kOld20, kOld20, kOld20, kOld20, kOld20,
      kOld20, kOld20, kOld20, "noooooooooooooooooon", "nnnoooooooooooooonnn"}},
    {166, 20, 12, 50, "the diamond of style 165 at 50, the new picture outside it",
     Inverse(kDiamond10x6)},
    {166, 20, 12, 75, "X = 15, Y = 9: the diamond of style 165 at 25", Inverse(kDiamond5x3)},

    {167, 20, 12, 1, "hx = hy = 0: the two diamonds are one, their exclusive or is empty",
     Rows(12, kOld20)},
    {167, 20, 12, 10, "hx = 1, hy = 0: diamonds 11 x 6 and 9 x 6, a thin ring between them",
     {kOld20, "ooooooonoooonooooooo", "ooooonoooooooonooooo", "oooonoooooooooonoooo",
      "oonoooooooooooooonoo", "nnoooooooooooooooonn", "nnoooooooooooooooonn",
      "oonoooooooooooooonoo", "oooonoooooooooonoooo", "ooooonoooooooonooooo",
      "ooooooonoooonooooooo", kOld20}},
    {167, 20, 12, 50, "diamonds 15 x 9 and 5 x 3; the inner one's outline stays old",
     {"oooonnnnnnnnnnnnoooo", "oonnnnnnnnnnnnnnnnoo", "onnnnnnnnnnnnnnnnnno",
      "nnnnnnnnnoonnnnnnnnn", "nnnnnnnoooooonnnnnnn", "nnnnnnoooooooonnnnnn",
      "nnnnnnoooooooonnnnnn", "nnnnnnnoooooonnnnnnn", "nnnnnnnnnoonnnnnnnnn",
      "onnnnnnnnnnnnnnnnnno", "oonnnnnnnnnnnnnnnnoo", "oooonnnnnnnnnnnnoooo"}},
};

TEST(ZigzagsDiamondsTest, FramesMatchHandWorkedMaps) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress) + ": " + c.Why);
    EXPECT_EQ(testing::Map(testing::Frame(c.Style, c.W, c.H, c.Progress)), c.Expected);
  }
}

}  // namespace
}  // namespace pavona::effects
