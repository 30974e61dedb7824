// Styles 168 to 172, the pixel effects: the zoom of the pixelate effect with its cross-fade, and
// the dissolve, random bars and channel mix, whose draws come from the transition's seed and walk
// the pixel store bottom row first.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "effects/effect_table.h"
#include "raster/bitmap.h"
#include "tests/effects/effect_frames.h"
#include "transition/frame_renderer.h"
#include "transition/random.h"

namespace pavona::effects {
namespace {

using testing::Frame;
using testing::Map;
using testing::SourceOf;
using testing::TSource;

// The frame of style at progress from two pictures of one's own.
raster::Bitmap FrameOf(int style, const raster::Bitmap& oldPic, const raster::Bitmap& pic,
                       int progress, std::uint32_t seed) {
  raster::Bitmap display(pic.width(), pic.height());
  transition::ComposeFrame(display, oldPic, pic, static_cast<transition::TShowStyle>(style),
                           static_cast<transition::TPercent>(progress), EffectTable, seed);
  return display;
}

std::vector<int> Runs(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<int> out;
  for (const auto& [count, value] : runs) out.insert(out.end(), count, value);
  return out;
}

// Which source pixel each column and row of the frame shows: the stretch takes the source pixel
// under each destination pixel's centre, j = floor((2i + 1) × sw / (2 × dw)).
struct TZoomCase {
  int W, H, Progress;
  char Picture;  // 'o' or 'n': the picture the block comes from (a blend shows as 'o')
  std::vector<int> Columns, Rows;
};

TEST(PixelateTest, StretchesTheCentralBlockOverTheFrame) {
  const TZoomCase cases[] = {
      // X = 5, Y = 3, k = 139, xs = 7, ys = 4, sw = 6, sh = 4 onto (−14, −8, 48 × 28).
      {20, 12, 25, 'o', Runs({{2, 8}, {8, 9}, {8, 10}, {2, 11}}), Runs({{6, 5}, {6, 6}})},
      // k = 106, xs = 10, ys = 5, sw and sh raised from 0 to 2; blended at 25 percent.
      {20, 12, 45, 'o', Runs({{10, 10}, {10, 11}}), Runs({{6, 5}, {6, 6}})},
      // k = 98, xs = 10, ys = 6: the deepest zoom, 2 × 2 pixels.
      {20, 12, 50, 'o', Runs({{10, 10}, {10, 11}}), Runs({{6, 6}, {6, 7}})},
      // a = W − X = 10, k = 100: the same block from the blended frame.
      {20, 12, 51, 'o', Runs({{10, 10}, {10, 11}}), Runs({{6, 6}, {6, 7}})},
      // a = 8, b = 5, k = 114, xs = 9, ys = 6; past the cross-fade, from the new picture.
      {20, 12, 60, 'n', Runs({{10, 9}, {10, 10}}), Runs({{6, 6}, {6, 7}})},
      // a = 5, b = 3, k = 139: the mirror of progress 25 in the new picture.
      {20, 12, 75, 'n', Runs({{2, 8}, {8, 9}, {8, 10}, {2, 11}}), Runs({{6, 5}, {6, 6}})},
      // Y = 5, X = 3 on the tall picture: xs = 4, ys = 7, sw = 4, sh = 6.
      {12, 20, 25, 'o', Runs({{6, 5}, {6, 6}}), Runs({{2, 8}, {8, 9}, {8, 10}, {2, 11}})},
  };
  for (const TZoomCase& c : cases) {
    const raster::Bitmap frame = Frame(168, c.W, c.H, c.Progress);
    for (int y = 0; y < c.H; ++y) {
      for (int x = 0; x < c.W; ++x) {
        const TSource s = SourceOf(frame.pixel(x, y));
        ASSERT_EQ(s.Picture, c.Picture) << c.W << " x " << c.H << " at " << c.Progress;
        ASSERT_EQ(s.X, c.Columns[x]) << "column " << x << " at " << c.Progress;
        ASSERT_EQ(s.Y, c.Rows[y]) << "row " << y << " at " << c.Progress;
      }
    }
  }
}

TEST(PixelateTest, FullSizeZoom) {
  struct TProbe {
    int Progress, X, Y;
    TSource Expected;
  };
  const TProbe probes[] = {
      // k = 139, xs = 139, ys = 104, sw = 122, sh = 92 onto (−278, −208, 956 × 716): the
      // centre stays in place.
      {25, 0, 0, {'o', 174, 130}}, {25, 200, 150, {'o', 200, 150}},
      // xs = 196, ys = 147, sw = 8, sh = 6 onto (−392, −294, 1184 × 888): blocks of 148 × 148
      // pixels, the middle ones meeting at (200, 150).
      {50, 0, 0, {'o', 198, 148}}, {50, 51, 1, {'o', 198, 148}}, {50, 52, 2, {'o', 199, 149}},
      {50, 200, 150, {'o', 200, 150}}, {50, 347, 297, {'o', 200, 150}},
      {50, 348, 298, {'o', 201, 151}}, {50, 399, 299, {'o', 201, 151}},
      // X = 204: a = W − X = 196 and k = 100 give the same xs = 196, now from the blend.
      {51, 0, 0, {'o', 198, 148}}, {51, 348, 298, {'o', 201, 151}},
  };
  for (const TProbe& p : probes) {
    const TSource s = SourceOf(Frame(168, 400, 300, p.Progress).pixel(p.X, p.Y));
    EXPECT_EQ(s.Picture, p.Expected.Picture) << p.X << ", " << p.Y << " at " << p.Progress;
    EXPECT_EQ(s.X, p.Expected.X) << p.X << ", " << p.Y << " at " << p.Progress;
    EXPECT_EQ(s.Y, p.Expected.Y) << p.X << ", " << p.Y << " at " << p.Progress;
  }
}

// The pictures differ only in red (0 old, 200 new) and the fourth byte, so a frame's red byte is
// the cross-fade's weight w: floor(200 × w / 256).
TEST(PixelateTest, CrossFadesAtTheDeepestZoom) {
  raster::Bitmap oldPic(20, 12);
  raster::Bitmap pic(20, 12);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 20; ++x) {
      oldPic.set_pixel(x, y, 0x5A000000u | raster::MakePixel(0, static_cast<std::uint8_t>(y),
                                                              static_cast<std::uint8_t>(x)));
      pic.set_pixel(x, y, 0xC3000000u | raster::MakePixel(200, static_cast<std::uint8_t>(y),
                                                           static_cast<std::uint8_t>(x)));
    }
  }
  struct TCase {
    int Progress;
    raster::Pixel FourthByte;
    std::uint32_t Red;
  };
  const TCase cases[] = {
      {40, 0x5A, 0},  {41, 0x5A, 10},  // 5 percent: w = 13
      {45, 0x5A, 50},                  // 25: w = 64
      {50, 0x5A, 100}, {51, 0x5A, 110},  // 50 and 55: w = 128 and 141
      {59, 0x5A, 189},                 // 95: w = 243
      {60, 0xC3, 200},
  };
  for (const TCase& c : cases) {
    const raster::Bitmap frame = FrameOf(168, oldPic, pic, c.Progress, 7);
    for (std::size_t i = 0; i < frame.pixel_count(); ++i) {
      ASSERT_EQ(frame.data()[i] >> 24, c.FourthByte) << "at " << c.Progress;
      ASSERT_EQ((frame.data()[i] >> 16) & 0xFF, c.Red) << "at " << c.Progress;
    }
  }
}

// 3 × 2 at 50: X = 2, Y = 1, xs = 2, ys = 1, and the block raised to 2 × 2 reaches past the
// picture. Only the blended part inside is blended, only pixel (0, 0) has a source inside the
// picture, and the other pixels keep the starting picture although the frame was not refilled.
TEST(PixelateTest, TinyPicturesKeepTheirStartWhereTheBlockReachesOut) {
  EXPECT_EQ(Map(Frame(168, 3, 2, 50)), (std::vector<std::string>{"Ooo", "ooo"}));
  const TSource s = SourceOf(Frame(168, 3, 2, 50).pixel(0, 0));
  EXPECT_EQ(s.X, 2);
  EXPECT_EQ(s.Y, 1);
  for (int progress = 1; progress < 100; ++progress) {
    EXPECT_EQ(Map(Frame(168, 1, 1, progress)), (std::vector<std::string>{"o"})) << progress;
  }
}

struct TRandomCase {
  int Style, W, H, Progress;
  std::vector<std::string> Rows;
};

// From seed 7 NextRandom(100) gives 21, 83, 25, 69, 6, 20, 22, 63, 74, 2, 83, 64, 46, 37, 69,
// 66, 7, 21, 64, 91, …
TEST(RandomPixelsTest, SmallFramesFromTheTransitionSeed) {
  const std::string barsAt50 = "nononnnoonoonnoonnoo";
  const TRandomCase cases[] = {
      // 4 × 3, the bottom row first: row 2 draws 21, 83, 25, 69; row 1 6, 20, 22, 63; row 0
      // 74, 2, 83, 64.
      {169, 4, 3, 21, {"onoo", "nnoo", "oooo"}},
      {169, 4, 3, 22, {"onoo", "nnoo", "nooo"}},
      {169, 4, 3, 70, {"onon", "nnnn", "nonn"}},
      // Rows from the bottom: row 11 draws 21, row 10 83, … row 0 64.
      {170, 20, 12, 50,
       {std::string(20, 'o'), std::string(20, 'o'), std::string(20, 'n'), std::string(20, 'o'),
        std::string(20, 'o'), std::string(20, 'n'), std::string(20, 'n'), std::string(20, 'n'),
        std::string(20, 'o'), std::string(20, 'n'), std::string(20, 'o'), std::string(20, 'n')}},
      // Columns from the left.
      {171, 20, 12, 50, std::vector<std::string>(12, barsAt50)},
      {171, 12, 20, 50, std::vector<std::string>(20, barsAt50.substr(0, 12))},
      {171, 12, 20, 21, std::vector<std::string>(20, "oooonnooonoo")},  // 21 is not below 21
  };
  for (const TRandomCase& c : cases) {
    EXPECT_EQ(Map(Frame(c.Style, c.W, c.H, c.Progress, 7)), c.Rows)
        << "style " << c.Style << ", " << c.W << " x " << c.H << " at " << c.Progress;
  }
}

// Larger dissolves against the plain walk of the store, one NextRandom(100) a pixel, on sizes
// that do and do not fill the generator's interleaved rounds.
TEST(RandomPixelsTest, DissolveFollowsTheGeneratorOverTheWholeStore) {
  const raster::Size sizes[] = {{20, 12}, {12, 20}, {37, 23}, {5, 3}, {1, 17}};
  for (const raster::Size size : sizes) {
    for (int progress : {1, 50, 99}) {
      const raster::Bitmap frame = Frame(169, size.Width, size.Height, progress, 0xC0FFEEu);
      const raster::Bitmap oldPic = testing::Picture(size.Width, size.Height, testing::OldPixel);
      const raster::Bitmap pic = testing::Picture(size.Width, size.Height, testing::NewPixel);
      std::uint32_t seed = 0xC0FFEEu;
      for (std::size_t i = 0; i < frame.pixel_count(); ++i) {
        seed = seed * 134775813u + 1u;
        const bool shown = ((100ull * seed) >> 32) < static_cast<std::uint64_t>(progress);
        ASSERT_EQ(frame.data()[i], shown ? pic.data()[i] : oldPic.data()[i])
            << size.Width << " x " << size.Height << " pixel " << i << " at " << progress;
      }
    }
  }
}

// A whole transition: the same seed draws the same frame, pixels of the two pictures only, and
// what has turned new stays new; another seed gives another pattern.
TEST(RandomPixelsTest, RevealsOnlyGrowOverATransition) {
  for (int style : {169, 170, 171}) {
    std::vector<std::string> previous(12, std::string(20, 'o'));
    for (int progress = 1; progress < 100; ++progress) {
      const std::vector<std::string> map = Map(Frame(style, 20, 12, progress, 99));
      ASSERT_EQ(map, Map(Frame(style, 20, 12, progress, 99))) << style;
      for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 20; ++x) {
          ASSERT_TRUE(map[y][x] == 'o' || map[y][x] == 'n') << style;
          if (previous[y][x] == 'n') {
            ASSERT_EQ(map[y][x], 'n') << "style " << style << " at " << progress;
          }
        }
      }
      previous = map;
    }
    EXPECT_NE(Map(Frame(style, 20, 12, 50, 99)), Map(Frame(style, 20, 12, 50, 12345))) << style;
  }
}

// Two pixels: one rising from 0 to 255 in every channel, one falling from 255 to 0. A blended
// byte moves by floor(±255 × w / 256).
struct TMixStage {
  int Progress;
  int Rising[3], Falling[3];  // the bytes of channels c1, c2, c3
};

TEST(ChannelMixTest, BringsTheChannelsInOneAtATime) {
  raster::Bitmap oldPic(2, 1);
  raster::Bitmap pic(2, 1);
  oldPic.set_pixel(0, 0, 0x5A000000u);
  pic.set_pixel(0, 0, 0xC3FFFFFFu);
  oldPic.set_pixel(1, 0, 0x5AFFFFFFu);
  pic.set_pixel(1, 0, 0xC3000000u);
  const TMixStage stages[] = {
      {1, {7, 0, 0}, {247, 255, 255}},       // w = 8
      {20, {154, 0, 0}, {100, 255, 255}},    // w = 155
      {33, {255, 0, 0}, {0, 255, 255}},      // w = 256: c1 is new
      {34, {255, 7, 0}, {0, 247, 255}},      // c2 at w = 8
      {50, {255, 131, 0}, {0, 123, 255}},    // w = 132
      {66, {255, 255, 0}, {0, 0, 255}},
      {67, {255, 255, 7}, {0, 0, 247}},      // c3 at w = 8
      {99, {255, 255, 255}, {0, 0, 0}},      // w = 256 already
  };
  struct TOrder {
    std::uint32_t Seed;
    int Channels[3];  // c1, c2, c3
  };
  const TOrder orders[] = {
      {7, {0, 2, 1}},   // draws 0 then 2
      {26, {2, 1, 0}},  // red then green leaves blue
      {10, {0, 2, 1}},  // draws 0, 0, 0, 2: the second channel is drawn again until it differs
  };
  for (const TOrder& order : orders) {
    for (const TMixStage& stage : stages) {
      const raster::Bitmap frame = FrameOf(172, oldPic, pic, stage.Progress, order.Seed);
      for (int i = 0; i < 3; ++i) {
        const int shift = 8 * order.Channels[i];
        EXPECT_EQ(static_cast<int>((frame.pixel(0, 0) >> shift) & 0xFF), stage.Rising[i])
            << "seed " << order.Seed << " at " << stage.Progress << ", c" << i + 1;
        EXPECT_EQ(static_cast<int>((frame.pixel(1, 0) >> shift) & 0xFF), stage.Falling[i])
            << "seed " << order.Seed << " at " << stage.Progress << ", c" << i + 1;
      }
      EXPECT_EQ(frame.pixel(0, 0) >> 24, 0x5Au);
      EXPECT_EQ(frame.pixel(1, 0) >> 24, 0x5Au);
    }
    // Over the whole transition every byte only ever moves toward the new picture.
    raster::Pixel rising = 0, falling = 0x00FFFFFFu;
    for (int progress = 1; progress < 100; ++progress) {
      const raster::Bitmap frame = FrameOf(172, oldPic, pic, progress, order.Seed);
      for (int shift = 0; shift < 24; shift += 8) {
        ASSERT_GE((frame.pixel(0, 0) >> shift) & 0xFF, (rising >> shift) & 0xFF) << progress;
        ASSERT_LE((frame.pixel(1, 0) >> shift) & 0xFF, (falling >> shift) & 0xFF) << progress;
      }
      rising = frame.pixel(0, 0);
      falling = frame.pixel(1, 0);
    }
  }
}

}  // namespace
}  // namespace pavona::effects
