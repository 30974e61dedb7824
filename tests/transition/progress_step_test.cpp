// How Step is stored and walked.
#include <gtest/gtest.h>

#include <vector>

#include "transition/progress_step.h"

namespace pavona::transition {
namespace {

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
}  // namespace pavona::transition
