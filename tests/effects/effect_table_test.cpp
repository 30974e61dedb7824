// The effect table and the frame routine, for every style: the contract every effect keeps, and
// the frames at 0 and 100 that never reach an effect.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "effects/effect_table.h"
#include "raster/surface.h"
#include "transition/frame_renderer.h"
#include "transition/random.h"

namespace pavona::effects {
namespace {

using transition::TShowStyle;

TEST(EffectTableTest, HoldsTheStyleNames) {
  ASSERT_EQ(EffectTable.size(), 176u);
  EXPECT_STREQ(EffectTable[0].Name, "Expand from right");
  EXPECT_STREQ(EffectTable[118].Name, "Fade");
  EXPECT_STREQ(EffectTable[175].Name, "Slide out from top");
  // Two names occur twice; lookups find the lower style.
  EXPECT_STREQ(EffectTable[17].Name, EffectTable[32].Name);
  EXPECT_STREQ(EffectTable[24].Name, EffectTable[33].Name);
  for (const auto& row : EffectTable) EXPECT_NE(std::string(row.Name), "");
}

// A picture whose every pixel differs, so that moved or mirrored blocks show.
raster::Bitmap Pattern(int w, int h, std::uint32_t salt) {
  raster::Bitmap bitmap(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      bitmap.set_pixel(x, y, (static_cast<std::uint32_t>(x * 7 + y * 131) * 2654435761u) ^ salt);
    }
  }
  return bitmap;
}

class EveryStyleTest : public ::testing::TestWithParam<int> {};

TEST_P(EveryStyleTest, KeepsTheEffectContract) {
  const auto style = static_cast<TShowStyle>(GetParam());
  constexpr int kW = 37;
  constexpr int kH = 23;
  const raster::Bitmap oldPic = Pattern(kW, kH, 0x11111111u);
  const raster::Bitmap pic = Pattern(kW, kH, 0xEEEEEEEEu);
  const raster::Bitmap picBefore = pic.clone();
  raster::Bitmap display(kW, kH);

  for (int progress : {0, 1, 33, 50, 99, 100}) {
    transition::ComposeFrame(display, oldPic, pic, style, static_cast<transition::TPercent>(progress),
                            EffectTable, 7);
    SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(progress));
    EXPECT_FALSE(raster::Surface(display).has_clip());
    EXPECT_EQ(display.drawing_state().origin, (raster::Point{0, 0}));
    ASSERT_EQ(std::memcmp(pic.data(), picBefore.data(), pic.byte_count()), 0) << "Image changed";
    const raster::Bitmap* exact = progress == 0 ? &oldPic : progress == 100 ? &pic : nullptr;
    if (exact != nullptr) {
      EXPECT_EQ(std::memcmp(display.data(), exact->data(), display.byte_count()), 0);
    }
  }
}

// A row that says its effect draws every pixel gets a frame full of leftovers and the starting
// picture only as Start; its frames must equal those drawn over a refilled frame. A seeded row
// draws the same frame from the same seed and leaves the caller's seed alone.
TEST_P(EveryStyleTest, KeepsTheFlagsOfItsRow) {
  const auto style = static_cast<TShowStyle>(GetParam());
  const transition::TEffect& row = EffectTable[style - 1];
  constexpr int kW = 29;
  constexpr int kH = 17;
  const raster::Bitmap oldPic = Pattern(kW, kH, 0x11111111u);
  const raster::Bitmap pic = Pattern(kW, kH, 0xEEEEEEEEu);
  for (int progress : {1, 33, 50, 99}) {
    SCOPED_TRACE("style " + std::to_string(style) + " at " + std::to_string(progress));
    raster::Bitmap leftovers(kW, kH);
    leftovers.fill(0x5A5A5A5Au);
    raster::Bitmap refilled(kW, kH);
    const auto percent = static_cast<transition::TPercent>(progress);
    transition::RandomSeed = 99;
    transition::DrawFrame(leftovers, oldPic, pic, pic.bounds(), style, percent, EffectTable, 7);
    const std::uint32_t seedAfter = transition::RandomSeed;
    transition::RandomSeed = 99;
    transition::TFrameHooks refill;
    refill.BeforeDraw = [] {};
    transition::DrawFrame(refilled, oldPic, pic, pic.bounds(), style, percent, EffectTable, 7,
                          refill);
    EXPECT_EQ(std::memcmp(leftovers.data(), refilled.data(), refilled.byte_count()), 0);
    if (row.Seeded()) {
      EXPECT_EQ(seedAfter, 99u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Styles, EveryStyleTest, ::testing::Range(1, 177));

}  // namespace
}  // namespace pavona::effects
