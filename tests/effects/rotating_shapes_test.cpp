// Styles 144, 145 and 150 to 152, the sweeps and rotating shapes: maps of the turned polygons. A
// pixel belongs to a polygon when its centre lies inside it or on its outline. The transition's
// seed stands for the new picture's identity: an odd one turns the shapes the other way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;

using testing::Rows;

std::vector<std::string> UpsideDown(std::vector<std::string> rows) {
  std::reverse(rows.begin(), rows.end());
  return rows;
}

struct TCase {
  int Style;
  int W, H, Progress;
  std::uint32_t Seed;
  std::vector<std::string> Rows;
};

// 20 × 12 has its centre at (10, 6) and a sweep radius of 12, the smallest integer reaching the
// corners (√136 ≈ 11.66); 12 × 20 has its centre at (6, 10) and the same radius. P 25 gives
// X = 5, Y = 3 and P 40 gives X = 8, Y = 5 at 20 × 12.
const std::vector<TCase>& Cases() {
  static const std::vector<TCase> cases = {
      // 144 at 1: the centre and one point on the circle, no area.
      {144, 20, 12, 1, 7, Rows({"o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20",
                                "o20", "o20", "o20"})},
      // 144 at 25: from (10, -6) at twelve o'clock round to (22, 5) at -3.6 degrees; the closing
      // edge back to the centre cuts row 5 after column 15.
      {144, 20, 12, 25, 7,
       Rows({"o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n6 o4", "o20", "o20",
             "o20", "o20", "o20", "o20"})},
      // 144 at 50: up to (11, 18) at 86.4 degrees, whose edge to the centre keeps column 10 in.
      {144, 20, 12, 50, 7,
       Rows({"o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n10",
             "o10 n10", "o10 n10", "o10 n10", "o10 n10", "o10 n10"})},
      // 144 at 25 at 12 × 20: from (6, -2) to (18, 9), the top-right quarter.
      {144, 12, 20, 25, 7,
       Rows({"o6 n6", "o6 n6", "o6 n6", "o6 n6", "o6 n6", "o6 n6", "o6 n6", "o6 n6", "o6 n6",
             "o6 n6", "o12", "o12", "o12", "o12", "o12", "o12", "o12", "o12", "o12", "o12"})},
      // 145 at 25: the mirror image of 144, ending at (-2, 5).
      {145, 20, 12, 25, 7,
       Rows({"n10 o10", "n10 o10", "n10 o10", "n10 o10", "n10 o10", "o4 n6 o10", "o20", "o20",
             "o20", "o20", "o20", "o20"})},
      // 150 at 25: the 4 × 2 rectangle (8, 5)-(12, 7) turned a quarter, either way: (9, 4)-(11, 8).
      {150, 20, 12, 25, 7,
       Rows({"o20", "o20", "o20", "o20", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o20",
             "o20", "o20", "o20"})},
      {150, 20, 12, 25, 8,
       Rows({"o20", "o20", "o20", "o20", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o20",
             "o20", "o20", "o20"})},
      // 150 at 40 with an even seed: (6, 4)-(14, 8) turned clockwise by 144 degrees, to
      // (14, 5), (8, 10), (6, 7), (12, 2).
      {150, 20, 12, 40, 8,
       Rows({"o20", "o20", "o11 n1 o8", "o10 n3 o7", "o9 n5 o6", "o8 n5 o7", "o7 n5 o8",
             "o6 n5 o9", "o7 n3 o10", "o8 n1 o11", "o20", "o20"})},
      // With an odd seed it turns anticlockwise: the same shape upside down.
      {150, 20, 12, 40, 7,
       UpsideDown(Rows({"o20", "o20", "o11 n1 o8", "o10 n3 o7", "o9 n5 o6", "o8 n5 o7",
                        "o7 n5 o8", "o6 n5 o9", "o7 n3 o10", "o8 n1 o11", "o20", "o20"}))},
      // 151 at 25: tips (0, 6), (10, 0), (20, 6), (10, 12) and waist (8, 5)-(12, 7), turned a
      // quarter to tips (10, -4), (16, 6), (10, 16), (4, 6) and waist (9, 4)-(11, 8).
      {151, 20, 12, 25, 7,
       Rows({"o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o8 n4 o8", "o5 n10 o5",
             "o5 n10 o5", "o8 n4 o8", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9", "o9 n2 o9"})},
      // 152 at 25: 150's rectangle turned a quarter about (5, 3). Clockwise it lands on
      // (1, 6)-(3, 10); anticlockwise on (7, -4)-(9, 0), outside the picture.
      {152, 20, 12, 25, 8,
       Rows({"o20", "o20", "o20", "o20", "o20", "o20", "o1 n2 o17", "o1 n2 o17", "o1 n2 o17",
             "o1 n2 o17", "o20", "o20"})},
      {152, 20, 12, 25, 7,
       Rows({"o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20", "o20",
             "o20"})},
  };
  return cases;
}

TEST(RotatingShapesTest, ShowsTheNewPictureInsideTheTurnedShape) {
  for (const TCase& c : Cases()) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress) + ", seed " +
                 std::to_string(c.Seed));
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress, c.Seed)), c.Rows);
  }
}

}  // namespace
}  // namespace pavona::effects
