// Styles 47 to 57, the appear-and-contract, centre and quarter wipes: maps of where each pixel
// comes from, and the exact source of the pixels where a stretch's rounding decides it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "effect_frames.h"
#include "raster/surface.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;
using testing::SourceOf;
using testing::TSource;

struct TSpot {
  int X, Y;
  TSource Source;
};

struct TCase {
  int Style;
  int W, H, Progress;
  std::vector<std::string> Rows;  // the whole map; empty where only the spots are checked
  std::vector<TSpot> Spots;
};

std::string Run(char c, int n) { return std::string(static_cast<std::size_t>(n), c); }

// n rows of the same text.
std::vector<std::string> Repeat(int n, const std::string& row) {
  return std::vector<std::string>(static_cast<std::size_t>(n), row);
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> rows;
  for (const auto& part : parts) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

// A frame of rows 0 to top - 1 and bottom to h - 1 showing `edge`, the rows between `middle`.
std::vector<std::string> Bands(int h, int top, int bottom, const std::string& edge,
                               const std::string& middle) {
  return Join({Repeat(top, edge), Repeat(bottom - top, middle), Repeat(h - bottom, edge)});
}

// At 20 × 12: P 35 gives X = 7, Y = 4; P 45 gives X = 9, Y = 5; P 50 gives X = 10, Y = 6. At
// 12 × 20 the two swap. A stretch gives destination step i the source step
// floor((2i + 1) × source / destination).
const std::vector<TCase>& Cases() {
  static const std::vector<TCase> cases = {
      // 47: 10 × 6 magnified into 30 × 18 from the top-left: column x shows x div 3, row y y div 3.
      {47, 20, 12, 50,
       Join({{"n" + Run('N', 19)}, Repeat(11, Run('N', 20))}),
       {{2, 2, {'n', 0, 0}}, {3, 3, {'n', 1, 1}}, {19, 11, {'n', 6, 3}}}},
      // 48 at 12 × 20 (X = 6, Y = 10): 6 × 10 from the bottom-left into 18 × 30 at (0, -10).
      {48, 12, 20, 50,
       Join({Repeat(19, Run('N', 12)), {"n" + Run('N', 11)}}),
       {{11, 0, {'n', 3, 13}}, {0, 18, {'n', 0, 19}}}},
      // 49: from (10, 6) into 30 × 18 at (-10, -6): only the bottom-right pixel is in place.
      {49, 20, 12, 50,
       Join({Repeat(11, Run('N', 20)), {Run('N', 19) + "n"}}),
       {{0, 0, {'n', 13, 8}}, {18, 10, {'n', 19, 11}}}},
      // 50 at 12 × 20: from (6, 0) into 18 × 30 at (-6, 0).
      {50, 12, 20, 50,
       Join({{Run('N', 11) + "n"}, Repeat(19, Run('N', 12))}),
       {{0, 0, {'n', 8, 0}}, {0, 19, {'n', 8, 6}}, {11, 19, {'n', 11, 6}}}},
      // 51: the middle 10 × 6 from (5, 3) into 40 × 24 at (-10, -6); columns 9 and 10 and rows 5
      // and 6 land in place.
      {51, 20, 12, 50,
       Bands(12, 5, 7, Run('N', 20), Run('N', 9) + "nn" + Run('N', 9)),
       {{0, 0, {'n', 7, 4}}, {19, 11, {'n', 12, 7}}, {8, 4, {'n', 9, 5}}}},
      // 52: the picture squeezed into 10 × 6 at (5, 3); its step 4 lands on source 9 in place.
      {52, 20, 12, 50,
       Join({Repeat(3, Run('o', 20)),
             Repeat(2, Run('o', 5) + Run('N', 10) + Run('o', 5)),
             {Run('o', 5) + "NNNNnNNNNN" + Run('o', 5)},
             Repeat(3, Run('o', 5) + Run('N', 10) + Run('o', 5)),
             Repeat(3, Run('o', 20))}),
       {{5, 3, {'n', 1, 1}}, {14, 8, {'n', 19, 11}}}},
      // 53: (20 - 9) div 2 = 5 and (12 - 5) div 2 = 3: a 9 × 5 window at (5, 3).
      {53, 20, 12, 45,
       Bands(12, 3, 8, Run('o', 20), Run('o', 5) + Run('n', 9) + Run('o', 6)),
       {}},
      // 54: the start stays inside (4, 2)-(16, 10), right and bottom edges excluded.
      {54, 20, 12, 45,
       Bands(12, 2, 10, Run('n', 20), Run('n', 4) + Run('o', 12) + Run('n', 4)),
       {}},
      // 54 at 12 × 20 (X = 5, Y = 9): the start inside (2, 4)-(10, 16).
      {54, 12, 20, 45,
       Bands(20, 4, 16, Run('n', 12), "nn" + Run('o', 8) + "nn"),
       {}},
      // 54 at 400 × 300: the start inside (100, 75)-(300, 225).
      {54, 400, 300, 50, {},
       {{100, 75, {'o', 100, 75}}, {299, 224, {'o', 299, 224}}, {99, 75, {'n', 99, 75}},
        {300, 224, {'n', 300, 224}}, {100, 74, {'n', 100, 74}}, {299, 225, {'n', 299, 225}}}},
      // 55: X div 2 = 3, Y div 2 = 2: four 3 × 2 corners.
      {55, 20, 12, 35,
       Bands(12, 2, 10, "nnn" + Run('o', 14) + "nnn", Run('o', 20)),
       {}},
      // 55 at 12 × 20 (X = 4, Y = 7): four 2 × 3 corners.
      {55, 12, 20, 35,
       Bands(20, 3, 17, "nn" + Run('o', 8) + "nn", Run('o', 12)),
       {}},
      // 56: each 10 × 6 quarter squeezed into 5 × 3 in its corner; only the bottom-right
      // quarter's last step lands in place.
      {56, 20, 12, 50,
       Join({Bands(9, 3, 9, Run('N', 5) + Run('o', 10) + Run('N', 5), Run('o', 20)),
             Repeat(2, Run('N', 5) + Run('o', 10) + Run('N', 5)),
             {Run('N', 5) + Run('o', 10) + "NNNNn"}}),
       {{0, 0, {'n', 1, 1}}, {4, 2, {'n', 9, 5}}, {15, 9, {'n', 11, 7}}, {15, 0, {'n', 11, 1}}}},
      // 56 with an odd width: at 99 (X = 21) the right quarters are columns 10 to 19 of the new
      // picture drawn at 11 to 20, and column 10 still shows the start.
      {56, 21, 12, 99,
       Repeat(12, Run('n', 10) + "o" + Run('N', 10)),
       {{20, 0, {'n', 19, 0}}, {11, 11, {'n', 10, 11}}}},
      // 57: the 10 × 6 quarters slide in, top left from the left by 5 columns, top right from
      // the top by 3 rows, bottom right from the right by 5, bottom left from the bottom by 3.
      {57, 20, 12, 50,
       Join({Repeat(3, Run('N', 5) + Run('o', 5) + Run('N', 10)),
             Repeat(3, Run('N', 5) + Run('o', 15)),
             Repeat(3, Run('o', 15) + Run('N', 5)),
             Repeat(3, Run('N', 10) + Run('o', 5) + Run('N', 5))}),
       {{0, 0, {'n', 5, 0}}, {4, 5, {'n', 9, 5}}, {10, 0, {'n', 10, 3}}, {19, 2, {'n', 19, 5}},
        {15, 6, {'n', 10, 6}}, {0, 9, {'n', 0, 6}}, {9, 11, {'n', 9, 8}}}},
      // 51 at 400 × 300: stretch (-200, -150, 800, 600) from (100, 75, 200, 150); pixel (0, 0) is
      // step 200 across and 150 down: source 100 + floor(401 × 200 / 1600), 75 + floor(301 / 8).
      {51, 400, 300, 50, {}, {{0, 0, {'n', 150, 112}}, {399, 299, {'n', 249, 187}}}},
      // 52 at 400 × 300: the picture squeezed into (100, 75)-(300, 225).
      {52, 400, 300, 50, {},
       {{100, 75, {'n', 1, 1}}, {299, 224, {'n', 399, 299}}, {99, 75, {'o', 99, 75}},
        {300, 225, {'o', 300, 225}}}},
      // 57 at 400 × 300: top-left source columns 100 to 199 in columns 0 to 99; top-right source
      // rows 75 to 149 in rows 0 to 74 of columns 200 to 399.
      {57, 400, 300, 50, {},
       {{0, 0, {'n', 100, 0}}, {99, 149, {'n', 199, 149}}, {100, 0, {'o', 100, 0}},
        {200, 0, {'n', 200, 75}}, {399, 74, {'n', 399, 149}}, {200, 75, {'o', 200, 75}}}},
  };
  return cases;
}

TEST(CentreWipesTest, DrawsEachFrameFromItsCopies) {
  for (const TCase& c : Cases()) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    const raster::Bitmap frame = Frame(c.Style, c.W, c.H, c.Progress);
    if (!c.Rows.empty()) {
      EXPECT_EQ(Map(frame), c.Rows);
    }
    for (const TSpot& spot : c.Spots) {
      const TSource source = SourceOf(frame.pixel(spot.X, spot.Y));
      EXPECT_EQ(std::string() + source.Picture + " " + std::to_string(source.X) + " " +
                    std::to_string(source.Y),
                std::string() + spot.Source.Picture + " " + std::to_string(spot.Source.X) + " " +
                    std::to_string(spot.Source.Y))
          << "at (" << spot.X << ", " << spot.Y << ")";
    }
  }
}

}  // namespace
}  // namespace pavona::effects
