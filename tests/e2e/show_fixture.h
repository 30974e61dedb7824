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
  explicit TForwardingMediaDevice(platform::TMediaDevice& target) : FTarget(target) {}
  MCIERROR Open(std::uint32_t flags, platform::TMCIOpenParms& parms) override {
    return FTarget.Open(flags, parms);
  }
  MCIERROR Play(MCIDEVICEID device, std::uint32_t flags,
                          const platform::TMCIPlayParms& parms) override {
    return FTarget.Play(device, flags, parms);
  }
  MCIERROR Seek(MCIDEVICEID device, std::uint32_t flags,
                          const platform::TMCISeekParms& parms) override {
    return FTarget.Seek(device, flags, parms);
  }
  MCIERROR Status(MCIDEVICEID device, std::uint32_t flags,
                            platform::TMCIStatusParms& parms) override {
    return FTarget.Status(device, flags, parms);
  }
  MCIERROR Set(MCIDEVICEID device, std::uint32_t flags,
                         const platform::TMCISetParms& parms) override {
    return FTarget.Set(device, flags, parms);
  }
  MCIERROR Close(MCIDEVICEID device, std::uint32_t flags,
                           const platform::TMCIGenericParms& parms) override {
    return FTarget.Close(device, flags, parms);
  }
  bool GetErrorString(MCIERROR error, std::string& text) override {
    return FTarget.GetErrorString(error, text);
  }

 private:
  platform::TMediaDevice& FTarget;
};

// Public, so that case tables can make their shows through it.
class ShowTest : public ::testing::Test {
 public:
  ShowTest() : FBackend({64, 48}), FDevice(FBackend.Loop()) {
    platform::CreateDirectories(Temp());
    platform::CreateDirectories(Input(""));
    FEnv.Set("TMP", Temp());
  }
  ~ShowTest() override { FForm.reset(); }

  std::string Temp() const { return FScratch / "tmp"; }
  std::string WorkingFolder() const { return Temp() + "/Pavona"; }
  std::string Input(const std::string& name) const { return FScratch / ("in/" + name); }
  std::string ShowPath() const { return FScratch / "show"; }

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
    Run("cd '" + Input("") + "' && zip -q -X '" + (FScratch / "package.zip") + "'" + list +
        " && cat '" PAVONA_VIEWER "' '" + (FScratch / "package.zip") + "' > '" + ShowPath() +
        "' && zip -q -A '" + ShowPath() + "'");
  }

  // A settings file of the given elements under "Info".
  void Settings(const std::string& elements) {
    TextFile("pavona.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Info>" + elements +
                               "</Info>\n");
  }

  void Start(const std::string& show) {
    FForm = std::make_unique<app::TMainForm>(
        FBackend, show, std::make_unique<TForwardingMediaDevice>(FDevice));
    FForm->Show();
    Settle();
  }
  void Start() { Start(ShowPath()); }

  // Runs the transitions under way to their ends and everything that follows.
  void Settle() {
    FBackend.RunUntilIdle();
    for (int guard = 0; guard < 100 && FBackend.FireFrameTimers() > 0; ++guard) {
      FBackend.RunUntilIdle();
    }
    FBackend.RunUntilIdle();
  }

  void Press(platform::TVirtualKey key) {
    FBackend.PressKey(key);
    Settle();
  }

  raster::Pixel Shown() const { return FBackend.Window().Screen().pixel(32, 24); }

  app::testing::ScratchFolder FScratch;
  app::testing::EnvironmentGuard FEnv;
  platform::headless::THeadlessBackend FBackend;
  platform::headless::THeadlessMediaDevice FDevice;
  std::unique_ptr<app::TMainForm> FForm;
};

}  // namespace pavona::e2e
