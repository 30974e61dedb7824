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
  Viewer() { env_.Set("TMP", scratch_.Path()); }
  std::string WorkingFolder() const { return scratch_ / "Pavona"; }

  testing::ScratchFolder scratch_;
  testing::EnvironmentGuard env_;
  THeadlessBackend backend_;
};

TEST_F(Viewer, CreatesItsWindowAndComponentsThenTheWorkingFolder) {
  TMainForm form(backend_);
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
  backend_.PressKey('A');
  backend_.PressKey(vk::Escape);
  EXPECT_EQ(RunViewer(backend_), 0);
  EXPECT_TRUE(backend_.Window().Visible());
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, TheCloseCommandEndsTheProgramLikeEscape) {
  backend_.Close();
  EXPECT_EQ(RunViewer(backend_), 0);
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, TheWorkingFolderLivesUntilTheWindowIsDestroyed) {
  auto form = std::make_unique<TMainForm>(backend_);
  form->Show();
  backend_.PressKey(vk::Escape);
  backend_.PressKey(vk::Escape);
  EXPECT_TRUE(backend_.RunUntilIdle());
  EXPECT_EQ(backend_.Loop().ExitCode(), 0);
  EXPECT_TRUE(platform::IsDirectory(WorkingFolder()));
  form.reset();
  EXPECT_FALSE(platform::PathExists(WorkingFolder()));
}

TEST_F(Viewer, ErrorsThatReachTheLoopAreDiscardedSilently) {
  TMainForm form(backend_);
  int after = 0;
  backend_.Loop().Post([] { throw std::runtime_error("lost"); });
  backend_.Loop().Post([&] { ++after; });
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(backend_.RunUntilIdle());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(after, 1);
}

// The pointer hides after two seconds at rest, on the loop's clock, and shows again at the
// first motion, which starts a new two seconds.
TEST_F(Viewer, HidesThePointerAtRestAndShowsItOnMotion) {
  TMainForm form(backend_);
  form.Show();
  const platform::TWindow& window = form.Window();
  backend_.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  backend_.AdvanceTime(1999);
  backend_.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  backend_.AdvanceTime(1);
  backend_.RunUntilIdle();
  EXPECT_FALSE(window.PointerVisible());

  backend_.MoveMouse(10, 20);
  backend_.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  backend_.AdvanceTime(1500);
  backend_.MoveMouse(11, 20);
  backend_.RunUntilIdle();
  backend_.AdvanceTime(1500);
  backend_.RunUntilIdle();
  EXPECT_TRUE(window.PointerVisible());
  backend_.AdvanceTime(500);
  backend_.RunUntilIdle();
  EXPECT_FALSE(window.PointerVisible());
  // Staying hidden is no reason to tick again and again.
  EXPECT_FALSE(form.zPointerTimer->Enabled());
}

}  // namespace
}  // namespace pavona::app
