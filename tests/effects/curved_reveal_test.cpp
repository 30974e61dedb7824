// Styles 58, 59, 69, 70 and 80 to 85, the curved and elliptic reveals: rounded rectangles whose
// pixels are those with their centre inside or on the outline.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/effects/effect_frames.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;

struct TMapCase {
  int Style, W, H, Progress;
  std::vector<std::string> Rows;
};

TEST(CurvedRevealTest, SmallFramesMatchTheRoundedShapes) {
  const TMapCase cases[] = {
      // rrect (−40, 0, 20, 13, 40, 40): the corner height is cut to 13, so the front is half an
      // ellipse centred on column 0, 20 wide and 6.5 high about row centre 6.5.
      {58, 20, 12, 50,
       {"nnnnnnnnoooooooooooo", "nnnnnnnnnnnnnooooooo", "nnnnnnnnnnnnnnnnoooo",
        "nnnnnnnnnnnnnnnnnnoo", "nnnnnnnnnnnnnnnnnnno", "nnnnnnnnnnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnno",
        "nnnnnnnnnnnnnnnnnnoo", "nnnnnnnnnnnnnnnnoooo", "nnnnnnnnnnnnnooooooo"}},
      // rrect (8, 0, 60, 13, 40, 40).
      {59, 20, 12, 30,
       {"oooooooooooooooooooo", "ooooooooooooooonnnnn", "oooooooooooonnnnnnnn",
        "oooooooooonnnnnnnnnn", "ooooooooonnnnnnnnnnn", "oooooooonnnnnnnnnnnn",
        "oooooooonnnnnnnnnnnn", "oooooooonnnnnnnnnnnn", "ooooooooonnnnnnnnnnn",
        "oooooooooonnnnnnnnnn", "oooooooooooonnnnnnnn", "ooooooooooooooonnnnn"}},
      // rrect (0, −40, 13, 20, 40, 40).
      {69, 12, 20, 50,
       {"nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn",
        "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "onnnnnnnnnnn", "onnnnnnnnnnn",
        "onnnnnnnnnnn", "onnnnnnnnnnn", "onnnnnnnnnnn", "oonnnnnnnnno", "oonnnnnnnnno",
        "oonnnnnnnnno", "ooonnnnnnnoo", "ooonnnnnnnoo", "oooonnnnnooo", "ooooonnnoooo"}},
      // rrect (0, 8, 13, 60, 40, 40).
      {70, 12, 20, 30,
       {"oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo",
        "oooooooooooo", "oooooooooooo", "oooooooooooo", "ooooonnnoooo", "oooonnnnnooo",
        "ooonnnnnnnoo", "ooonnnnnnnoo", "oonnnnnnnnno", "oonnnnnnnnno", "oonnnnnnnnno",
        "onnnnnnnnnnn", "onnnnnnnnnnn", "onnnnnnnnnnn", "onnnnnnnnnnn", "onnnnnnnnnnn"}},
      // The ellipse inscribed in (−20, −12)–(15, 9).
      {80, 20, 12, 50,
       {"nnnnnnnnnnnnnnnooooo", "nnnnnnnnnnnnnnoooooo", "nnnnnnnnnnnnnnoooooo",
        "nnnnnnnnnnnnnooooooo", "nnnnnnnnnnnnoooooooo", "nnnnnnnnnnnooooooooo",
        "nnnnnnnnnooooooooooo", "nnnnnnnooooooooooooo", "nnnooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo"}},
      // X = 12, Y = 7: the ellipse inscribed in (2, −12)–(40, 10).
      {81, 20, 12, 60,
       {"oonnnnnnnnnnnnnnnnnn", "oonnnnnnnnnnnnnnnnnn", "ooonnnnnnnnnnnnnnnnn",
        "oooonnnnnnnnnnnnnnnn", "ooooonnnnnnnnnnnnnnn", "oooooonnnnnnnnnnnnnn",
        "ooooooonnnnnnnnnnnnn", "ooooooooonnnnnnnnnnn", "ooooooooooonnnnnnnnn",
        "ooooooooooooooonnnnn", "oooooooooooooooooooo", "oooooooooooooooooooo"}},
      // Y = 10, X = 6: the ellipse inscribed in (−12, 5)–(9, 40).
      {82, 12, 20, 50,
       {"oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo",
        "nooooooooooo", "nnnooooooooo", "nnnnoooooooo", "nnnnnooooooo", "nnnnnnoooooo",
        "nnnnnnoooooo", "nnnnnnnooooo", "nnnnnnnooooo", "nnnnnnnnoooo", "nnnnnnnnoooo",
        "nnnnnnnnoooo", "nnnnnnnnoooo", "nnnnnnnnnooo", "nnnnnnnnnooo", "nnnnnnnnnooo"}},
      // Y = 8, X = 5: the ellipse inscribed in (5, 8)–(24, 40).
      {83, 12, 20, 40,
       {"oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo",
        "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooonn",
        "ooooooooonnn", "ooooooooonnn", "oooooooonnnn", "ooooooonnnnn", "ooooooonnnnn",
        "oooooonnnnnn", "oooooonnnnnn", "oooooonnnnnn", "oooooonnnnnn", "ooooonnnnnnn"}},
      // rrect (0, 0, 20, 12, 18, 10), and as the window of style 85 at the same progress the
      // exact complement of it.
      {84, 20, 12, 50,
       {"ooooonnnnnnnnnnooooo", "ooonnnnnnnnnnnnnnooo", "onnnnnnnnnnnnnnnnnno",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn",
        "onnnnnnnnnnnnnnnnnno", "ooonnnnnnnnnnnnnnooo", "ooooonnnnnnnnnnooooo"}},
      {85, 20, 12, 50,
       {"nnnnnoooooooooonnnnn", "nnnoooooooooooooonnn", "noooooooooooooooooon",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "noooooooooooooooooon", "nnnoooooooooooooonnn", "nnnnnoooooooooonnnnn"}},
      // rrect (−2, −1, 22, 13, 21, 12): pixel (1, 0) lies just outside its corner ellipse
      // ((7 / 10.5)² + (4.5 / 6)² > 1), pixel (0, 1) inside. At 63 the corners fill too.
      {84, 20, 12, 62,
       {"oonnnnnnnnnnnnnnnnoo", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn",
        "nnnnnnnnnnnnnnnnnnnn", "nnnnnnnnnnnnnnnnnnnn", "oonnnnnnnnnnnnnnnnoo"}},
      {84, 20, 12, 63, std::vector<std::string>(12, std::string(20, 'n'))},
      // The window is rrect (−2, −1, 22, 13, 21, 12), style 84's shape at 62: the picture's
      // corners are the first pixels to turn new; at 37 none has.
      {85, 20, 12, 37, std::vector<std::string>(12, std::string(20, 'o'))},
      {85, 20, 12, 38,
       {"nnoooooooooooooooonn", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "nnoooooooooooooooonn"}},
      // rrect (2, 4, 10, 16, 7, 10) for both: style 84 at 30 and style 85 at 70 complement
      // each other on the tall picture.
      {84, 12, 20, 30,
       {"oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooonnnnoooo",
        "ooonnnnnnooo", "oonnnnnnnnoo", "oonnnnnnnnoo", "oonnnnnnnnoo", "oonnnnnnnnoo",
        "oonnnnnnnnoo", "oonnnnnnnnoo", "oonnnnnnnnoo", "oonnnnnnnnoo", "ooonnnnnnooo",
        "oooonnnnoooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo"}},
      {85, 12, 20, 70,
       {"nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnoooonnnn",
        "nnnoooooonnn", "nnoooooooonn", "nnoooooooonn", "nnoooooooonn", "nnoooooooonn",
        "nnoooooooonn", "nnoooooooonn", "nnoooooooonn", "nnoooooooonn", "nnnoooooonnn",
        "nnnnoooonnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn", "nnnnnnnnnnnn"}},
      // X = 21, Y = 13 on an odd size: the window (11, 7)–(9, 5) is inverted and holds nothing.
      {85, 21, 13, 99, std::vector<std::string>(13, std::string(21, 'n'))},
  };
  for (const TMapCase& c : cases) {
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress)), c.Rows)
        << "style " << c.Style << ", " << c.W << " x " << c.H << " at " << c.Progress;
  }
}

TEST(CurvedRevealTest, FullSizeFramesAtTheirOutlines) {
  struct TProbe {
    int Style, Progress, X, Y;
    char Expected;
  };
  const TProbe probes[] = {
      // rrect (−800, 0, 400, 301, 800, 800): the tip reaches column 399 at mid-height only, and
      // the front curves back to column 32 in the top row and 55 in the bottom one.
      {58, 50, 399, 150, 'n'}, {58, 50, 399, 140, 'o'}, {58, 50, 32, 0, 'n'},
      {58, 50, 33, 0, 'o'}, {58, 50, 55, 299, 'n'}, {58, 50, 56, 299, 'o'},
      // The ellipse inscribed in (−400, −300)–(300, 225).
      {80, 50, 295, 0, 'n'}, {80, 50, 296, 0, 'o'}, {80, 50, 0, 221, 'n'}, {80, 50, 0, 222, 'o'},
      // From 68 on the corner ellipses of style 84 hold the picture's corners.
      {84, 67, 0, 0, 'o'}, {84, 68, 0, 0, 'n'}, {84, 68, 399, 299, 'n'},
  };
  for (const TProbe& p : probes) {
    EXPECT_EQ(Map(Frame(p.Style, 400, 300, p.Progress))[p.Y][p.X], p.Expected)
        << "style " << p.Style << " at " << p.Progress << ", pixel " << p.X << ", " << p.Y;
  }
}

// At 50 on 400 × 300 both use rrect (0, 0, 400, 300, 360, 270): every pixel is new in exactly
// one of the two frames.
TEST(CurvedRevealTest, EllipseOutAndInAreComplementsAtHalfWay) {
  const std::vector<std::string> out = Map(Frame(84, 400, 300, 50));
  const std::vector<std::string> in = Map(Frame(85, 400, 300, 50));
  int newPixels = 0;
  for (int y = 0; y < 300; ++y) {
    for (int x = 0; x < 400; ++x) {
      ASSERT_NE(out[y][x], in[y][x]) << x << ", " << y;
      newPixels += out[y][x] == 'n';
    }
  }
  // The rectangle less four corners of (4 − π) × 180 × 135 together.
  EXPECT_NEAR(newPixels, 99141, 400);
}

}  // namespace
}  // namespace pavona::effects
