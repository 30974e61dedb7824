#include "sound/media_player.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/sound/sound_fixture.h"

namespace pavona::sound {
namespace {

using namespace platform;
using ::testing::ElementsAre;

class MediaPlayerTest : public SoundTest {};

// The flag words of Open and of the Play after it, for the choices made before each.
TEST_F(MediaPlayerTest, WaitNotifyWordsFollowTheirRulesAndConsumeTheChoices) {
  struct Case {
    const char* name;
    std::function<void(TMediaPlayer&)> beforeOpen, beforePlay;
    std::uint32_t openFlags, playFlags;
  };
  const auto none = [](TMediaPlayer&) {};
  const Case cases[] = {
      {"defaults", none, none, 0x202, 0x1},
      {"notify before open", [](TMediaPlayer& p) { p.SetNotify(true); }, none, 0x203, 0x1},
      {"no wait before open", [](TMediaPlayer& p) { p.SetWait(false); }, none, 0x200, 0x1},
      {"notify off before open", [](TMediaPlayer& p) { p.SetNotify(false); }, none, 0x202, 0x1},
      {"no notify before play", none, [](TMediaPlayer& p) { p.SetNotify(false); }, 0x202, 0x0},
      {"wait before play", none, [](TMediaPlayer& p) { p.SetWait(true); }, 0x202, 0x3},
      {"both before play", none,
       [](TMediaPlayer& p) { p.SetWait(true); p.SetNotify(false); }, 0x202, 0x2},
      {"status leaves the choice pending", none,
       [](TMediaPlayer& p) { p.SetNotify(false); p.Position(); p.Length(); }, 0x202, 0x0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMediaPlayer player(FBackend.Loop(), FDevice);
    player.SetFileName(SoundFile());
    c.beforeOpen(player);
    player.Open();
    EXPECT_EQ(player.Flags(), c.openFlags);
    c.beforePlay(player);
    player.Play();
    EXPECT_EQ(player.Flags(), c.playFlags);
    EXPECT_EQ(player.Error(), 0);
  }
}

TEST_F(MediaPlayerTest, OpenFlagsFollowDeviceTypeFileNameAndSharing) {
  struct Case {
    TMPDeviceTypes type;
    bool withFile, shareable;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {TMPDeviceTypes::dtAutoSelect, true, false, 0x202},
      {TMPDeviceTypes::dtAutoSelect, false, false, 0x202},
      {TMPDeviceTypes::dtAutoSelect, true, true, 0x302},
      {TMPDeviceTypes::dtWaveAudio, true, false, 0x2202},
      {TMPDeviceTypes::dtWaveAudio, false, false, 0x2002},
  };
  for (const Case& c : cases) {
    TMediaPlayer player(FBackend.Loop(), FDevice);
    player.SetDeviceType(c.type);
    player.SetShareable(c.shareable);
    if (c.withFile) player.SetFileName(SoundFile());
    try {
      player.Open();
    } catch (const EMCIDeviceError&) {
    }
    EXPECT_EQ(player.Flags(), c.flags) << static_cast<int>(c.type) << c.withFile;
  }
}

TEST_F(MediaPlayerTest, FailedOpenRaisesTheDeviceTextAndStaysClosed) {
  struct Case {
    const char* file;
    MCIERROR scripted;
    MCIERROR error;
    const char* message;
  };
  const Case cases[] = {
      {"gone.wav", 0, kMediaErrFileNotFound, "The media file cannot be found."},
      {"loop.txt", 0, kMediaErrNoDeviceForFile,
       "No media device plays files with this extension."},
      {"loop.wav", kMediaErrOutputUnavailable, kMediaErrOutputUnavailable,
       "The sound output cannot be opened."},
      {"loop.wav", 9999, 9999, "Unknown error code"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    int notified = 0;
    {
      TMediaPlayer player(FBackend.Loop(), FDevice);
      player.SetOnNotify([&](TMediaPlayer&) { ++notified; });
      player.SetNotify(true);
      player.SetFileName((FFolder / c.file).string());
      if (c.scripted != 0) FDevice.FailNextOpen(c.scripted);
      try {
        player.Open();
        ADD_FAILURE() << "Open did not raise";
      } catch (const EMCIDeviceError& e) {
        EXPECT_STREQ(e.what(), c.message);
      }
      EXPECT_EQ(player.Error(), static_cast<std::int32_t>(c.error));
      EXPECT_FALSE(player.Opened());
      EXPECT_EQ(player.DeviceID(), 0);
      FBackend.RunUntilIdle();
    }
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(FDevice.Commands().size(), 1u);  // the open; the destruction sent nothing
    FDevice.ClearCommands();
  }
}

TEST_F(MediaPlayerTest, CommandsThatNeedADeviceRaiseWithoutSendingAnything) {
  const std::function<void(TMediaPlayer&)> needsDevice[] = {
      [](TMediaPlayer& p) { p.Play(); },
      [](TMediaPlayer& p) { p.Length(); },
      [](TMediaPlayer& p) { p.Rewind(); },
  };
  for (const auto& command : needsDevice) {
    try {
      command(*FPlayer);
      ADD_FAILURE() << "no error";
    } catch (const EMCIDeviceError& e) {
      EXPECT_STREQ(e.what(), "No MCI device open");
    }
  }
  FPlayer->Close();
  EXPECT_TRUE(FDevice.Commands().empty());
  // Position does not check: it asks device 0, which answers with an error.
  FPlayer->Position();
  EXPECT_THAT(TakeCommands(), ElementsAre("STATUS position 0x102"));
  EXPECT_EQ(FPlayer->Error(), static_cast<std::int32_t>(kMediaErrInvalidDevice));
}

TEST_F(MediaPlayerTest, PendingStartOrEndSkipsTheRewindAtTheEnd) {
  FPlayer->SetFileName(SoundFile());
  FPlayer->Open();
  FPlayer->Play();
  FDevice.Advance(kLength);
  TakeCommands();
  FPlayer->SetFrom(500);
  FPlayer->SetTo(1500);
  FPlayer->Play();
  EXPECT_THAT(TakeCommands(), ElementsAre("STATUS position 0x102", "STATUS length 0x102",
                                          "PLAY 0xd"));
  EXPECT_EQ(FPlayer->Position(), 500);
  FDevice.Advance(kLength);
  EXPECT_EQ(FPlayer->Position(), 1500);
}

TEST_F(MediaPlayerTest, OpenOnAnOpenPlayerClosesTheOldDeviceFirst) {
  FPlayer->SetFileName(SoundFile());
  FPlayer->Open();
  FPlayer->SetNotify(true);  // taken by the close, not by the new open
  FPlayer->Open();
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x202", "CLOSE 0x3", "OPEN 0x202"));
  EXPECT_EQ(FDevice.OpenDevices(), 1u);
  EXPECT_TRUE(FPlayer->Opened());
}

TEST_F(MediaPlayerTest, CloseEndsTheDeviceSoDestructionSendsNothing) {
  FPlayer->SetFileName(SoundFile());
  FPlayer->Open();
  FPlayer->Close();
  EXPECT_FALSE(FPlayer->Opened());
  EXPECT_EQ(FPlayer->DeviceID(), 0);
  EXPECT_EQ(FPlayer->Flags(), MCI_WAIT);
  FPlayer.reset();
  EXPECT_THAT(TakeCommands(), ElementsAre("OPEN 0x202", "CLOSE 0x2"));
}

TEST_F(MediaPlayerTest, NotificationCodesMapToNotifyValues) {
  // An unknown code keeps the previous value, but the event still fires.
  const std::pair<std::uint32_t, TMPNotifyValues> codes[] = {
      {MCI_NOTIFY_ABORTED, TMPNotifyValues::nvAborted},
      {MCI_NOTIFY_FAILURE, TMPNotifyValues::nvFailure},
      {3, TMPNotifyValues::nvFailure},
      {MCI_NOTIFY_SUPERSEDED, TMPNotifyValues::nvSuperseded},
      {MCI_NOTIFY_SUCCESSFUL, TMPNotifyValues::nvSuccessful},
  };
  int notified = 0;
  FPlayer->SetOnNotify([&](TMediaPlayer& sender) {
    EXPECT_EQ(&sender, FPlayer.get());
    ++notified;
  });
  // The player's message target, as the open's record carried it.
  FPlayer->SetNotify(true);
  FPlayer->SetFileName(SoundFile());
  FPlayer->Open();
  FBackend.RunUntilIdle();
  const TMessageTargetId target = FDevice.Commands().front().Callback;
  for (const auto& [code, value] : codes) {
    FBackend.Loop().PostToTarget(target, MM_MCINOTIFY, code, 0);
    FBackend.RunUntilIdle();
    EXPECT_EQ(FPlayer->NotifyValue(), value) << code;
  }
  EXPECT_EQ(notified, 6);
}

}  // namespace
}  // namespace pavona::sound
