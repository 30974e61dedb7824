#include "show_fixture.h"

namespace pavona::e2e {
namespace {

using namespace platform;

using Sound = ShowTest;

std::vector<std::uint32_t> CommandsOf(const headless::THeadlessMediaDevice& device) {
  std::vector<std::uint32_t> commands;
  for (const auto& c : device.Commands()) commands.push_back(c.Command);
  return commands;
}

TEST_F(Sound, APackedSoundPlaysAndRestartsFromTheStartAtEachEnd) {
  Picture("a.png", kRed);
  TextFile("tone.wav", "RIFF");
  Pack("--sound tone.wav a.png");
  FDevice.SetLength(WorkingFolder() + "/tone.wav", 1000);
  Start();

  // Open waits and notifies; the play notifies. The open's own notification, dispatched after
  // the startup, only asks for the position and the length.
  EXPECT_EQ(Shown(), kRed);
  ASSERT_FALSE(FDevice.Commands().empty());
  const auto& open = FDevice.Commands().front();
  EXPECT_EQ(open.Command, MCI_OPEN);
  EXPECT_EQ(open.Flags, MCI_WAIT | MCI_NOTIFY | MCI_OPEN_ELEMENT);
  EXPECT_EQ(CommandsOf(FDevice), (std::vector<std::uint32_t>{MCI_OPEN, MCI_STATUS, MCI_STATUS,
                                                             MCI_PLAY, MCI_STATUS, MCI_STATUS}));
  EXPECT_EQ(FDevice.Commands()[3].Flags, MCI_NOTIFY);
  const MCIDEVICEID id = FForm->MediaPlayer->DeviceID();
  EXPECT_TRUE(FDevice.IsPlaying(id));

  for (int pass = 0; pass < 2; ++pass) {
    FDevice.ClearCommands();
    FDevice.Advance(999);
    Settle();
    EXPECT_TRUE(FDevice.Commands().empty());
    FDevice.Advance(1);
    Settle();
    EXPECT_EQ(CommandsOf(FDevice),
              (std::vector<std::uint32_t>{MCI_STATUS, MCI_STATUS, MCI_STATUS, MCI_STATUS, MCI_SEEK,
                                          MCI_PLAY}));
    EXPECT_EQ(FDevice.Commands()[4].Flags, MCI_SEEK_TO_START | MCI_WAIT);
    EXPECT_EQ(FDevice.Commands()[5].Flags, MCI_NOTIFY);
    EXPECT_TRUE(FDevice.IsPlaying(id));
  }

  // Destroying the window while the sound plays closes the device, waiting, and nothing more.
  FDevice.ClearCommands();
  FForm.reset();
  ASSERT_EQ(CommandsOf(FDevice), std::vector<std::uint32_t>{MCI_CLOSE});
  EXPECT_EQ(FDevice.Commands()[0].Flags, MCI_WAIT);
  EXPECT_EQ(FDevice.OpenDevices(), 0u);
  EXPECT_FALSE(PathExists(WorkingFolder()));
}

TEST_F(Sound, ASoundThatCannotBeOpenedLeavesTheShowSilentAndRunning) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  Settings("<List>a.png,b.png</List><Sound>absent.wav</Sound>");
  Zip({"a.png", "b.png", "pavona.xml"});
  Start();
  EXPECT_FALSE(FForm->MediaPlayer->Opened());
  EXPECT_EQ(CommandsOf(FDevice), std::vector<std::uint32_t>{MCI_OPEN});
  Press(vk::Right);
  EXPECT_EQ(Shown(), kGreen);
  FForm.reset();
  EXPECT_EQ(CommandsOf(FDevice), std::vector<std::uint32_t>{MCI_OPEN});
  EXPECT_FALSE(PathExists(WorkingFolder()));
}

}  // namespace
}  // namespace pavona::e2e
