// Styles 124 to 128: the speckle wipes, whose speckles come from the running random sequence, and
// the random squares, whose draws come from the transition's seed.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/effects/effect_frames.h"
#include "transition/random.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;

std::string Row(int oldCount, int newCount, int oldAfter = 0) {
  return std::string(oldCount, 'o') + std::string(newCount, 'n') + std::string(oldAfter, 'o');
}

std::vector<std::string> Transposed(const std::vector<std::string>& rows) {
  std::vector<std::string> out(rows.front().size(), std::string(rows.size(), ' '));
  for (std::size_t y = 0; y < rows.size(); ++y) {
    for (std::size_t x = 0; x < rows[y].size(); ++x) out[x][y] = rows[y][x];
  }
  return out;
}

// RandomSeed after n draws from seed, by the generator's own formula.
std::uint32_t SeedAfter(std::uint32_t seed, int n) {
  for (int i = 0; i < n; ++i) seed = seed * 134775813u + 1u;
  return seed;
}

struct TSpeckleCase {
  int Style, W, H, Progress;
  std::uint32_t Seed;
  std::vector<std::string> Rows;
  int Draws;  // how far the frame moves the running sequence on
};

TEST(SpeckleTest, SmallFramesFromAKnownSequence) {
  // Width 40 (height 40 for the vertical styles): D = 4, e = 2, one row every pixel, two speckle
  // positions a row, near = 1. Speckle 1 beside the band always shows; speckle 2 shows when its
  // draw NextRandom(2) is 0. From seed 16 the draws of the six rows are 1, 0, 1, 1, 0, 0, and each
  // row of squares is two pixels tall, so the pixel rows 1, 2, 4 and 5 get speckle 2.
  const std::vector<std::string> fromRight = {Row(28, 12), Row(26, 14), Row(26, 14),
                                              Row(28, 12), Row(26, 14), Row(26, 14)};
  const std::vector<std::string> fromLeft = {Row(0, 12, 28), Row(0, 14, 26), Row(0, 14, 26),
                                             Row(0, 12, 28), Row(0, 14, 26), Row(0, 14, 26)};
  const TSpeckleCase cases[] = {
      // X = 10: band 30 to 39, speckle 1 at 28 and 29, speckle 2 at 26 and 27.
      {124, 40, 6, 25, 16, fromRight, 12},
      {125, 40, 6, 25, 16, fromLeft, 12},
      // Y = 10 on 6 × 40: the same by columns, from the bottom and from the top.
      {126, 6, 40, 25, 16, Transposed(fromRight), 12},
      {127, 6, 40, 25, 16, Transposed(fromLeft), 12},
      // Width 20: D = 2, one position a row, always filled: band and speckle make a straight
      // edge, X = 6 plus 2.
      {124, 20, 12, 30, 16, std::vector<std::string>(12, Row(12, 8)), 12},
      {125, 20, 12, 30, 16, std::vector<std::string>(12, Row(0, 8, 12)), 12},
      // Y = 6 on 12 × 20.
      {126, 12, 20, 30, 16, Transposed(std::vector<std::string>(12, Row(12, 8))), 12},
      // X = 20 = W at 98: D = 0, no speckles and no draws; the band covers the picture.
      {124, 20, 12, 98, 16, std::vector<std::string>(12, Row(0, 20)), 0},
      // Width 9 < 10: D = 0 as well, only the band (X = 3).
      {124, 9, 4, 30, 16, std::vector<std::string>(4, Row(6, 3)), 0},
  };
  for (const TSpeckleCase& c : cases) {
    transition::RandomSeed = c.Seed;
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress)), c.Rows)
        << "style " << c.Style << ", " << c.W << " x " << c.H << " at " << c.Progress;
    EXPECT_EQ(transition::RandomSeed, SeedAfter(c.Seed, c.Draws)) << "style " << c.Style;
  }
}

// 400 × 300 at 50: D = 40, e = 2, count = 20, near = 15. Speckles 1 and 2 always show, so the new
// picture is solid from column 196; nothing lies beyond speckle 20 at column 160. The speckles
// change from frame to frame, and the frame moves the sequence on by 20 draws for each of the
// 300 rows.
TEST(SpeckleTest, FullSizeSpecklesThinOutAheadOfTheBand) {
  std::vector<std::vector<std::string>> frames;
  for (std::uint32_t seed : {1u, 2u, 3u}) {
    transition::RandomSeed = seed;
    frames.push_back(Map(Frame(124, 400, 300, 50)));
    EXPECT_EQ(transition::RandomSeed, SeedAfter(seed, 6000));
    const std::vector<std::string>& map = frames.back();
    int speckles = 0;
    for (int y = 0; y < 300; ++y) {
      ASSERT_EQ(map[y].substr(196), std::string(204, 'n')) << "row " << y;
      ASSERT_EQ(map[y].substr(0, 160), std::string(160, 'o')) << "row " << y;
      for (int x = 160; x < 196; ++x) {
        ASSERT_NE(map[y][x], '?');
        speckles += map[y][x] == 'n';
      }
    }
    // Rows overlap by half: a pixel of speckle 3 shows with chance 1 − (1/3)², one of speckle
    // 16 with 1 − (15/16)²; the area ahead of the solid part is partly filled.
    EXPECT_GT(speckles, 300 * 4);
    EXPECT_LT(speckles, 300 * 30);
  }
  EXPECT_NE(frames[0], frames[1]);
}

// 6 × 4: c = 1, three columns of two 2 × 2 squares. From seed 7 the squares draw, column by
// column and top to bottom within a column, 21, 83, 25, 69, 6 and 20.
TEST(SpeckleTest, RandomSquaresFromTheTransitionSeed) {
  struct TCase {
    int Progress;
    std::vector<std::string> Rows;
  };
  const TCase cases[] = {
      {6, std::vector<std::string>(4, "oooooo")},  // nothing below 6: no region, no drawing
      {21, {"oooonn", "oooonn", "oooonn", "oooonn"}},  // 21 is not below 21
      {22, {"nnoonn", "nnoonn", "oooonn", "oooonn"}},
      {70, {"nnnnnn", "nnnnnn", "oonnnn", "oonnnn"}},
  };
  for (const TCase& c : cases) {
    transition::RandomSeed = 5;
    EXPECT_EQ(Map(Frame(128, 6, 4, c.Progress, 7)), c.Rows) << "at " << c.Progress;
    EXPECT_EQ(transition::RandomSeed, 5u) << "the caller's seed is left alone";
  }
}

// A whole transition on 100 × 100 (c = 3: 6-pixel squares, the last row and column cut off):
// squares of the old or the new picture only, each whole, and a square once shown stays.
TEST(SpeckleTest, RandomSquaresOnlyEverAppear) {
  for (std::uint32_t seed : {7u, 1234567u}) {
    std::vector<std::string> previous(100, std::string(100, 'o'));
    for (int progress = 1; progress < 100; ++progress) {
      const std::vector<std::string> map = Map(Frame(128, 100, 100, progress, seed));
      EXPECT_EQ(map, Map(Frame(128, 100, 100, progress, seed))) << "the same seed, the same frame";
      for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
          ASSERT_TRUE(map[y][x] == 'o' || map[y][x] == 'n') << x << ", " << y;
          ASSERT_EQ(map[y][x], map[y - y % 6][x - x % 6]) << "a square is whole";
          if (previous[y][x] == 'n') {
            ASSERT_EQ(map[y][x], 'n') << x << ", " << y << " at " << progress;
          }
        }
      }
      previous = map;
    }
  }
  EXPECT_NE(Map(Frame(128, 100, 100, 50, 7)), Map(Frame(128, 100, 100, 50, 1234567)));
}

}  // namespace
}  // namespace pavona::effects
