// Styles 110 to 117, the diagonal reveals, sweeps and starbursts: maps of the triangles. A pixel
// belongs to a triangle when its centre (x + 0.5, y + 0.5) lies inside it or on its outline.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;
using testing::SourceOf;

using testing::Rows;

struct TCase {
  int Style;
  int W, H, Progress;
  std::vector<std::string> Rows;
};

// At 20 × 12, P 25 gives X = 5, Y = 3 and P 50 gives X = 10, Y = 6; at 12 × 20, P 50 gives
// X = 6, Y = 10.
const std::vector<TCase>& Cases() {
  static const std::vector<TCase> cases = {
      // 110: (0, 0), (10, 0), (0, 6); (7, 1) has its centre on the long edge.
      {110, 20, 12, 25,
       Rows({"n9 o11", "n8 o12", "n6 o14", "n4 o16", "n3 o17", "n1 o19", "o20", "o20", "o20",
             "o20", "o20", "o20"})},
      // 110: (0, 0), (20, 0), (0, 12): the half above the anti-diagonal, centres on it included.
      {110, 20, 12, 50,
       Rows({"n19 o1", "n18 o2", "n16 o4", "n14 o6", "n13 o7", "n11 o9", "n9 o11", "n8 o12",
             "n6 o14", "n4 o16", "n3 o17", "n1 o19"})},
      // 111 at 12 × 20: (12, 0), (0, 0), (12, 20), the right of the diagonal from the top left.
      {111, 12, 20, 50,
       Rows({"n12", "o1 n11", "o1 n11", "o2 n10", "o3 n9", "o3 n9", "o4 n8", "o4 n8", "o5 n7",
             "o6 n6", "o6 n6", "o7 n5", "o7 n5", "o8 n4", "o9 n3", "o9 n3", "o10 n2", "o10 n2",
             "o11 n1", "o12"})},
      // 112: (0, 12), (10, 12), (0, 6), 110's triangle upside down.
      {112, 20, 12, 25,
       Rows({"o20", "o20", "o20", "o20", "o20", "o20", "n1 o19", "n3 o17", "n4 o16", "n6 o14",
             "n8 o12", "n9 o11"})},
      // 113: (20, 12), (10, 12), (20, 6).
      {113, 20, 12, 25,
       Rows({"o20", "o20", "o20", "o20", "o20", "o20", "o19 n1", "o17 n3", "o16 n4", "o14 n6",
             "o12 n8", "o11 n9"})},
      // 114: (0, 12), (0, 0), (10, 12) and (20, 12), (20, 0), (10, 0); ten old pixels a row.
      {114, 20, 12, 50,
       Rows({"o10 n10", "n1 o10 n9", "n2 o10 n8", "n3 o10 n7", "n4 o10 n6", "n5 o10 n5",
             "n5 o10 n5", "n6 o10 n4", "n7 o10 n3", "n8 o10 n2", "n9 o10 n1", "n10 o10"})},
      // 115 at 12 × 20: (12, 0), (0, 0), (12, 10) and (12, 20), (0, 20), (0, 10).
      {115, 12, 20, 50,
       Rows({"o1 n11", "o2 n10", "o3 n9", "o4 n8", "o5 n7", "o7 n5", "o8 n4", "o9 n3", "o10 n2",
             "o11 n1", "n1 o11", "n2 o10", "n3 o9", "n4 o8", "n5 o7", "n7 o5", "n8 o4", "n9 o3",
             "n10 o2", "n11 o1"})},
      // 116: apex (10, 6); wedges to (0, 0)-(5, 0), (0, 12)-(0, 9), (20, 12)-(15, 12) and
      // (20, 0)-(20, 3).
      {116, 20, 12, 25,
       Rows({"o1 n4 o14 n1", "o2 n4 o11 n3", "o4 n3 o9 n4", "o6 n2 o6 n4 o2",
             "o7 n2 o3 n3 o5", "o9 n1 o1 n1 o8", "o8 n1 o1 n1 o9", "o5 n3 o3 n2 o7",
             "o2 n4 o6 n2 o6", "n4 o9 n3 o4", "n3 o11 n4 o2", "n1 o14 n4 o1"})},
      // 117: the mirror image of 116.
      {117, 20, 12, 25,
       Rows({"n1 o14 n4 o1", "n3 o11 n4 o2", "n4 o9 n3 o4", "o2 n4 o6 n2 o6",
             "o5 n3 o3 n2 o7", "o8 n1 o1 n1 o9", "o9 n1 o1 n1 o8", "o7 n2 o3 n3 o5",
             "o6 n2 o6 n4 o2", "o4 n3 o9 n4", "o2 n4 o11 n3", "o1 n4 o14 n1"})},
  };
  return cases;
}

TEST(DiagonalRevealsTest, ShowsTheNewPictureInsideTheTriangles) {
  for (const TCase& c : Cases()) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress)), c.Rows);
  }
}

// At 400 × 300 and 99 (X = 396, Y = 297) the triangle of 110 still misses the bottom-right corner;
// at 50 its edge from (400, 0) to (0, 300) leaves (399, 0) out and takes (398, 0) and (0, 299) in.
TEST(DiagonalRevealsTest, LeavesTheFarCornerToTheLastFrame) {
  const raster::Bitmap late = Frame(110, 400, 300, 99);
  EXPECT_EQ(SourceOf(late.pixel(399, 299)).Picture, 'o');
  EXPECT_EQ(SourceOf(late.pixel(398, 298)).Picture, 'o');
  EXPECT_EQ(SourceOf(late.pixel(396, 296)).Picture, 'n');
  const raster::Bitmap half = Frame(110, 400, 300, 50);
  EXPECT_EQ(SourceOf(half.pixel(399, 0)).Picture, 'o');
  EXPECT_EQ(SourceOf(half.pixel(398, 0)).Picture, 'n');
  EXPECT_EQ(SourceOf(half.pixel(0, 299)).Picture, 'n');
  EXPECT_EQ(SourceOf(half.pixel(399, 299)).Picture, 'o');
}

}  // namespace
}  // namespace pavona::effects
