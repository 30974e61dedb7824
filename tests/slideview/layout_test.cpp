// Where the picture appears in the control, and how Step is stored and walked.
#include <gtest/gtest.h>

#include <vector>

#include "slideview/progress_step.h"
#include "slideview/slide_layout.h"

namespace pavona::slideview {
namespace {

TEST(LayoutTest, PlacesThePictureAsTheOptionsSay) {
  struct Case {
    raster::Size client, picture;
    TLayoutOptions options;
    raster::Rect expected;
  };
  const Case cases[] = {
      // Centred, proportional and stretched: scaled up to fit.
      {{1000, 600}, {400, 300}, {0, true, true, true}, {100, 0, 900, 600}},
      {{1000, 600}, {300, 400}, {0, true, true, true}, {275, 0, 725, 600}},
      // Proportional without stretching: natural size unless too large.
      {{1000, 600}, {400, 300}, {0, true, false, true}, {300, 150, 700, 450}},
      {{1000, 600}, {2000, 600}, {0, true, false, true}, {0, 150, 1000, 450}},
      // Equal quotients fit the height.
      {{800, 600}, {400, 300}, {0, false, true, true}, {0, 0, 800, 600}},
      // Stretched inside a frame, aspect not kept.
      {{1000, 600}, {400, 300}, {5, false, true, false}, {5, 5, 995, 595}},
      // Natural size, not centred, larger than the area: cut off at the right and bottom.
      {{100, 100}, {400, 300}, {0, false, false, false}, {0, 0, 400, 300}},
      // Centred with an odd spare width: the spare pixel lies on the right.
      {{1001, 600}, {400, 300}, {0, true, false, false}, {300, 150, 700, 450}},
      // Centred and larger than the area: cut off on both sides.
      {{100, 100}, {300, 100}, {0, true, false, false}, {-100, 0, 200, 100}},
      // A picture without pixels is never scaled.
      {{1000, 600}, {0, 0}, {0, true, false, true}, {500, 300, 500, 300}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ComputeDisplayRect(c.client, c.picture, c.options), c.expected)
        << c.picture.Width << "x" << c.picture.Height << " in " << c.client.Width << "x"
        << c.client.Height;
  }
}

TEST(StepTest, IsClampedWhenStored) {
  EXPECT_EQ(ClampStep(0), 1);
  EXPECT_EQ(ClampStep(1), 1);
  EXPECT_EQ(ClampStep(100), 100);
  EXPECT_EQ(ClampStep(101), 99);
  EXPECT_EQ(ClampStep(250), 99);
}

std::vector<int> Walk(int step, bool reverse) {
  std::vector<int> seen;
  int progress = StartProgress(reverse);
  while (progress != EndProgress(reverse)) {
    progress = NextProgress(progress, step, reverse);
    seen.push_back(progress);
  }
  return seen;
}

TEST(StepTest, WalksFromStartToEnd) {
  EXPECT_EQ(Walk(12, false), (std::vector<int>{12, 24, 36, 48, 60, 72, 84, 96, 100}));
  EXPECT_EQ(Walk(30, false), (std::vector<int>{30, 60, 90, 100}));
  EXPECT_EQ(Walk(12, true), (std::vector<int>{88, 76, 64, 52, 40, 28, 16, 4, 0}));
  EXPECT_EQ(Walk(4, false).size(), 25u);
  EXPECT_EQ(Walk(100, false), (std::vector<int>{100}));
  // A step of 0 stays put.
  EXPECT_EQ(NextProgress(36, 0, false), 36);
  EXPECT_EQ(NextProgress(36, 0, true), 36);
}

TEST(StepTest, ExactTimingScalesTheStepByTheElapsedTime) {
  EXPECT_EQ(ExactStep(4, 100, 40), 10);
  EXPECT_EQ(ExactStep(12, 40, 40), 12);
  EXPECT_EQ(ExactStep(12, 10, 40), 3);
  EXPECT_EQ(ExactStep(12, 0, 40), 0);
}

}  // namespace
}  // namespace pavona::slideview
