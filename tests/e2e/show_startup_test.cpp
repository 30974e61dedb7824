#include "show_fixture.h"

namespace pavona::e2e {
namespace {

namespace vk = platform::vk;

using Startup = ShowTest;

TEST_F(Startup, APackedShowOfTwoSlidesWrapsWithoutTimerOrSound) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  Pack("a.png b.png");
  Start();

  ASSERT_TRUE(FForm->ImageList);
  EXPECT_EQ(*FForm->ImageList, (std::vector<std::string>{"a.png", "b.png"}));
  EXPECT_TRUE(FForm->IsLooped);
  EXPECT_EQ(Shown(), kRed);
  EXPECT_FALSE(FForm->zTimer->Enabled());
  EXPECT_TRUE(FDevice.Commands().empty());
  // The store has let go of the settings file and its document.
  EXPECT_EQ(FForm->zPXML->FileName(), "");
  EXPECT_TRUE(FForm->zPXML->Xml().Root().Items.empty());

  Press(vk::Right);
  EXPECT_EQ(Shown(), kGreen);
  Press(vk::Right);
  EXPECT_EQ(Shown(), kRed);

  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  FForm.reset();
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
  EXPECT_TRUE(FDevice.Commands().empty());
}

TEST_F(Startup, PackedAutomaticAdvanceStepsEverySecondsUntilTheFirstKey) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  Picture("c.png", kBlue);
  Pack("--no-loop --seconds 5 a.png b.png c.png");
  Start();
  EXPECT_FALSE(FForm->IsLooped);
  ASSERT_TRUE(FForm->zTimer->Enabled());
  EXPECT_EQ(FForm->zTimer->Interval(), 5000u);

  FBackend.AdvanceTime(4999);
  Settle();
  EXPECT_EQ(Shown(), kRed);
  FBackend.AdvanceTime(1);
  Settle();
  EXPECT_EQ(Shown(), kGreen);

  Press(vk::Left);
  EXPECT_EQ(Shown(), kRed);
  EXPECT_FALSE(FForm->zTimer->Enabled());
  FBackend.AdvanceTime(20000);
  Settle();
  EXPECT_EQ(Shown(), kRed);
}

// "Mouse" and "Seconds" as hand-written settings: how the slide timer is armed, and whether the
// sound (which starts after the timer) still starts.
struct TimerCase {
  const char* name;
  const char* elements;
  bool enabled;
  std::uint32_t interval;
  bool sound;
};

class StartupTimer : public ShowTest, public ::testing::WithParamInterface<TimerCase> {};

TEST_P(StartupTimer, ArmsTheSlideTimerFromMouseAndSeconds) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  TextFile("tone.wav", "RIFF");
  Settings(std::string("<List>a.png,b.png</List><Sound>tone.wav</Sound>") + GetParam().elements);
  Zip({"a.png", "b.png", "tone.wav", "pavona.xml"});
  Start();

  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(FForm->zTimer->Enabled(), GetParam().enabled);
  EXPECT_EQ(FForm->zTimer->Interval(), GetParam().interval);
  EXPECT_EQ(FForm->MediaPlayer->Opened(), GetParam().sound);
  if (GetParam().enabled && GetParam().interval > 0) {
    FBackend.AdvanceTime(GetParam().interval);
    Settle();
    EXPECT_EQ(Shown(), kGreen);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, StartupTimer,
    ::testing::Values(
        TimerCase{"MouseNo", "<Mouse>NO</Mouse><Seconds>5</Seconds>", true, 5000, true},
        TimerCase{"MouseZero", "<Mouse>0</Mouse><Seconds>2</Seconds>", true, 2000, true},
        TimerCase{"MouseMaybe", "<Mouse>maybe</Mouse><Seconds>3</Seconds>", true, 3000, true},
        TimerCase{"MouseYes", "<Mouse>yes</Mouse><Seconds>5</Seconds>", false, 1000, true},
        TimerCase{"NoMouse", "<Seconds>5</Seconds>", false, 1000, true},
        TimerCase{"NoSeconds", "<Mouse>N</Mouse>", false, 1000, false},
        TimerCase{"SecondsZero", "<Mouse>N</Mouse><Seconds>0</Seconds>", true, 0, true},
        TimerCase{"SecondsHex", "<Mouse>N</Mouse><Seconds>$A</Seconds>", true, 10000, true},
        TimerCase{"SecondsTrailingSpace", "<Mouse>N</Mouse><Seconds>5 </Seconds>", false, 1000,
                  false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, APeriodOfZeroNeverTicks) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  Settings("<List>a.png,b.png</List><Mouse>N</Mouse><Seconds>0</Seconds>");
  Zip({"a.png", "b.png", "pavona.xml"});
  Start();
  ASSERT_TRUE(FForm->zTimer->Enabled());
  FBackend.AdvanceTime(100000);
  Settle();
  EXPECT_EQ(Shown(), kRed);
}

TEST_F(Startup, AFirstSlideThatFailsStopsTimerAndSoundButNotNavigation) {
  Picture("b.png", kGreen);
  TextFile("tone.wav", "RIFF");
  Settings(
      "<List>missing.png,b.png</List><Mouse>N</Mouse><Seconds>1</Seconds>"
      "<Sound>tone.wav</Sound>");
  Zip({"b.png", "tone.wav", "pavona.xml"});
  Start();

  EXPECT_EQ(Shown(), kBlack);
  EXPECT_FALSE(FForm->zTimer->Enabled());
  EXPECT_TRUE(FDevice.Commands().empty());
  Press(vk::Right);
  EXPECT_EQ(Shown(), kGreen);

  // The store still names the settings file, yet the folder goes and stays gone.
  FForm.reset();
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

// Startups that stop before there is anything to show: the window stays black and silent, and
// the working folder is removed at the end all the same.
struct EarlyStopCase {
  const char* name;
  void (*make)(ShowTest&);
  bool hasList;
};

class StartupStops : public ShowTest, public ::testing::WithParamInterface<EarlyStopCase> {};

TEST_P(StartupStops, LeavesTheWindowBlackAndRemovesTheWorkingFolder) {
  GetParam().make(*this);
  Start();
  EXPECT_EQ(Shown(), kBlack);
  EXPECT_EQ(static_cast<bool>(FForm->ImageList), GetParam().hasList);
  if (FForm->ImageList) {
    EXPECT_TRUE(FForm->ImageList->empty());
  }
  EXPECT_FALSE(FForm->zTimer->Enabled());

  Press(vk::Right);
  Press(vk::Left);
  EXPECT_EQ(Shown(), kBlack);
  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  FForm.reset();
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
  EXPECT_TRUE(FDevice.Commands().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Shows, StartupStops,
    ::testing::Values(
        EarlyStopCase{"NoPackage",
                      [](ShowTest& s) { s.Run("cp '" PAVONA_VIEWER "' '" + s.ShowPath() + "'"); },
                      false},
        EarlyStopCase{"NoSettingsFile",
                      [](ShowTest& s) {
                        s.Picture("a.png", kRed);
                        s.Zip({"a.png"});
                      },
                      true},
        EarlyStopCase{"BrokenSettingsFile",
                      [](ShowTest& s) {
                        s.Picture("a.png", kRed);
                        s.TextFile("pavona.xml", "<Info><List>a.png</Mouse></Info>");
                        s.Zip({"a.png", "pavona.xml"});
                      },
                      true},
        EarlyStopCase{"EmptyList",
                      [](ShowTest& s) {
                        s.Picture("a.png", kRed);
                        s.Settings("<Mouse>N</Mouse><Seconds>1</Seconds>");
                        s.Zip({"a.png", "pavona.xml"});
                      },
                      true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Startup, NeverExtractsThroughALinkedWorkingFolder) {
  Picture("a.png", kRed);
  Pack("a.png");
  const std::string elsewhere = FScratch / "elsewhere";
  platform::CreateDirectories(elsewhere);
  Run("ln -s '" + elsewhere + "' '" + WorkingFolder() + "'");
  Start();
  EXPECT_EQ(Shown(), kBlack);
  EXPECT_TRUE(platform::ListDirectory(elsewhere).empty());
}

}  // namespace
}  // namespace pavona::e2e
