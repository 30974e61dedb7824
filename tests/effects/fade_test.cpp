// Style 119, the fade: the blend of each colour byte, its weights, and the vectorised loop
// against a plain per-byte reference on sizes that leave partial blocks.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "effects/fade.h"
#include "raster/bitmap.h"
#include "transition/mul_div.h"

namespace pavona::effects {
namespace {

// o + floor((n − o) × a / 256) per colour byte; the fourth byte stays.
raster::Pixel Reference(raster::Pixel o, raster::Pixel n, int a) {
  raster::Pixel out = o & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    const int oc = static_cast<int>((o >> shift) & 0xFF);
    const int nc = static_cast<int>((n >> shift) & 0xFF);
    out |= static_cast<raster::Pixel>(oc + (((nc - oc) * a) >> 8)) << shift;
  }
  return out;
}

raster::Pixel FadeOne(raster::Pixel o, raster::Pixel n, int progress) {
  raster::Bitmap display(1, 1);
  raster::Bitmap image(1, 1);
  raster::Bitmap start(1, 1);
  display.fill(0xDEADBEEFu);  // the fade draws every pixel: what Display held does not count
  image.fill(n);
  start.fill(o);
  Fade({display, image, start, 1, 1, 0, 0, progress});
  return display.pixel(0, 0);
}

TEST(FadeTest, BlendsEachColourByteTowardTheNewPicture) {
  struct Case {
    std::uint8_t old, now;
    int progress;
    std::uint8_t expected;
  };
  const Case cases[] = {
      {0, 255, 50, 127},   {255, 0, 50, 127},  // a = 128
      {200, 199, 1, 199},  {199, 200, 1, 199},  // a = 3: falling moves, rising stays
      {0, 255, 99, 252},   {255, 0, 99, 2},    // a = 253
      {77, 77, 37, 77},
  };
  for (const Case& c : cases) {
    for (int shift = 0; shift < 24; shift += 8) {
      const raster::Pixel o = 0x5A000000u | static_cast<raster::Pixel>(c.old) << shift;
      const raster::Pixel n = 0xC3000000u | static_cast<raster::Pixel>(c.now) << shift;
      const raster::Pixel result = FadeOne(o, n, c.progress);
      EXPECT_EQ((result >> shift) & 0xFF, c.expected)
          << int(c.old) << " -> " << int(c.now) << " at " << c.progress << ", byte " << shift / 8;
      EXPECT_EQ(result >> 24, 0x5Au) << "the fourth byte keeps the starting picture's value";
    }
  }
}

TEST(FadeTest, WeightsOfTheViewersFrames) {
  const int expected[] = {31, 61, 92, 123, 154, 184, 215, 246};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(transition::MulDiv(256, 12 * (i + 1), 100), expected[i]);
  EXPECT_EQ(transition::MulDiv(256, 1, 100), 3);
  EXPECT_EQ(transition::MulDiv(256, 99, 100), 253);
}

TEST(FadeTest, EqualColoursNeverChange) {
  for (int progress = 1; progress < 100; ++progress) {
    ASSERT_EQ(FadeOne(0x12345678u, 0x9A345678u, progress), 0x12345678u) << progress;
  }
}

TEST(FadeTest, MatchesThePerByteBlendOnEveryPixelOfOddSizes) {
  std::mt19937 random(119);
  const raster::Size sizes[] = {{1, 1}, {3, 1}, {5, 3}, {7, 9}, {64, 2}, {33, 17}};
  for (const raster::Size size : sizes) {
    for (int progress : {1, 12, 50, 87, 99, 100}) {
      raster::Bitmap display(size.Width, size.Height);
      raster::Bitmap image(size.Width, size.Height);
      for (std::size_t i = 0; i < display.pixel_count(); ++i) {
        display.data()[i] = static_cast<raster::Pixel>(random());
        image.data()[i] = static_cast<raster::Pixel>(random());
      }
      const raster::Bitmap start = display.clone();
      const raster::Bitmap before = image.clone();
      // Into a separate frame, and in place as when a frame hook makes Display the start.
      raster::Bitmap frame(size.Width, size.Height);
      Fade({frame, image, start, size.Width, size.Height, 0, 0, progress});
      Fade({display, image, display, size.Width, size.Height, 0, 0, progress});
      const int a = transition::MulDiv(256, progress, 100);
      for (std::size_t i = 0; i < display.pixel_count(); ++i) {
        const raster::Pixel expected = Reference(start.data()[i], image.data()[i], a);
        ASSERT_EQ(frame.data()[i], expected)
            << size.Width << "x" << size.Height << " pixel " << i << " at " << progress;
        ASSERT_EQ(display.data()[i], expected) << "in place, pixel " << i << " at " << progress;
        ASSERT_EQ(image.data()[i], before.data()[i]);
      }
    }
  }
}

}  // namespace
}  // namespace pavona::effects
