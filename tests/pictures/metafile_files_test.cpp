// Metafiles written by other programs: each must load and draw, and draw something.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "pictures/metafile.h"
#include "pictures/png_writer.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

std::filesystem::path FixtureFolder() { return std::filesystem::path(PAVONA_SHARED_FIXTURES) / "metafiles"; }

class RealMetafile : public ::testing::TestWithParam<const char*> {};

TEST_P(RealMetafile, LoadsAndDraws) {
  const std::filesystem::path path = FixtureFolder() / GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no shared fixtures at " << path;
  std::ifstream file(path, std::ios::binary);
  const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::unique_ptr<TMetafile> metafile;
  ASSERT_EQ(MessageOf([&] { metafile = Decode<TMetafile>(bytes); }), "");
  EXPECT_GT(metafile->Width(), 20);
  EXPECT_GT(metafile->Height(), 20);
  EXPECT_LT(metafile->Width(), 2000);
  // Over two backgrounds, so white or black pictures still show they drew.
  std::size_t changed = 0;
  for (const raster::Pixel background : {0x123456u, 0xFEDCBAu}) {
    const raster::Bitmap canvas = DrawOver(*metafile, background);
    for (const raster::Pixel p : PixelsOf(canvas)) changed += (p & 0xFFFFFF) != background;
  }
  EXPECT_GT(changed, static_cast<std::size_t>(metafile->Width()) * metafile->Height() / 100);
  // scripts/compare-metafiles.sh compares these with another program's renderings.
  if (const char* folder = std::getenv("PAVONA_METAFILE_PNG_DIR")) {
    WritePngFile((std::filesystem::path(folder) / (std::string(GetParam()) + ".png")).string(),
                 DrawOver(*metafile, 0xFFFFFF));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, RealMetafile,
    ::testing::Values("emf2svg-EA-test-file-101.emf", "emf2svg-test-013.emf",
                      "emf2svg-test-023.emf", "emf2svg-test-039.emf", "emf2svg-test-131.emf",
                      "emf2svg-test-154.emf", "emf2svg-test-160.emf", "imagemagick-clock.wmf",
                      "imagemagick-wizard.wmf", "libuemf-test_libuemf_ref.wmf",
                      "libuemf-test_mm_anisotropic_ref.emf", "pillow-drawing.emf",
                      "pillow-drawing.wmf", "poi-empty-polygon-close.wmf", "poi-santa.wmf",
                      "poi-wrench.emf", "wmfjs-chord.wmf", "wmfjs-pie.wmf",
                      "wmfjs-poly-polygon.wmf"),
    [](const auto& info) {
      std::string name = info.param;
      for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      }
      return name;
    });

}  // namespace
}  // namespace pavona::pictures::testing
