// The desktop media device with real sound output. Skipped where no audio output can be opened;
// SDL_AUDIODRIVER=dummy gives one without a sound card.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <thread>

#include "platform/event_loop.h"
#include "platform/media_device.h"

namespace pavona::platform {
namespace {

namespace fs = std::filesystem;

class TPollSource final : public TEventSource {
 public:
  void Pump() override {}
  bool Wait(int) override { return true; }
  void Wake() override {}
  std::uint64_t NowMs() const override { return 0; }
};

// A mono 16-bit PCM file of ms milliseconds of silence at 8000 Hz.
void WriteWave(const fs::path& path, std::uint32_t ms) {
  const std::uint32_t data = 8000 * 2 * ms / 1000;
  std::ofstream out(path, std::ios::binary);
  const auto u32 = [&](std::uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
  const auto u16 = [&](std::uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
  out << "RIFF";
  u32(36 + data);
  out << "WAVEfmt ";
  u32(16), u16(1), u16(1), u32(8000), u32(16000), u16(2), u16(16);
  out << "data";
  u32(data);
  out << std::string(data, '\0');
}

class SdlMediaDeviceTest : public ::testing::Test {
 protected:
  SdlMediaDeviceTest() {
    FDir = fs::temp_directory_path() / ("pavona-sdl-sound-" + std::to_string(std::random_device{}()));
    fs::create_directories(FDir);
    WriteWave(FDir / "short.wav", 300);
    std::ofstream(FDir / "noise.wav") << "not a sound at all";
  }
  ~SdlMediaDeviceTest() override {
    FDevice.reset();
    fs::remove_all(FDir);
  }

  // Opens the short sound; skips the test when there is no sound output.
  MCIDEVICEID OpenShort() {
    TMCIOpenParms parms;
    parms.ElementName = (FDir / "short.wav").string();
    const MCIERROR error = FDevice->Open(MCI_OPEN_ELEMENT | MCI_WAIT, parms);
    if (error == kMediaErrOutputUnavailable) return 0;
    EXPECT_EQ(error, 0u);
    return parms.DeviceID;
  }

  std::uint32_t Status(MCIDEVICEID id, std::uint32_t item) {
    TMCIStatusParms parms;
    parms.Item = item;
    EXPECT_EQ(FDevice->Status(id, MCI_STATUS_ITEM | MCI_WAIT, parms), 0u);
    return parms.Return;
  }

  fs::path FDir;
  TPollSource FSource;
  TEventLoop FLoop{FSource};
  std::unique_ptr<TMediaDevice> FDevice = CreateMediaDevice(FLoop);
};

TEST_F(SdlMediaDeviceTest, PlaysToTheEndAndNotifiesOnTheUIThread) {
  const MCIDEVICEID id = OpenShort();
  if (id == 0) GTEST_SKIP() << "no sound output";
  EXPECT_NEAR(Status(id, MCI_STATUS_LENGTH), 300, 1);

  std::vector<std::uint32_t> codes;
  const std::thread::id ui = std::this_thread::get_id();
  TMessageTarget target(FLoop, [&](const TMessage& m) {
    EXPECT_EQ(std::this_thread::get_id(), ui);
    if (m.Msg == MM_MCINOTIFY) codes.push_back(static_cast<std::uint32_t>(m.WParam));
  });
  ASSERT_EQ(FDevice->Play(id, MCI_NOTIFY, TMCIPlayParms{target.Id(), 0, 0}), 0u);
  const auto start = std::chrono::steady_clock::now();
  while (codes.empty() && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
    FLoop.ProcessMessages();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(codes, std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL});
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250));
  EXPECT_EQ(Status(id, MCI_STATUS_POSITION), Status(id, MCI_STATUS_LENGTH));

  // A play that is closed early is aborted, and its end is never reported.
  ASSERT_EQ(FDevice->Play(id, MCI_FROM | MCI_NOTIFY, TMCIPlayParms{target.Id(), 0, 0}), 0u);
  EXPECT_EQ(FDevice->Close(id, MCI_WAIT, TMCIGenericParms{}), 0u);
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  FLoop.ProcessMessages();
  EXPECT_EQ(codes, (std::vector<std::uint32_t>{MCI_NOTIFY_SUCCESSFUL, MCI_NOTIFY_ABORTED}));
}

TEST_F(SdlMediaDeviceTest, WaitingPlayReturnsAtTheEnd) {
  const MCIDEVICEID id = OpenShort();
  if (id == 0) GTEST_SKIP() << "no sound output";
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(FDevice->Play(id, MCI_FROM | MCI_WAIT, TMCIPlayParms{0, 100, 0}), 0u);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_EQ(Status(id, MCI_STATUS_POSITION), Status(id, MCI_STATUS_LENGTH));
}

TEST_F(SdlMediaDeviceTest, RefusesFilesItCannotDecode) {
  if (OpenShort() == 0) GTEST_SKIP() << "no sound output";
  TMCIOpenParms parms;
  parms.ElementName = (FDir / "noise.wav").string();
  EXPECT_EQ(FDevice->Open(MCI_OPEN_ELEMENT | MCI_WAIT, parms), kMediaErrCannotReadFile);
  parms.ElementName = (FDir / "gone.wav").string();
  EXPECT_EQ(FDevice->Open(MCI_OPEN_ELEMENT | MCI_WAIT, parms), kMediaErrFileNotFound);
}

}  // namespace
}  // namespace pavona::platform
