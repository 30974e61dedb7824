#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/files.h"
#include "platform/headless/headless_backend.h"
#include "pictures/png_writer.h"
#include "test_folder.h"

namespace pavona::app {
namespace {

using platform::headless::THeadlessBackend;
namespace vk = platform::vk;

constexpr raster::Pixel kRed = raster::MakePixel(255, 0, 0);
constexpr raster::Pixel kGreen = raster::MakePixel(0, 255, 0);
constexpr raster::Pixel kBlue = raster::MakePixel(0, 0, 255);
constexpr raster::Pixel kWhite = raster::MakePixel(255, 255, 255);
constexpr raster::Pixel kGray = raster::MakePixel(128, 128, 128);

// A viewer on the headless backend whose working folder holds five one-colour slides; the list
// and the wrapping are set as the startup sequence would set them.
class Navigation : public ::testing::Test {
 protected:
  Navigation() : FBackend({64, 48}) {
    FEnv.Set("TMP", FScratch.Path());
    FForm = std::make_unique<TMainForm>(FBackend);
    const raster::Pixel colours[] = {kRed, kGreen, kBlue, kWhite, kGray};
    for (int i = 0; i < 5; ++i) {
      raster::Bitmap slide(8, 6);
      slide.fill(colours[i]);
      pictures::WritePngFile(FScratch / ("Pavona/" + std::to_string(i) + ".png"), slide);
    }
    FForm->Show();
  }

  // Sets the list ("missing" names no file) and shows slide 0 to its end.
  void Start(std::vector<std::string> names, bool looped) {
    FForm->ImageList = std::make_unique<std::vector<std::string>>(std::move(names));
    FForm->IsLooped = looped;
    FForm->ImageIndex = 0;
    // Through the loop, so that a failure goes to the error hook as it would at startup.
    FBackend.Loop().Post([this] { FForm->ShowSlide(0); });
    Settle();
  }

  // Runs the transitions that are under way to their ends and everything that follows.
  void Settle() {
    FBackend.RunUntilIdle();
    for (int guard = 0; guard < 100 && FBackend.FireFrameTimers() > 0; ++guard) {
      FBackend.RunUntilIdle();
    }
    FBackend.RunUntilIdle();
  }

  // The colour in the middle of the screen.
  raster::Pixel Shown() const { return FBackend.Window().Screen().pixel(32, 24); }

  testing::ScratchFolder FScratch;
  testing::EnvironmentGuard FEnv;
  THeadlessBackend FBackend;
  std::unique_ptr<TMainForm> FForm;
};

TEST_F(Navigation, ShowsSlidesScaledToTheWholeWindow) {
  Start({"0.png", "1.png"}, true);
  EXPECT_EQ(Shown(), kRed);
  EXPECT_EQ(FBackend.Window().Screen().pixel(0, 0), kRed);
  EXPECT_EQ(FBackend.Window().Screen().pixel(63, 47), kRed);
  FBackend.PressKey(vk::Right);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 1);
  EXPECT_EQ(Shown(), kGreen);
}

struct MoveCase {
  const char* name;
  bool looped;
  std::int32_t from;
  bool forward;
  std::int32_t expected;
};

class Moves : public Navigation, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(Moves, WrapOrClampAtTheEnds) {
  const MoveCase& c = GetParam();
  Start({"0.png", "1.png", "2.png"}, c.looped);
  const raster::Pixel colours[] = {kRed, kGreen, kBlue};
  if (c.from != 0) {
    FForm->ImageIndex = c.from;
    FForm->ShowSlide(c.from);
    Settle();
  }
  const int uploads = FBackend.Window().UploadCount();
  FBackend.PressKey(c.forward ? vk::Right : vk::Left);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, c.expected);
  EXPECT_EQ(Shown(), colours[c.expected]);
  if (c.from == c.expected) {
    EXPECT_EQ(FBackend.Window().UploadCount(), uploads);  // nothing was shown again
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Moves,
    ::testing::Values(MoveCase{"ForwardInside", true, 0, true, 1},
                      MoveCase{"BackInside", false, 2, false, 1},
                      MoveCase{"ForwardWrapsToTheFirst", true, 2, true, 0},
                      MoveCase{"BackWrapsToTheLast", true, 0, false, 2},
                      MoveCase{"ForwardStaysOnTheLast", false, 2, true, 2},
                      MoveCase{"BackStaysOnTheFirst", false, 0, false, 0}),
    [](const ::testing::TestParamInfo<MoveCase>& info) { return std::string(info.param.name); });

struct InputCase {
  const char* name;
  bool mouse;
  int code;  // key code or mouse button
  std::int32_t delta;  // index change from slide 2 of 5
  bool stopsTimer;
};

class Inputs : public Navigation, public ::testing::WithParamInterface<InputCase> {};

TEST_P(Inputs, MoveTheIndexAndStopTheSlideTimer) {
  const InputCase& c = GetParam();
  Start({"0.png", "1.png", "2.png", "3.png", "4.png"}, true);
  FForm->ImageIndex = 2;
  FForm->zTimer->SetInterval(5000);
  FForm->zTimer->SetEnabled(true);
  if (c.mouse) {
    FBackend.ClickMouse(static_cast<platform::TMouseButton>(c.code), 0, 10, 10);
  } else {
    FBackend.PressKey(static_cast<platform::TVirtualKey>(c.code));
  }
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 2 + c.delta);
  EXPECT_EQ(FForm->zTimer->Enabled(), !c.stopsTimer);
  EXPECT_FALSE(FBackend.Loop().Terminated());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Inputs,
    ::testing::Values(InputCase{"Enter", false, vk::Return, 1, true},
                      InputCase{"Space", false, vk::Space, 1, true},
                      InputCase{"Up", false, vk::Up, 1, true},
                      InputCase{"Right", false, vk::Right, 1, true},
                      InputCase{"Backspace", false, vk::Back, -1, true},
                      InputCase{"Left", false, vk::Left, -1, true},
                      InputCase{"Down", false, vk::Down, -1, true},
                      InputCase{"LetterA", false, 'A', 0, false},
                      InputCase{"Tab", false, vk::Tab, 0, false},
                      InputCase{"PageDown", false, vk::Next, 0, false},
                      InputCase{"LeftButton", true, platform::mbLeft, 1, true},
                      InputCase{"RightButton", true, platform::mbRight, -1, true},
                      InputCase{"MiddleButton", true, platform::mbMiddle, 0, true}),
    [](const ::testing::TestParamInfo<InputCase>& info) { return std::string(info.param.name); });

TEST_F(Navigation, EscapeEndsTheProgramWithoutTouchingTheSlideTimer) {
  Start({"0.png", "1.png"}, true);
  FForm->zTimer->SetEnabled(true);
  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  FBackend.PressKey(vk::Right);  // the loop has ended: never handled
  FBackend.RunUntilIdle();
  EXPECT_TRUE(FForm->zTimer->Enabled());
  EXPECT_EQ(FForm->ImageIndex, 0);
}

TEST_F(Navigation, TheSlideTimerAdvancesUntilTheFirstManualMove) {
  Start({"0.png", "1.png", "2.png"}, true);
  FForm->zTimer->SetInterval(5000);
  FForm->zTimer->SetEnabled(true);
  FBackend.AdvanceTime(5000);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 1);
  EXPECT_EQ(Shown(), kGreen);
  FBackend.AdvanceTime(5000);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 2);
  FBackend.ClickMouse(platform::mbMiddle);
  Settle();
  FBackend.AdvanceTime(50000);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 2);
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(Navigation, ATickCutsTheRunningTransitionShort) {
  Start({"0.png", "1.png", "2.png"}, true);
  FForm->zTimer->SetInterval(10);
  FForm->zTimer->SetEnabled(true);
  FBackend.AdvanceTime(10);
  FBackend.RunUntilIdle();
  FBackend.FireFrameTimers();  // slide 1 is a few frames in
  FBackend.FireFrameTimers();
  EXPECT_TRUE(FForm->Image->Busy());
  FBackend.AdvanceTime(10);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 2);
  EXPECT_EQ(Shown(), kBlue);
}

TEST_F(Navigation, KeyRepeatsAndBothPressesOfADoubleClickCount) {
  Start({"0.png", "1.png", "2.png", "3.png", "4.png"}, true);
  FBackend.PressKey(vk::Right);
  FBackend.PressKey(vk::Right);
  FBackend.PressKey(vk::Right);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 3);
  FBackend.DoubleClick(platform::mbRight);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 1);
  FBackend.DoubleClick(platform::mbLeft);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 3);
  EXPECT_EQ(Shown(), kWhite);
}

TEST_F(Navigation, AnEmptyListFailsQuietly) {
  Start({}, true);  // showing slide 0 fails already
  ::testing::internal::CaptureStderr();
  FBackend.PressKey(vk::Right);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 0);
  FBackend.PressKey(vk::Left);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, -1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

  FForm->IsLooped = false;
  FForm->ImageIndex = 0;
  FBackend.PressKey(vk::Right);
  FBackend.PressKey(vk::Left);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 0);
  EXPECT_FALSE(FBackend.Loop().Terminated());
}

TEST_F(Navigation, ErrorsInAKeyHandlerAreDiscardedAndTheNextKeyWorks) {
  // No slide list at all: every navigation stops at its first use of the list.
  FForm->zTimer->SetEnabled(true);
  ::testing::internal::CaptureStderr();
  FBackend.PressKey(vk::Right);
  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  EXPECT_FALSE(FForm->zTimer->Enabled());  // the timer was disabled before the failure
}

TEST_F(Navigation, AMissingFileKeepsThePreviousPicture) {
  Start({"0.png", "missing.png", "folder/2.png", "2.png"}, true);
  FBackend.PressKey(vk::Right);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 1);
  EXPECT_EQ(Shown(), kRed);
  EXPECT_FALSE(FForm->Image->Busy());
  FBackend.PressKey(vk::Right);  // folder parts name no extracted file
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 2);
  EXPECT_EQ(Shown(), kRed);
  FBackend.PressKey(vk::Right);
  Settle();
  EXPECT_EQ(FForm->ImageIndex, 3);
  EXPECT_EQ(Shown(), kBlue);
}

}  // namespace
}  // namespace pavona::app
