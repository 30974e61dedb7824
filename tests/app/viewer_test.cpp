#include <gtest/gtest.h>

#include <fstream>

#include "app/main_form.h"
#include "app/working_folder.h"
#include "platform/files.h"
#include "platform/headless/headless_backend.h"
#include "test_folder.h"

namespace pavona::app {
namespace {

using platform::headless::THeadlessBackend;
namespace vk = platform::vk;

class Viewer : public ::testing::Test {
 protected:
  Viewer() { FEnv.Set("TMP", FScratch.Path()); }
  std::string WorkingFolder() const { return FScratch / "Pavona"; }

  testing::ScratchFolder FScratch;
  testing::EnvironmentGuard FEnv;
  THeadlessBackend FBackend;
};

TEST_F(Viewer, CreatesItsWindowAndComponentsThenTheWorkingFolder) {
  TMainForm form(FBackend);
  EXPECT_EQ(form.Window().Caption(), "Viewer");
  EXPECT_EQ(form.Window().Color(), 0u);
  ASSERT_TRUE(form.MediaPlayer && form.aAppEvents && form.zTimer && form.zPXML && form.zSHFile &&
              form.aPCInfo);
  EXPECT_EQ(form.zPXML->RootNodeName(), "Info");
  EXPECT_FALSE(form.MediaPlayer->Opened());
  EXPECT_FALSE(form.zTimer->Enabled());
  EXPECT_EQ(form.zTimer->Interval(), 1000u);
  EXPECT_EQ(form.zSHFile->Options, unsigned{fofNoConfirmation | fofSilent | fofNoErrorUI});
  EXPECT_TRUE(IsSafeWorkingFolder(WorkingFolder()));
  EXPECT_EQ(form.zSHFile->SourceFiles, std::vector<std::string>{WorkingFolder()});
}

TEST_F(Viewer, EscapeEndsTheProgramWithExitCodeZeroAndRemovesTheWorkingFolder) {
  platform::CreateDirectories(WorkingFolder() + "/left-over");
  std::ofstream(WorkingFolder() + "/left-over/old.jpg") << "x";
  FBackend.PressKey('A');
  FBackend.PressKey(vk::Escape);
  EXPECT_EQ(RunViewer(FBackend), 0);
  EXPECT_TRUE(FBackend.Window().Visible());
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, TheCloseCommandEndsTheProgramLikeEscape) {
  FBackend.Close();
  EXPECT_EQ(RunViewer(FBackend), 0);
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, TheWorkingFolderLivesUntilTheWindowIsDestroyed) {
  auto form = std::make_unique<TMainForm>(FBackend);
  form->Show();
  FBackend.PressKey(vk::Escape);
  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  EXPECT_TRUE(platform::IsDirectory(WorkingFolder()));
  form.reset();
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, ErrorsThatReachTheLoopAreDiscardedSilently) {
  TMainForm form(FBackend);
  int after = 0;
  FBackend.Loop().Post([] { throw std::runtime_error("lost"); });
  FBackend.Loop().Post([&] { ++after; });
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(FBackend.RunUntilIdle());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(after, 1);
}

// The pointer hides after two seconds at rest, on the loop's clock, and shows again at the
// first motion, which starts a new two seconds.
TEST_F(Viewer, HidesThePointerAtRestAndShowsItOnMotion) {
  TMainForm form(FBackend);
  form.Show();
  const platform::TWindow& window = form.Window();
  FBackend.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  FBackend.AdvanceTime(1999);
  FBackend.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  FBackend.AdvanceTime(1);
  FBackend.RunUntilIdle();
  EXPECT_FALSE(window.PointerVisible());

  FBackend.MoveMouse(10, 20);
  FBackend.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  FBackend.AdvanceTime(1500);
  FBackend.MoveMouse(11, 20);
  FBackend.RunUntilIdle();
  FBackend.AdvanceTime(1500);
  FBackend.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  FBackend.AdvanceTime(500);
  FBackend.RunUntilIdle();
  EXPECT_FALSE(window.PointerVisible());
  // Staying hidden is no reason to tick again and again.
  EXPECT_FALSE(form.zPointerTimer->Enabled());
}

}  // namespace
}  // namespace pavona::app
