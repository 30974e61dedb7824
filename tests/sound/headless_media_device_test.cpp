#include "platform/headless/media_device.h"

#include <gtest/gtest.h>

#include <functional>

#include "tests/sound/sound_fixture.h"

namespace pavona::sound {
namespace {

using namespace platform;

class HeadlessMediaDeviceTest : public SoundTest {
 protected:
  HeadlessMediaDeviceTest()
      : FTarget(FBackend.Loop(), [this](const TMessage& m) {
          if (m.Msg == MM_MCINOTIFY) FReceived.push_back(static_cast<std::uint32_t>(m.WParam));
        }) {}

  MCIDEVICEID OpenSound() {
    TMCIOpenParms parms;
    parms.ElementName = SoundFile();
    EXPECT_EQ(FDevice.Open(MCI_OPEN_ELEMENT | MCI_WAIT, parms), 0u);
    return parms.DeviceID;
  }

  std::vector<std::uint32_t> TakeNotifications() {
    FBackend.RunUntilIdle();
    return std::exchange(FReceived, {});
  }

  TMessageTarget FTarget;
  std::vector<std::uint32_t> FReceived;
};

// A play that notifies, then a command that ends or replaces it.
TEST_F(HeadlessMediaDeviceTest, InterruptedPlayNotifiesSupersededOrAborted) {
  struct Case {
    const char* name;
    std::function<MCIERROR(TMediaDevice&, MCIDEVICEID, TMessageTargetId)> command;
    std::vector<std::uint32_t> notifications;
    bool playing;
  };
  const Case cases[] = {
      {"play with notify",
       [](TMediaDevice& d, MCIDEVICEID id, TMessageTargetId t) {
         return d.Play(id, MCI_NOTIFY, TMCIPlayParms{t, 0, 0});
       },
       {MCI_NOTIFY_SUPERSEDED}, true},
      {"play without notify",
       [](TMediaDevice& d, MCIDEVICEID id, TMessageTargetId) {
         return d.Play(id, 0, TMCIPlayParms{});
       },
       {MCI_NOTIFY_ABORTED}, true},
      {"seek with notify",
       [](TMediaDevice& d, MCIDEVICEID id, TMessageTargetId t) {
         return d.Seek(id, MCI_SEEK_TO_START | MCI_NOTIFY, TMCISeekParms{t, 0});
       },
       {MCI_NOTIFY_ABORTED, MCI_NOTIFY_SUCCESSFUL}, false},
      {"close",
       [](TMediaDevice& d, MCIDEVICEID id, TMessageTargetId) {
         return d.Close(id, MCI_WAIT, TMCIGenericParms{});
       },
       {MCI_NOTIFY_ABORTED}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const MCIDEVICEID id = OpenSound();
    ASSERT_EQ(FDevice.Play(id, MCI_NOTIFY, TMCIPlayParms{FTarget.Id(), 0, 0}), 0u);
    FDevice.Advance(100);
    EXPECT_EQ(c.command(FDevice, id, FTarget.Id()), 0u);
    EXPECT_EQ(TakeNotifications(), c.notifications);
    EXPECT_EQ(FDevice.IsPlaying(id), c.playing);
    FDevice.Close(id, MCI_WAIT, TMCIGenericParms{});
    TakeNotifications();
  }
}

TEST_F(HeadlessMediaDeviceTest, PositionsStayInsideTheMedium) {
  const MCIDEVICEID id = OpenSound();
  EXPECT_EQ(FDevice.Play(id, MCI_FROM, TMCIPlayParms{0, kLength + 1, 0}), kMediaErrOutOfRange);
  EXPECT_EQ(FDevice.Play(id, MCI_FROM | MCI_TO, TMCIPlayParms{0, 900, 800}),
            kMediaErrOutOfRange);
  // Playing from the end completes at once.
  EXPECT_EQ(FDevice.Play(id, MCI_FROM | MCI_NOTIFY, TMCIPlayParms{FTarget.Id(), kLength, 0}),
            0u);
  EXPECT_FALSE(FDevice.IsPlaying(id));
  EXPECT_EQ(TakeNotifications(), std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL});
  TMCIStatusParms status;
  status.Item = MCI_STATUS_POSITION;
  EXPECT_EQ(FDevice.Status(id, MCI_STATUS_ITEM, status), 0u);
  EXPECT_EQ(status.Return, kLength);
  EXPECT_EQ(FDevice.Status(id, 0, status), kMediaErrMissingParameter);
}

TEST_F(HeadlessMediaDeviceTest, RefusesMediaItCannotPlay) {
  std::ofstream(FFolder / "empty.wav") << "";
  FDevice.SetLength((FFolder / "empty.wav").string(), 0);
  std::filesystem::create_directory(FFolder / "dir.wav");
  struct Case {
    std::uint32_t flags;
    std::string type, file;
    MCIERROR error;
  };
  const Case cases[] = {
      {MCI_OPEN_ELEMENT, "", (FFolder / "empty.wav").string(), kMediaErrNoSound},
      {MCI_OPEN_ELEMENT, "", (FFolder / "dir.wav").string(), kMediaErrCannotReadFile},
      {MCI_OPEN_ELEMENT, "", (FFolder / "loop").string(), kMediaErrNoDeviceForFile},
      {MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, "CDAudio", SoundFile(), kMediaErrUnknownDeviceType},
      {MCI_OPEN_TYPE, "WaveAudio", "", kMediaErrMissingParameter},
  };
  for (const Case& c : cases) {
    TMCIOpenParms parms;
    parms.DeviceType = c.type;
    parms.ElementName = c.file;
    EXPECT_EQ(FDevice.Open(c.flags | MCI_WAIT, parms), c.error) << c.file;
  }
  EXPECT_EQ(FDevice.OpenDevices(), 0u);
  TMCIOpenParms parms;
  parms.DeviceType = "waveaudio";
  parms.ElementName = (FFolder / "loop.WAV").string();
  std::ofstream(parms.ElementName) << "RIFF";
  EXPECT_EQ(FDevice.Open(MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, parms), 0u);
}

}  // namespace
}  // namespace pavona::sound
