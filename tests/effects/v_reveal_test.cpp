// Styles 154 to 161, the V, bow tie and cross reveals: the triangles on the edge midpoints, with
// a pixel inside when its centre lies inside or on the outline.
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

TEST(VRevealTest, SmallFramesMatchTheTriangles) {
  const TMapCase cases[] = {
      // X = 5, Y = 3: (0, 3), (10, 6), (0, 9); row 3's centre meets the edge at x = 5/3.
      {154, 20, 12, 25,
       {"oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo",
        "nnoooooooooooooooooo", "nnnnnooooooooooooooo", "nnnnnnnnoooooooooooo",
        "nnnnnnnnoooooooooooo", "nnnnnooooooooooooooo", "nnoooooooooooooooooo",
        "oooooooooooooooooooo", "oooooooooooooooooooo", "oooooooooooooooooooo"}},
      // X = 8, Y = 5: (20, 1), (4, 6), (20, 11).
      {155, 20, 12, 40,
       {"oooooooooooooooooooo", "oooooooooooooooooonn", "ooooooooooooooonnnnn",
        "oooooooooooonnnnnnnn", "ooooooooonnnnnnnnnnn", "oooooonnnnnnnnnnnnnn",
        "oooooonnnnnnnnnnnnnn", "ooooooooonnnnnnnnnnn", "oooooooooooonnnnnnnn",
        "ooooooooooooooonnnnn", "oooooooooooooooooonn", "oooooooooooooooooooo"}},
      // Y = 5, X = 3: (3, 0), (6, 10), (9, 0). Rows 8 and 9 still lie inside the triangle, but
      // no pixel centre of them does: at row 8 it spans 5.55 to 6.45.
      {156, 12, 20, 25,
       {"ooonnnnnnooo", "ooonnnnnnooo", "oooonnnnoooo", "oooonnnnoooo", "oooonnnnoooo",
        "ooooonnooooo", "ooooonnooooo", "ooooonnooooo", "oooooooooooo", "oooooooooooo",
        "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo",
        "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo"}},
      // An odd width: hw = 10, X = 6, Y = 3: (4, 0), (10, 6), (16, 0).
      {156, 21, 12, 30,
       {"oooonnnnnnnnnnnnooooo", "ooooonnnnnnnnnnoooooo", "oooooonnnnnnnnooooooo",
        "ooooooonnnnnnoooooooo", "oooooooonnnnooooooooo", "ooooooooonnoooooooooo",
        "ooooooooooooooooooooo", "ooooooooooooooooooooo", "ooooooooooooooooooooo",
        "ooooooooooooooooooooo", "ooooooooooooooooooooo", "ooooooooooooooooooooo"}},
      // Y = 8, X = 5: (1, 20), (6, 4), (11, 20).
      {157, 12, 20, 40,
       {"oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo", "oooooooooooo",
        "oooooooooooo", "ooooonnooooo", "ooooonnooooo", "ooooonnooooo", "oooonnnnoooo",
        "oooonnnnoooo", "oooonnnnoooo", "ooonnnnnnooo", "ooonnnnnnooo", "ooonnnnnnooo",
        "oonnnnnnnnoo", "oonnnnnnnnoo", "oonnnnnnnnoo", "onnnnnnnnnno", "onnnnnnnnnno"}},
      // X = 10, Y = 6: the apexes meet at (10, 6); the middle rows keep columns 9 and 10 old.
      {158, 20, 12, 50,
       {"noooooooooooooooooon", "nnnoooooooooooooonnn", "nnnnoooooooooooonnnn",
        "nnnnnnoooooooonnnnnn", "nnnnnnnnoooonnnnnnnn", "nnnnnnnnnoonnnnnnnnn",
        "nnnnnnnnnoonnnnnnnnn", "nnnnnnnnoooonnnnnnnn", "nnnnnnoooooooonnnnnn",
        "nnnnoooooooooooonnnn", "nnnoooooooooooooonnn", "noooooooooooooooooon"}},
      // Y = 6, X = 4: each apex 12 rows deep, so the two overlap in rows 8 to 11.
      {159, 12, 20, 30,
       {"oonnnnnnnnoo", "oonnnnnnnnoo", "ooonnnnnnooo", "ooonnnnnnooo", "ooonnnnnnooo",
        "oooonnnnoooo", "oooonnnnoooo", "oooonnnnoooo", "ooooonnooooo", "ooooonnooooo",
        "ooooonnooooo", "ooooonnooooo", "oooonnnnoooo", "oooonnnnoooo", "oooonnnnoooo",
        "ooonnnnnnooo", "ooonnnnnnooo", "ooonnnnnnooo", "oonnnnnnnnoo", "oonnnnnnnnoo"}},
      // X = 12, Y = 7, hx = 6, hy = 3: four arrowheads 6 (3) deep.
      {160, 20, 12, 60,
       {"ooooonnnnnnnnnnooooo", "ooooooonnnnnnooooooo", "ooooooooonnooooooooo",
        "noooooooooooooooooon", "nnnoooooooooooooonnn", "nnnnnoooooooooonnnnn",
        "nnnnnoooooooooonnnnn", "nnnoooooooooooooonnn", "noooooooooooooooooon",
        "ooooooooonnooooooooo", "ooooooonnnnnnooooooo", "ooooonnnnnnnnnnooooo"}},
      // X = 6, Y = 4, u = 7, v = 4: the picture minus four arrowheads 7 (4) deep.
      {161, 20, 12, 30,
       {"nnnnoooooooooooonnnn", "nnnnnnoooooooonnnnnn", "onnnnnnoooooonnnnnno",
        "ooonnnnnnoonnnnnnooo", "oooonnnnnnnnnnnnoooo", "oooooonnnnnnnnoooooo",
        "oooooonnnnnnnnoooooo", "oooonnnnnnnnnnnnoooo", "ooonnnnnnoonnnnnnooo",
        "onnnnnnoooooonnnnnno", "nnnnnnoooooooonnnnnn", "nnnnoooooooooooonnnn"}},
  };
  for (const TMapCase& c : cases) {
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress)), c.Rows)
        << "style " << c.Style << ", " << c.W << " x " << c.H << " at " << c.Progress;
  }
}

// Single pixels of 400 × 300 frames, either side of the outlines the triangles give there.
TEST(VRevealTest, FullSizeFramesAtTheirOutlines) {
  struct TProbe {
    int Style, Progress, X, Y;
    char Expected;
  };
  const TProbe probes[] = {
      // X = 100, Y = 75: (0, 75), (200, 150), (0, 225).
      {154, 25, 0, 74, 'o'}, {154, 25, 0, 75, 'n'}, {154, 25, 1, 75, 'o'},
      {154, 25, 198, 149, 'n'}, {154, 25, 199, 149, 'o'}, {154, 25, 198, 150, 'n'},
      {154, 25, 0, 224, 'n'}, {154, 25, 0, 225, 'o'},
      // (0, 0), (200, 150), (0, 300) and (400, 0), (200, 150), (400, 300).
      {158, 50, 0, 0, 'n'}, {158, 50, 1, 0, 'o'}, {158, 50, 399, 0, 'n'},
      {158, 50, 198, 149, 'n'}, {158, 50, 199, 149, 'o'}, {158, 50, 200, 149, 'o'},
      {158, 50, 201, 149, 'n'},
      // u = 198, v = 148: new only between the arrowheads.
      {161, 1, 0, 0, 'n'}, {161, 1, 399, 299, 'n'}, {161, 1, 199, 149, 'n'},
      {161, 1, 200, 150, 'n'}, {161, 1, 100, 150, 'o'}, {161, 1, 300, 150, 'o'},
      {161, 1, 200, 10, 'o'}, {161, 1, 200, 290, 'o'},
  };
  for (const TProbe& p : probes) {
    EXPECT_EQ(Map(Frame(p.Style, 400, 300, p.Progress))[p.Y][p.X], p.Expected)
        << "style " << p.Style << " at " << p.Progress << ", pixel " << p.X << ", " << p.Y;
  }
}

}  // namespace
}  // namespace pavona::effects
