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
    folder_ = std::filesystem::temp_directory_path() /
              ("pavona-sound-" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "loop.wav") << "RIFF";
    device_.SetLength(SoundFile(), kLength);
    player_ = std::make_unique<TMediaPlayer>(backend_.Loop(), device_);
  }
  ~SoundTest() override {
    player_.reset();
    std::filesystem::remove_all(folder_);
  }

  std::string Folder() const { return folder_.string(); }
  std::string SoundFile() const { return (folder_ / "loop.wav").string(); }

  // The commands sent since the last call, one text each: "PLAY 0x1", "STATUS length 0x102".
  std::vector<std::string> TakeCommands() {
    std::vector<std::string> result;
    for (const auto& c : device_.Commands()) {
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
    device_.ClearCommands();
    return result;
  }

  platform::headless::THeadlessBackend backend_;
  platform::headless::THeadlessMediaDevice device_{backend_.Loop()};
  std::filesystem::path folder_;
  std::unique_ptr<TMediaPlayer> player_;
};

}  // namespace pavona::sound
