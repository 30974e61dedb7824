// A viewer on the headless backend started on a show made for the test: by `pavona pack`, or by
// `zip` from files and a settings text of the test's own. The media device the viewer plays
// through stays with the fixture, so its command log outlives the window.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/files.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/media_device.h"
#include "raster/bitmap.h"
#include "pictures/png_writer.h"
#include "../app/test_folder.h"

namespace pavona::e2e {

inline constexpr raster::Pixel kBlack = raster::MakePixel(0, 0, 0);
inline constexpr raster::Pixel kRed = raster::MakePixel(255, 0, 0);
inline constexpr raster::Pixel kGreen = raster::MakePixel(0, 255, 0);
inline constexpr raster::Pixel kBlue = raster::MakePixel(0, 0, 255);

// Hands every command to a device that the test keeps.
class TForwardingMediaDevice final : public platform::TMediaDevice {
 public:
  explicit TForwardingMediaDevice(platform::TMediaDevice& target) : target_(target) {}
  MCIERROR Open(std::uint32_t flags, platform::TMCIOpenParms& parms) override {
    return target_.Open(flags, parms);
  }
  MCIERROR Play(MCIDEVICEID device, std::uint32_t flags,
                          const platform::TMCIPlayParms& parms) override {
    return target_.Play(device, flags, parms);
  }
  MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags,
                          const platform::TMCISeekParms& parms) override {
    return target_.Seek(device, flags, parms);
  }
  MCIERROR Status(MCIDEVICEID device, std::uint32_t flags,
                            platform::TMCIStatusParms& parms) override {
    return target_.Status(device, flags, parms);
  }
  MCIERROR Set(MCIDEVICEID device, std::uint32_t flags,
                         const platform::TMCISetParms& parms) override {
    return target_.Set(device, flags, parms);
  }
  MCIERROR Close(MCIDEVICEID device, std::uint32_t flags,
                           const platform::TMCIGenericParms& parms) override {
    return target_.Close(device, flags, parms);
  }
  bool GetErrorString(MCIERROR error, std::string& text) override {
    return target_.GetErrorString(error, text);
  }

 private:
  platform::TMediaDevice& target_;
};

// Public, so that case tables can make their shows through it.
class ShowTest : public ::testing::Test {
 public:
  ShowTest() : backend_({64, 48}), device_(backend_.Loop()) {
    platform::CreateDirectories(Temp());
    platform::CreateDirectories(Input(""));
    env_.Set("TMP", Temp());
  }
  ~ShowTest() override { form_.reset(); }

  std::string Temp() const { return scratch_ / "tmp"; }
  std::string WorkingFolder() const { return Temp() + "/Pavona"; }
  std::string Input(const std::string& name) const { return scratch_ / ("in/" + name); }
  std::string ShowPath() const { return scratch_ / "show"; }

  // An 8 × 8 one-colour PNG among the inputs.
  void Picture(const std::string& name, raster::Pixel colour) {
    raster::Bitmap bitmap(8, 8);
    bitmap.fill(colour);
    pictures::WritePngFile(Input(name), bitmap);
  }
  void TextFile(const std::string& name, const std::string& text) {
    std::ofstream(Input(name), std::ios::binary) << text;
  }

  static void Run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }

  // `pavona pack` with the real player; arguments are names among the inputs or options.
  void Pack(const std::string& arguments) {
    Run("cd '" + Input("") + "' && '" PAVONA_TOOL "' pack -o '" + ShowPath() +
        "' --player '" PAVONA_VIEWER "' " + arguments + " 2>/dev/null");
  }

  // The player followed by a ZIP of the named inputs, its offsets made to count from the start
  // of the whole file.
  void Zip(const std::vector<std::string>& names) {
    std::string list;
    for (const auto& name : names) list += " '" + name + "'";
    Run("cd '" + Input("") + "' && zip -q -X '" + (scratch_ / "package.zip") + "'" + list +
        " && cat '" PAVONA_VIEWER "' '" + (scratch_ / "package.zip") + "' > '" + ShowPath() +
        "' && zip -q -A '" + ShowPath() + "'");
  }

  // A settings file of the given elements under "Info".
  void Settings(const std::string& elements) {
    TextFile("pavona.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Info>" + elements +
                               "</Info>\n");
  }

  void Start(const std::string& show) {
    form_ = std::make_unique<app::TMainForm>(
        backend_, show, std::make_unique<TForwardingMediaDevice>(device_));
    form_->Show();
    Settle();
  }
  void Start() { Start(ShowPath()); }

  // Runs the transitions under way to their ends and everything that follows.
  void Settle() {
    backend_.RunUntilIdle();
    for (int guard = 0; guard < 100 && backend_.FireFrameTimers() > 0; ++guard) {
      backend_.RunUntilIdle();
    }
    backend_.RunUntilIdle();
  }

  void Press(platform::TVirtualKey key) {
    backend_.PressKey(key);
    Settle();
  }

  raster::Pixel Shown() const { return backend_.Window().Screen().pixel(32, 24); }

  app::testing::ScratchFolder scratch_;
  app::testing::EnvironmentGuard env_;
  platform::headless::THeadlessBackend backend_;
  platform::headless::THeadlessMediaDevice device_;
  std::unique_ptr<app::TMainForm> form_;
};

}  // namespace pavona::e2e
