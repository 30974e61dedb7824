#include "sound/background_sound.h"

#include <gtest/gtest.h>

#include "tests/sound/sound_fixture.h"

namespace pavona::sound {
namespace {

using ::testing::ElementsAre;

class BackgroundSoundTest : public SoundTest {
 protected:
  BackgroundSoundTest() {
    player_->SetOnNotify([this](TMediaPlayer& sender) {
      ++notifications_;
      RestartAtEnd(sender);
    });
  }

  // Starts the sound and lets the open's own notification through.
  void Start() {
    StartBackgroundSound(*player_, Folder(), "loop.wav");
    backend_.RunUntilIdle();
    TakeCommands();
    notifications_ = 0;
  }

  int notifications_ = 0;
};

TEST_F(BackgroundSoundTest, EmptySoundSendsNoCommandEvenAtDestruction) {
  StartBackgroundSound(*player_, Folder(), "");
  backend_.RunUntilIdle();
  player_.reset();
  EXPECT_TRUE(device_.Commands().empty());
  EXPECT_EQ(notifications_, 0);
}

TEST_F(BackgroundSoundTest, StartOpensWithWaitAndNotifyThenPlaysWithNotify) {
  StartBackgroundSound(*player_, Folder(), "loop.wav");
  EXPECT_EQ(player_->FileName(), SoundFile());
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x203", "STATUS position 0x102",
                                          "STATUS length 0x102", "PLAY 0x1"));
  EXPECT_TRUE(device_.IsPlaying(player_->DeviceID()));
}

TEST_F(BackgroundSoundTest, OpenNotificationRestartsNothing) {
  StartBackgroundSound(*player_, Folder(), "loop.wav");
  device_.Advance(10);
  TakeCommands();
  backend_.RunUntilIdle();
  EXPECT_EQ(notifications_, 1);
  EXPECT_EQ(player_->NotifyValue(), TMPNotifyValues::nvSuccessful);
  EXPECT_THAT(TakeCommands(), ElementsAre("STATUS position 0x102", "STATUS length 0x102"));
}

TEST_F(BackgroundSoundTest, CompletedPassRestartsFromTheStartEveryTime) {
  Start();
  for (int pass = 1; pass <= 3; ++pass) {
    device_.Advance(kLength);
    backend_.RunUntilIdle();
    EXPECT_EQ(notifications_, pass);
    EXPECT_THAT(TakeCommands(),
                ElementsAre("STATUS position 0x102", "STATUS length 0x102",
                            "STATUS position 0x102", "STATUS length 0x102", "SEEK 0x102",
                            "PLAY 0x1"));
    EXPECT_TRUE(device_.IsPlaying(player_->DeviceID()));
    EXPECT_EQ(player_->Position(), 0);
    device_.ClearCommands();
  }
}

TEST_F(BackgroundSoundTest, InterruptedPlayRestartsNothing) {
  Start();
  device_.Advance(500);
  player_->Play();  // supersedes the running play's notification
  backend_.RunUntilIdle();
  EXPECT_EQ(player_->NotifyValue(), TMPNotifyValues::nvSuperseded);
  player_->Rewind();  // stops the play: its notification is aborted
  backend_.RunUntilIdle();
  EXPECT_EQ(player_->NotifyValue(), TMPNotifyValues::nvAborted);
  EXPECT_EQ(notifications_, 2);
  EXPECT_THAT(TakeCommands(),
              ElementsAre("STATUS position 0x102", "STATUS length 0x102", "PLAY 0x1",
                          "STATUS position 0x102", "STATUS length 0x102", "SEEK 0x102",
                          "STATUS position 0x102", "STATUS length 0x102"));
  EXPECT_FALSE(device_.IsPlaying(player_->DeviceID()));
}

TEST_F(BackgroundSoundTest, DestroyingWhilePlayingClosesTheDeviceAndDropsNotifications) {
  Start();
  device_.Advance(500);
  player_.reset();
  EXPECT_THAT(TakeCommands(), ElementsAre("CLOSE 0x2"));
  EXPECT_EQ(device_.OpenDevices(), 0u);
  backend_.RunUntilIdle();
  EXPECT_EQ(notifications_, 0);
}

TEST_F(BackgroundSoundTest, MissingSoundFileLeavesTheSoundOff) {
  EXPECT_THROW(StartBackgroundSound(*player_, Folder(), "gone.wav"), EMCIDeviceError);
  backend_.RunUntilIdle();
  EXPECT_FALSE(player_->Opened());
  EXPECT_EQ(notifications_, 0);
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x203"));
}

}  // namespace
}  // namespace pavona::sound
