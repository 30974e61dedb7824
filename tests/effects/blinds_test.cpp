// Styles 137 to 142 and 146 to 149: frames at small sizes against maps worked out by hand from
// the slat periods, the rounding of the slat widths and the half-open rectangles of the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using TCase = testing::TFrameCase;
using testing::Rows;

// Rows that show the new picture across the whole width where rows says 'n', the old one where
// it says 'o', and the mixed row elsewhere.
std::vector<std::string> ByRow(const std::string& rows, int w, const std::string& mixed = "") {
  std::vector<std::string> map;
  for (char c : rows) map.push_back(c == 'n' ? std::string(w, 'n') : c == 'o' ? std::string(w, 'o') : mixed);
  return map;
}

const TCase kCases[] = {
    {137, 41, 3, 24, "n = 2, a = MulDiv(2, 24, 100) = 0", Rows(3, std::string(41, 'o'))},
    {137, 41, 3, 25, "a = 1 (0.5 rounded up): columns s + 1 and s + 2 of every period 4",
     Rows(3, "onnoonnoonnoonnoonnoonnoonnoonnoonnoonnoo")},
    {137, 41, 3, 75, "a = 2: the slats close; the one centred on 42 fills column 40",
     Rows(3, std::string(41, 'n'))},
    {138, 3, 41, 25, "rows s + 1 and s + 2 of every period 4", ByRow("onnoonnoonnoonnoonnoonnoonnoonnoonnoonnoo", 3)},
    {138, 12, 20, 49, "n = 1, a = 0", Rows(20, std::string(12, 'o'))},
    {138, 12, 20, 50, "a = 1: slats of width 2 every 2 rows", Rows(20, std::string(12, 'n'))},

    {139, 20, 12, 1, "X = 0", Rows(12, std::string(20, 'o'))},
    {139, 20, 12, 5, "X = 1, a = 0: twenty empty slats", Rows(12, std::string(20, 'o'))},
    {139, 20, 12, 25, "X = 5, a = 1", Rows(12, "noooonoooonoooonoooo")},
    {139, 20, 12, 30, "X = 6, a = 2 (1.8 rounded)", Rows(12, "nnoooonnoooonnoooonn")},
    {139, 20, 12, 70, "X = 14, a = 10: the second slat is cut at the right edge",
     Rows(12, "nnnnnnnnnnoooonnnnnn")},
    {140, 20, 12, 25, "slats end at 20, 15, 10 and 5", Rows(12, "oooonoooonoooonoooon")},
    {140, 20, 12, 70, "slats end at 20 and 6; the one ending at 6 is cut at column 0",
     Rows(12, "nnnnnnoooonnnnnnnnnn")},
    {141, 12, 20, 70, "Y = 14, a = 10: rows 0 to 9 and 14 to 19", ByRow("nnnnnnnnnnoooonnnnnn", 12)},
    {141, 20, 12, 50, "Y = 6, a = 3", ByRow("nnnooonnnooo", 20)},
    {142, 12, 20, 70, "slats end at 20 and 6", ByRow("nnnnnnoooonnnnnnnnnn", 12)},
    {142, 20, 12, 50, "slats end at 12 and 6", ByRow("ooonnnooonnn", 20)},

    {146, 20, 12, 50, "m = 12 div 20 = 0", Rows(12, std::string(20, 'o'))},
    {146, 20, 19, 50, "m = 19 div 20 = 0", Rows(19, std::string(20, 'o'))},
    {146, 12, 20, 49, "m = 1, a = 0: empty bands; X = 6, slats 3 wide", Rows(20, "nnnooonnnooo")},
    {146, 12, 20, 50, "bands around -1, 2, 5, ..., 17 two rows high; slats from the left",
     ByRow("snnsnnsnnsnnsnnsnnss", 12, "nnnooonnnooo")},
    {147, 12, 20, 50, "the same bands; slats end at 12 and 6",
     ByRow("snnsnnsnnsnnsnnsnnss", 12, "ooonnnooonnn")},
    {148, 20, 12, 50, "bands around -1, 2, 5, ..., 17 two columns wide; slats from the top",
     ByRow("nnnsssnnnsss", 20, "onnonnonnonnonnonnoo")},
    {149, 20, 12, 50, "the same bands; slats end at 12 and 6",
     ByRow("sssnnnsssnnn", 20, "onnonnonnonnonnonnoo")},
};

TEST(BlindsTest, FramesMatchHandWorkedMaps) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress) + ": " + c.Why);
    EXPECT_EQ(testing::Map(testing::Frame(c.Style, c.W, c.H, c.Progress)), c.Expected);
  }
}

}  // namespace
}  // namespace pavona::effects
