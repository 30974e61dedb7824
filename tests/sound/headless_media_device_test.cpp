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
      : target_(backend_.Loop(), [this](const TMessage& m) {
          if (m.Msg == MM_MCINOTIFY) received_.push_back(static_cast<std::uint32_t>(m.WParam));
        }) {}

  MCIDEVICEID OpenSound() {
    TMCIOpenParms parms;
    parms.ElementName = SoundFile();
    EXPECT_EQ(device_.Open(MCI_OPEN_ELEMENT | MCI_WAIT, parms), 0u);
    return parms.DeviceID;
  }

  std::vector<std::uint32_t> TakeNotifications() {
    backend_.RunUntilIdle();
    return std::exchange(received_, {});
  }

  TMessageTarget target_;
  std::vector<std::uint32_t> received_;
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
    ASSERT_EQ(device_.Play(id, MCI_NOTIFY, TMCIPlayParms{target_.Id(), 0, 0}), 0u);
    device_.Advance(100);
    EXPECT_EQ(c.command(device_, id, target_.Id()), 0u);
    EXPECT_EQ(TakeNotifications(), c.notifications);
    EXPECT_EQ(device_.IsPlaying(id), c.playing);
    device_.Close(id, MCI_WAIT, TMCIGenericParms{});
    TakeNotifications();
  }
}

TEST_F(HeadlessMediaDeviceTest, PositionsStayInsideTheMedium) {
  const MCIDEVICEID id = OpenSound();
  EXPECT_EQ(device_.Play(id, MCI_FROM, TMCIPlayParms{0, kLength + 1, 0}), kMediaErrOutOfRange);
  EXPECT_EQ(device_.Play(id, MCI_FROM | MCI_TO, TMCIPlayParms{0, 900, 800}),
            kMediaErrOutOfRange);
  // Playing from the end completes at once.
  EXPECT_EQ(device_.Play(id, MCI_FROM | MCI_NOTIFY, TMCIPlayParms{target_.Id(), kLength, 0}),
            0u);
  EXPECT_FALSE(device_.IsPlaying(id));
  EXPECT_EQ(TakeNotifications(), std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL});
  TMCIStatusParms status;
  status.Item = MCI_STATUS_POSITION;
  EXPECT_EQ(device_.Status(id, MCI_STATUS_ITEM, status), 0u);
  EXPECT_EQ(status.Return, kLength);
  EXPECT_EQ(device_.Status(id, 0, status), kMediaErrMissingParameter);
}

TEST_F(HeadlessMediaDeviceTest, RefusesMediaItCannotPlay) {
  std::ofstream(folder_ / "empty.wav") << "";
  device_.SetLength((folder_ / "empty.wav").string(), 0);
  std::filesystem::create_directory(folder_ / "dir.wav");
  struct Case {
    std::uint32_t flags;
    std::string type, file;
    MCIERROR error;
  };
  const Case cases[] = {
      {MCI_OPEN_ELEMENT, "", (folder_ / "empty.wav").string(), kMediaErrNoSound},
      {MCI_OPEN_ELEMENT, "", (folder_ / "dir.wav").string(), kMediaErrCannotReadFile},
      {MCI_OPEN_ELEMENT, "", (folder_ / "loop").string(), kMediaErrNoDeviceForFile},
      {MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, "CDAudio", SoundFile(), kMediaErrUnknownDeviceType},
      {MCI_OPEN_TYPE, "WaveAudio", "", kMediaErrMissingParameter},
  };
  for (const Case& c : cases) {
    TMCIOpenParms parms;
    parms.DeviceType = c.type;
    parms.ElementName = c.file;
    EXPECT_EQ(device_.Open(c.flags | MCI_WAIT, parms), c.error) << c.file;
  }
  EXPECT_EQ(device_.OpenDevices(), 0u);
  TMCIOpenParms parms;
  parms.DeviceType = "waveaudio";
  parms.ElementName = (folder_ / "loop.WAV").string();
  std::ofstream(parms.ElementName) << "RIFF";
  EXPECT_EQ(device_.Open(MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, parms), 0u);
}

}  // namespace
}  // namespace pavona::sound
