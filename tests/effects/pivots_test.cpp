// Styles 120 to 123: frames at small sizes against maps worked out by hand from the fixed-point
// turn about the hinge, with S and C the truncated sine and cosine times 65536 (at progress 1,
// 50 and 99: ∓65527 and 1029, ∓46340 and 46340, ∓1029 and 65527).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "effect_frames.h"

namespace pavona::effects {
namespace {

using TCase = testing::TFrameCase;
using testing::Rows;

// Rows of width w holding counts[y] moved pixels of the new picture ('N') at their left or right
// end, the starting picture elsewhere.
std::vector<std::string> Wedge(int w, const std::vector<int>& counts, bool atRight) {
  std::vector<std::string> rows;
  for (int n : counts) {
    rows.push_back(atRight ? std::string(w - n, 'o') + std::string(n, 'N')
                           : std::string(n, 'N') + std::string(w - n, 'o'));
  }
  return rows;
}

const TCase kCases[] = {
    {120, 20, 12, 1, "turned by 89.1 degrees: every source row lies below the picture",
     Rows(12, std::string(20, 'o'))},
    // sx = −1 + floor(46340 (x + yb + 4) / 65536), sy = −1 + floor(46340 (yb − x) / 65536): the
    // source is inside where yb − x >= 2, i.e. x <= 9 − y.
    {120, 20, 12, 50, "hinge at the bottom left, the picture above the diagonal",
     Wedge(20, {10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 0}, false)},
    // sx = x + 1, sy = yb: the last column's source lies right of the picture.
    {120, 20, 12, 99, "0.9 degrees: each pixel shows its right-hand neighbour",
     Rows(12, std::string(19, 'N') + "o")},
    // Inside where x + yb <= 8.
    {121, 20, 12, 50, "hinge at the top left, the picture below the diagonal",
     Wedge(20, {0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, false)},
    // Inside where x + yb >= 19.
    {122, 20, 12, 50, "hinge at the bottom right", Wedge(20, {12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, true)},
    // Inside where x − yb >= 9.
    {123, 20, 12, 50, "hinge at the top right", Wedge(20, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true)},
    // sx = x, sy = yb + 1: the top row's source lies above the picture.
    {123, 20, 12, 99, "0.9 degrees: each pixel shows the one above it",
     Wedge(20, {0, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20, 20}, true)},
};

TEST(PivotsTest, FramesMatchHandWorkedMaps) {
  for (const TCase& c : kCases) {
    SCOPED_TRACE("style " + std::to_string(c.Style) + ", " + std::to_string(c.W) + " x " +
                 std::to_string(c.H) + " at " + std::to_string(c.Progress) + ": " + c.Why);
    EXPECT_EQ(testing::Map(testing::Frame(c.Style, c.W, c.H, c.Progress)), c.Expected);
  }
}

TEST(PivotsTest, MovedPixelsComeFromTheTurnedSource) {
  struct TPixel {
    int Style, Progress, X, Y, SourceX, SourceY;
  };
  const TPixel pixels[] = {
      // yb = 11: sx = −1 + floor(695100 / 65536) = 9, sy = −1 + floor(509740 / 65536) = 6.
      {120, 50, 0, 0, 9, 5},
      // yb = 8: sx = −1 + floor(468979 / 65536) = 6, sy = −1 + floor(648067 / 65536) = 8.
      {120, 99, 5, 3, 6, 3},
      // yb = 8: sx = 20 + floor(−920465 / 65536) = 5, sy = 12 + floor(−182175 / 65536) = 9.
      {123, 99, 5, 3, 5, 2},
  };
  for (const TPixel& p : pixels) {
    const raster::Bitmap frame = testing::Frame(p.Style, 20, 12, p.Progress);
    const testing::TSource source = testing::SourceOf(frame.pixel(p.X, p.Y));
    EXPECT_EQ(source.Picture, 'n') << p.Style << " at " << p.Progress;
    EXPECT_EQ(source.X, p.SourceX) << p.Style << " at " << p.Progress;
    EXPECT_EQ(source.Y, p.SourceY) << p.Style << " at " << p.Progress;
  }
}

// The turn pixel by pixel, each destination pixel tested on its own, against the frames that split
// every row where its source leaves the picture: at every progress, on sizes where the runs start
// and end anywhere.
TEST(PivotsTest, MatchesThePixelByPixelTurnAtEveryProgress) {
  struct THinge {
    int Style;
    bool Right, Top;  // hinge beyond the right edge / above the picture, in bottom-up rows
    int Sign;         // of the angle
  };
  const THinge hinges[] = {{120, false, false, 1}, {121, false, true, -1}, {122, true, false, -1},
                           {123, true, true, 1}};
  const raster::Size sizes[] = {{1, 1}, {2, 5}, {7, 3}, {20, 12}, {12, 20}, {37, 23}};
  for (const raster::Size size : sizes) {
    const int w = size.Width;
    const int h = size.Height;
    for (const THinge& hinge : hinges) {
      const std::int64_t PX = hinge.Right ? w : -1;
      const std::int64_t PY = hinge.Top ? h : -1;
      for (int progress = 1; progress < 100; ++progress) {
        const long double angle = static_cast<long double>(hinge.Sign * (100 - progress)) *
                                  std::numbers::pi_v<long double> / 200.0L;
        const auto S = static_cast<std::int64_t>(std::trunc(std::sin(-angle) * 65536.0L));
        const auto C = static_cast<std::int64_t>(std::trunc(std::cos(-angle) * 65536.0L));
        const raster::Bitmap frame = testing::Frame(hinge.Style, w, h, progress);
        for (int y = 0; y < h; ++y) {
          for (int x = 0; x < w; ++x) {
            const std::int64_t yb = h - 1 - y;
            const std::int64_t dx = x + 1 - PX;
            const std::int64_t dy = yb + 1 - PY;
            const std::int64_t sx = PX + ((dx * C - dy * S) >> 16);
            const std::int64_t sy = PY + ((dx * S + dy * C) >> 16);
            const bool inside = sx >= 0 && sx < w && sy >= 0 && sy < h;
            const raster::Pixel expected =
                inside ? testing::NewPixel(static_cast<int>(sx), static_cast<int>(h - 1 - sy))
                       : testing::OldPixel(x, y);
            ASSERT_EQ(frame.pixel(x, y), expected)
                << "style " << hinge.Style << ", " << w << " x " << h << " at " << progress
                << ", pixel " << x << ", " << y;
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace pavona::effects
