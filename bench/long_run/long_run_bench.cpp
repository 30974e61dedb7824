// The viewer on the headless backend through 2,000 slide changes by automatic advance over five
// 1920 × 1080 pictures, with the sound looping on the fake media device. Prints resident memory
// and open file descriptors after 100 and after 2,000 changes, and exits 1 when memory grew by
// more than 5 % between the two or descriptors were left open.
//
// Each change is one second of the slide timer followed by the whole cross-fade; the sound is
// 3 s long, so it ends and restarts every third change. The fake device's command log is
// cleared as it goes: it is the test double's record, not the viewer's memory.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/main_form.h"
#include "pictures/png_writer.h"
#include "platform/files.h"
#include "platform/headless/forwarding_media_device.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/media_device.h"
#include "platform/process_usage.h"
#include "raster/bitmap.h"

namespace {

using namespace pavona;

constexpr int kChanges = 2000;
constexpr int kEarly = 100;
constexpr int kSlides = 5;

void Run(const std::string& command) {
  if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

// Five gradients of different hues, so each slide differs from the last.
void MakeShow(const std::string& folder, const std::string& show) {
  std::string names;
  for (int s = 0; s < kSlides; ++s) {
    raster::Bitmap bitmap(1920, 1080);
    for (int y = 0; y < 1080; ++y) {
      for (int x = 0; x < 1920; ++x) {
        bitmap.set_pixel(x, y, raster::MakePixel(static_cast<std::uint8_t>(x * 255 / 1919),
                                                 static_cast<std::uint8_t>(y * 255 / 1079),
                                                 static_cast<std::uint8_t>(s * 60)));
      }
    }
    const std::string name = "slide" + std::to_string(s) + ".png";
    pictures::WritePngFile(platform::JoinPath(folder, name), bitmap);
    names += " " + name;
  }
  Run("cd '" + folder + "' && head -c 65536 /dev/zero > music.wav && '" PAVONA_TOOL
      "' pack -o '" + show + "' --player '" PAVONA_VIEWER "' --seconds 1 --sound music.wav" +
      names + " >/dev/null 2>&1");
}

struct TUsage {
  double ResidentMiB;
  int Descriptors;
};

TUsage Measure() {
  return {static_cast<double>(platform::ResidentMemoryBytes()) / (1 << 20),
          platform::OpenDescriptorCount()};
}

}  // namespace

int main() {
  const std::string root = platform::CreateTemporaryDirectory();
  if (root.empty()) return 2;
  const std::string pictures = platform::JoinPath(root, "pictures");
  const std::string temp = platform::JoinPath(root, "tmp");
  const std::string show = platform::JoinPath(root, "show");
  platform::CreateDirectories(pictures);
  platform::CreateDirectories(temp);
  int status = 0;
  try {
    MakeShow(pictures, show);
    platform::SetEnvironmentValue("TMP", temp);

    platform::headless::THeadlessBackend backend({1920, 1080});
    platform::headless::THeadlessMediaDevice device(backend.Loop());
    TUsage early{};
    TUsage late{};
    int changes = 0;
    {
      app::TMainForm form(backend, show,
                          std::make_unique<platform::headless::TForwardingMediaDevice>(device));
      form.Show();
      auto settle = [&backend] {
        backend.RunUntilIdle();
        while (backend.FireFrameTimers() > 0) backend.RunUntilIdle();
      };
      settle();
      if (!form.zTimer->Enabled() || device.OpenDevices() != 1) {
        throw std::runtime_error("the show did not start its timer and sound");
      }
      for (changes = 1; changes <= kChanges; ++changes) {
        const std::int32_t before = form.ImageIndex;
        backend.AdvanceTime(1000);
        device.Advance(1000);
        settle();
        device.ClearCommands();
        if (form.ImageIndex != (before + 1) % kSlides) {
          throw std::runtime_error("change " + std::to_string(changes) +
                                   " did not advance the slide");
        }
        if (changes == kEarly) early = Measure();
      }
      late = Measure();
      backend.PressKey(platform::vk::Escape);
      backend.RunUntilIdle();
    }
    const double growth = (late.ResidentMiB - early.ResidentMiB) / early.ResidentMiB * 100;
    std::printf("slide changes: %d over %d pictures of 1920 x 1080, sound looping\n", kChanges,
                kSlides);
    std::printf("after %4d changes: resident %.1f MiB, %d open descriptors\n", kEarly,
                early.ResidentMiB, early.Descriptors);
    std::printf("after %4d changes: resident %.1f MiB, %d open descriptors\n", kChanges,
                late.ResidentMiB, late.Descriptors);
    std::printf("memory growth: %+.2f %% (bound 5 %%)\n", growth);
    if (growth > 5.0 || late.Descriptors > early.Descriptors) status = 1;
    if (platform::PathExists(platform::JoinPath(temp, "Pavona"))) {
      std::fprintf(stderr, "the working folder was left behind\n");
      status = 1;
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    status = 2;
  }
  platform::RemoveTree(root);
  return status;
}
