// The "Style" setting: which transition the viewer plays at each slide change.
#include "show_fixture.h"

#include <set>

#include "effects/effect_table.h"

namespace pavona::e2e {
namespace {

namespace vk = platform::vk;

class Style : public ShowTest {
 public:
  // Starts a show of two slides with the given extra settings.
  void StartWith(const std::string& elements) {
    Picture("a.png", kRed);
    Picture("b.png", kGreen);
    Settings("<List>a.png,b.png</List>" + elements);
    Zip({"a.png", "b.png", "pavona.xml"});
    Start();
  }

  // The screen three frames into the change from the first slide to the second.
  std::vector<raster::Pixel> FrameIntoSecondSlide(const std::string& elements) {
    StartWith(elements);
    FBackend.PressKey(vk::Right);
    FBackend.RunUntilIdle();
    for (int i = 0; i < 3; ++i) {
      FBackend.FireFrameTimers();
      FBackend.RunUntilIdle();
    }
    const raster::Bitmap& screen = FBackend.Window().Screen();
    std::vector<raster::Pixel> pixels;
    for (int y = 0; y < screen.height(); ++y) {
      pixels.insert(pixels.end(), screen.scanline(y), screen.scanline(y) + screen.width());
    }
    FForm.reset();
    return pixels;
  }
};

struct StyleCase {
  const char* name;
  const char* elements;
  int style;
};

class FixedStyle : public Style, public ::testing::WithParamInterface<StyleCase> {};

TEST_P(FixedStyle, EverySlideChangeUsesTheStyleTheSettingNames) {
  StartWith(GetParam().elements);
  EXPECT_EQ(FForm->Image->Style(), GetParam().style);
  for (int i = 0; i < 3; ++i) {
    Press(vk::Right);
    EXPECT_EQ(FForm->Image->Style(), GetParam().style);
  }
  EXPECT_EQ(Shown(), kGreen);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, FixedStyle,
    ::testing::Values(StyleCase{"Missing", "", 119}, StyleCase{"Empty", "<Style></Style>", 119},
                      StyleCase{"Number", "<Style>7</Style>", 7},
                      StyleCase{"Last", "<Style>176</Style>", 176},
                      StyleCase{"NameAnyCase", "<Style>FADE</Style>", 119},
                      StyleCase{"Zero", "<Style>0</Style>", 119},
                      StyleCase{"TooLarge", "<Style>177</Style>", 119},
                      StyleCase{"Garbage", "<Style>sparkles</Style>", 119},
                      StyleCase{"Blanks", "<Style> 7</Style>", 119}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Style, ANameSelectsItsRow) {
  StartWith(std::string("<Style>") + effects::EffectTable[41].Name + "</Style>");
  EXPECT_EQ(FForm->Image->Style(), 42);
}

TEST_F(Style, RandomNeverRepeatsAStyleAndFollowsItsSeed) {
  const auto run = [&](std::uint32_t seed) {
    Picture("a.png", kRed);
    Picture("b.png", kGreen);
    Settings("<List>a.png,b.png</List><Style>Random</Style>");
    Zip({"a.png", "b.png", "pavona.xml"});
    FForm = std::make_unique<app::TMainForm>(
        FBackend, ShowPath(), std::make_unique<TForwardingMediaDevice>(FDevice), seed);
    FForm->Show();
    Settle();
    std::vector<int> styles = {FForm->Image->Style()};
    for (int i = 1; i < 50; ++i) {
      Press(i % 2 == 0 ? vk::Right : vk::Left);
      styles.push_back(FForm->Image->Style());
    }
    FForm.reset();
    return styles;
  };
  const std::vector<int> styles = run(5);
  for (std::size_t i = 1; i < styles.size(); ++i) {
    EXPECT_NE(styles[i], styles[i - 1]) << "change " << i;
  }
  for (const int style : styles) {
    EXPECT_GE(style, 1);
    EXPECT_LE(style, 176);
  }
  EXPECT_GT(std::set<int>(styles.begin(), styles.end()).size(), 30u);
  EXPECT_EQ(run(5), styles);
}

// A value that names no style plays exactly as a show without the setting.
TEST_F(Style, AnUnknownValueDrawsTheFadeFramesOfAShowWithoutIt) {
  const std::vector<raster::Pixel> plain = FrameIntoSecondSlide("");
  const std::vector<raster::Pixel> garbage = FrameIntoSecondSlide("<Style>blinds?</Style>");
  EXPECT_EQ(garbage, plain);
  const std::vector<raster::Pixel> wipe = FrameIntoSecondSlide("<Style>1</Style>");
  EXPECT_NE(wipe, plain);
}

}  // namespace
}  // namespace pavona::e2e
