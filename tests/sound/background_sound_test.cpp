#include "sound/background_sound.h"

#include <gtest/gtest.h>

#include "tests/sound/sound_fixture.h"

namespace pavona::sound {
namespace {

using ::testing::ElementsAre;

class BackgroundSoundTest : public SoundTest {
 protected:
  BackgroundSoundTest() {
    FPlayer->SetOnNotify([this](TMediaPlayer& sender) {
      ++FNotifications;
      RestartAtEnd(sender);
    });
  }

  // Starts the sound and lets the open's own notification through.
  void Start() {
    StartBackgroundSound(*FPlayer, Folder(), "loop.wav");
    FBackend.RunUntilIdle();
    TakeCommands();
    FNotifications = 0;
  }

  int FNotifications = 0;
};

TEST_F(BackgroundSoundTest, EmptySoundSendsNoCommandEvenAtDestruction) {
  StartBackgroundSound(*FPlayer, Folder(), "");
  FBackend.RunUntilIdle();
  FPlayer.reset();
  EXPECT_TRUE(FDevice.Commands().empty());
  EXPECT_EQ(FNotifications, 0);
}

TEST_F(BackgroundSoundTest, StartOpensWithWaitAndNotifyThenPlaysWithNotify) {
  StartBackgroundSound(*FPlayer, Folder(), "loop.wav");
  EXPECT_EQ(FPlayer->FileName(), SoundFile());
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x203", "STATUS position 0x102",
                                          "STATUS length 0x102", "PLAY 0x1"));
  EXPECT_TRUE(FDevice.IsPlaying(FPlayer->DeviceID()));
}

TEST_F(BackgroundSoundTest, OpenNotificationRestartsNothing) {
  StartBackgroundSound(*FPlayer, Folder(), "loop.wav");
  FDevice.Advance(10);
  TakeCommands();
  FBackend.RunUntilIdle();
  EXPECT_EQ(FNotifications, 1);
  EXPECT_EQ(FPlayer->NotifyValue(), TMPNotifyValues::nvSuccessful);
  EXPECT_THAT(TakeCommands(), ElementsAre("STATUS position 0x102", "STATUS length 0x102"));
}

TEST_F(BackgroundSoundTest, CompletedPassRestartsFromTheStartEveryTime) {
  Start();
  for (int pass = 1; pass <= 3; ++pass) {
    FDevice.Advance(kLength);
    FBackend.RunUntilIdle();
    EXPECT_EQ(FNotifications, pass);
    EXPECT_THAT(TakeCommands(),
                ElementsAre("STATUS position 0x102", "STATUS length 0x102",
                            "STATUS position 0x102", "STATUS length 0x102", "SEEK 0x102",
                            "PLAY 0x1"));
    EXPECT_TRUE(FDevice.IsPlaying(FPlayer->DeviceID()));
    EXPECT_EQ(FPlayer->Position(), 0);
    FDevice.ClearCommands();
  }
}

TEST_F(BackgroundSoundTest, InterruptedPlayRestartsNothing) {
  Start();
  FDevice.Advance(500);
  FPlayer->Play();  // supersedes the running play's notification
  FBackend.RunUntilIdle();
  EXPECT_EQ(FPlayer->NotifyValue(), TMPNotifyValues::nvSuperseded);
  FPlayer->Rewind();  // stops the play: its notification is aborted
  FBackend.RunUntilIdle();
  EXPECT_EQ(FPlayer->NotifyValue(), TMPNotifyValues::nvAborted);
  EXPECT_EQ(FNotifications, 2);
  EXPECT_THAT(TakeCommands(),
              ElementsAre("STATUS position 0x102", "STATUS length 0x102", "PLAY 0x1",
                          "STATUS position 0x102", "STATUS length 0x102", "SEEK 0x102",
                          "STATUS position 0x102", "STATUS length 0x102"));
  EXPECT_FALSE(FDevice.IsPlaying(FPlayer->DeviceID()));
}

TEST_F(BackgroundSoundTest, DestroyingWhilePlayingClosesTheDeviceAndDropsNotifications) {
  Start();
  FDevice.Advance(500);
  FPlayer.reset();
  EXPECT_THAT(TakeCommands(), ElementsAre("CLOSE 0x2"));
  EXPECT_EQ(FDevice.OpenDevices(), 0u);
  FBackend.RunUntilIdle();
  EXPECT_EQ(FNotifications, 0);
}

TEST_F(BackgroundSoundTest, MissingSoundFileLeavesTheSoundOff) {
  EXPECT_THROW(StartBackgroundSound(*FPlayer, Folder(), "gone.wav"), EMCIDeviceError);
  FBackend.RunUntilIdle();
  EXPECT_FALSE(FPlayer->Opened());
  EXPECT_EQ(FNotifications, 0);
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x203"));
}

}  // namespace
}  // namespace pavona::sound
