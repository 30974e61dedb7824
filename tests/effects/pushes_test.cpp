// Styles 129 to 136 and 173 to 176: the old picture moved or squeezed, the new one beside it,
// worked out by hand. These rows draw every pixel, so nothing of the starting picture may stay
// in place unless a block puts it there.
//
// 20 × 12 at 25 gives X = 5; at 33, X = 7; at 50, X = 10. 12 × 20 at 25 gives Y = 5; at 33,
// Y = 7; at 50, Y = 10; at 99, Y = 20 = H.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/effects/frame_blocks.h"

namespace pavona::effects::testing {
namespace {

struct PushCase {
  int Style, W, H, Progress;
  std::vector<TBlock> Blocks;
};

const PushCase kCases[] = {
    {129, 20, 12, 25,
     {{'o', {5, 0, 20, 12}, Seq(0, 15), {}}, {'n', {0, 0, 5, 12}, Seq(15, 5), {}}}},
    {130, 20, 12, 25,
     {{'o', {0, 0, 15, 12}, Seq(5, 15), {}}, {'n', {15, 0, 20, 12}, Seq(0, 5), {}}}},
    // 20 old columns into 10 keep the odd ones.
    {131, 20, 12, 50,
     {{'o', {10, 0, 20, 12}, Seq(1, 10, 2), {}}, {'n', {0, 0, 10, 12}, Seq(10, 10), {}}}},
    {131, 20, 12, 33,
     {{'o', {7, 0, 20, 12}, {0, 2, 3, 5, 6, 8, 10, 11, 13, 14, 16, 17, 19}, {}},
      {'n', {0, 0, 7, 12}, Seq(13, 7), {}}}},
    {132, 20, 12, 25,
     {{'o', {0, 0, 15, 12}, {0, 2, 3, 4, 6, 7, 8, 10, 11, 12, 14, 15, 16, 18, 19}, {}},
      {'n', {15, 0, 20, 12}, Seq(0, 5), {}}}},
    {133, 12, 20, 25,
     {{'o', {0, 5, 12, 20}, {}, Seq(0, 15)}, {'n', {0, 0, 12, 5}, {}, Seq(15, 5)}}},
    {134, 12, 20, 25,
     {{'o', {0, 0, 12, 15}, {}, Seq(5, 15)}, {'n', {0, 15, 12, 20}, {}, Seq(0, 5)}}},
    {135, 12, 20, 50,
     {{'o', {0, 10, 12, 20}, {}, Seq(1, 10, 2)}, {'n', {0, 0, 12, 10}, {}, Seq(10, 10)}}},
    {136, 12, 20, 33,
     {{'o', {0, 0, 12, 13}, {}, {0, 2, 3, 5, 6, 8, 10, 11, 13, 14, 16, 17, 19}},
      {'n', {0, 13, 12, 20}, {}, Seq(0, 7)}}},
    {173, 20, 12, 25, {{'o', {5, 0, 20, 12}, Seq(0, 15), {}}, {'n', {0, 0, 5, 12}, {}, {}}}},
    {174, 20, 12, 25, {{'o', {0, 0, 15, 12}, Seq(5, 15), {}}, {'n', {15, 0, 20, 12}, {}, {}}}},
    {175, 12, 20, 25, {{'o', {0, 5, 12, 20}, {}, Seq(0, 15)}, {'n', {0, 0, 12, 5}, {}, {}}}},
    {176, 12, 20, 25, {{'o', {0, 0, 12, 15}, {}, Seq(5, 15)}, {'n', {0, 15, 12, 20}, {}, {}}}},
    // Y = H: the old picture is gone, the new one fills the frame in place.
    {134, 12, 20, 99, {{'n', {0, 0, 12, 20}, {}, {}}}},
    {136, 12, 20, 99, {{'n', {0, 0, 12, 20}, {}, {}}}},
    // X = 0: the old picture, whole and in place, is written as the frame.
    {131, 20, 12, 2, {}},
    {129, 20, 12, 2, {}},
    // 400 × 300: at 25, X = 100; at 50, X = 200.
    {129, 400, 300, 25,
     {{'o', {100, 0, 400, 300}, Seq(0, 300), {}}, {'n', {0, 0, 100, 300}, Seq(300, 100), {}}}},
    {131, 400, 300, 50,
     {{'o', {200, 0, 400, 300}, Seq(1, 200, 2), {}}, {'n', {0, 0, 200, 300}, Seq(200, 200), {}}}},
    {173, 400, 300, 25,
     {{'o', {100, 0, 400, 300}, Seq(0, 300), {}}, {'n', {0, 0, 100, 300}, {}, {}}}},
};

TEST(PushesTest, MovesTheOldPictureAndBringsTheNewOne) {
  for (const PushCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + " " + std::to_string(c.W) + "x" +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress));
    EXPECT_TRUE(MatchesBlocks(Frame(c.Style, c.W, c.H, c.Progress), c.Blocks));
  }
}

}  // namespace
}  // namespace pavona::effects::testing
