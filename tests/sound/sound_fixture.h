// A player on the headless backend and its media device, with a sound file in a folder of its
// own.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "platform/headless/headless_backend.h"
#include "platform/headless/media_device.h"
#include "sound/media_player.h"

namespace pavona::sound {

class SoundTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kLength = 2000;

  SoundTest() {
    FFolder = std::filesystem::temp_directory_path() /
              ("pavona-sound-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(FFolder);
    std::ofstream(FFolder / "loop.wav") << "RIFF";
    FDevice.SetLength(SoundFile(), kLength);
    FPlayer = std::make_unique<TMediaPlayer>(FBackend.Loop(), FDevice);
  }
  ~SoundTest() override {
    FPlayer.reset();
    std::filesystem::remove_all(FFolder);
  }

  std::string Folder() const { return FFolder.string(); }
  std::string SoundFile() const { return (FFolder / "loop.wav").string(); }

  // The commands sent since the last call, one text each: "PLAY 0x1", "STATUS length 0x102".
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> result;
    for (const auto& c : FDevice.Commands()) {
      std::string text;
      switch (c.Command) {
        case MCI_OPEN: text = "OPEN"; break;
        case MCI_CLOSE: text = "CLOSE"; break;
        case MCI_PLAY: text = "PLAY"; break;
        case MCI_SEEK: text = "SEEK"; break;
        case MCI_SET: text = "SET"; break;
        case MCI_STATUS:
          text = c.Item == MCI_STATUS_LENGTH ? "STATUS length" : "STATUS position";
          break;
        default: text = "?"; break;
      }
      char flags[16];
      std::snprintf(flags, sizeof flags, " 0x%x", c.Flags);
      result.push_back(text + flags);
    }
    FDevice.ClearCommands();
    return result;
  }

  platform::headless::THeadlessBackend FBackend;
  platform::headless::THeadlessMediaDevice FDevice{FBackend.Loop()};
  std::filesystem::path FFolder;
  std::unique_ptr<TMediaPlayer> FPlayer;
};

}  // namespace pavona::sound
