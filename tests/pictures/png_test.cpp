#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "pictures/png_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

constexpr Pixel kCanvas = MakePixel(10, 20, 30);
constexpr Pixel kBlack = MakePixel(0, 0, 0);

struct DrawCase {
  const char* name;
  PngLayout layout;
  bool hasAlpha;
  Pixel canvas;
  std::vector<Pixel> expected;  // top row first
};

TEST(PngDecoder, DrawsEveryColourTypeWithItsTransparency) {
  const Pixel red = MakePixel(255, 0, 0);
  const Pixel green = MakePixel(0, 255, 0);
  const std::vector<DrawCase> cases = {
      {"RGB copied exactly",
       {.width = 2,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_RGB,
        .samples = {1, 2, 3, 250, 128, 7}},
       false,
       kCanvas,
       {MakePixel(1, 2, 3), MakePixel(250, 128, 7)}},
      {"16-bit RGB",
       {.width = 1,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_RGB,
        .bitDepth = 16,
        .samples = {0xFFFF, 0x8080, 0x0000}},
       false,
       kCanvas,
       {MakePixel(255, 0x80, 0)}},
      {"interlaced RGB, 3 x 3",
       {.width = 3,
        .height = 3,
        .colorType = PNG_COLOR_TYPE_RGB,
        .interlaced = true,
        .samples = {1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5,
                    5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9}},
       false,
       kCanvas,
       {MakePixel(1, 1, 1), MakePixel(2, 2, 2), MakePixel(3, 3, 3), MakePixel(4, 4, 4),
        MakePixel(5, 5, 5), MakePixel(6, 6, 6), MakePixel(7, 7, 7), MakePixel(8, 8, 8),
        MakePixel(9, 9, 9)}},
      {"2-bit grey",
       {.width = 4,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_GRAY,
        .bitDepth = 2,
        .samples = {0, 1, 2, 3}},
       false,
       kCanvas,
       {kBlack, MakePixel(85, 85, 85), MakePixel(170, 170, 170), MakePixel(255, 255, 255)}},
      {"grey with a transparent grey",
       {.width = 2,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_GRAY,
        .samples = {40, 41},
        .transparentColour = {40}},
       true,
       kCanvas,
       {kCanvas, MakePixel(41, 41, 41)}},
      {"RGB with a transparent colour",
       {.width = 3,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_RGB,
        .samples = {255, 0, 0, 0, 255, 0, 255, 0, 0},
        .transparentColour = {255, 0, 0}},
       true,
       kCanvas,
       {kCanvas, green, kCanvas}},
      {"palette with transparent, half and opaque entries",
       {.width = 4,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_PALETTE,
        .bitDepth = 4,
        .samples = {0, 1, 2, 3},
        .palette = {red, green, MakePixel(200, 100, 50), red},
        .paletteAlpha = {0, 255, 128}},
       true,
       kBlack,
       {kBlack, green, MakePixel(100, 50, 25), red}},
      {"RGBA half transparent over black is darkened",
       {.width = 3,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_RGB_ALPHA,
        .samples = {200, 100, 50, 128, 200, 100, 50, 0, 200, 100, 50, 255}},
       true,
       kBlack,
       {MakePixel(100, 50, 25), kBlack, MakePixel(200, 100, 50)}},
      {"RGBA blended over a colour",
       {.width = 1,
        .height = 1,
        .colorType = PNG_COLOR_TYPE_RGB_ALPHA,
        .samples = {255, 255, 255, 64}},
       true,
       MakePixel(0, 0, 255),
       {MakePixel(64, 64, 255)}},
      {"grey with alpha",
       {.width = 1, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY_ALPHA, .samples = {255, 51}},
       true,
       kBlack,
       {MakePixel(51, 51, 51)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto png = Decode<TPngImage>(EncodePng(c.layout));
    ASSERT_EQ(png->Width(), c.layout.width);
    ASSERT_EQ(png->Height(), c.layout.height);
    EXPECT_EQ(png->HasAlpha(), c.hasAlpha);
    EXPECT_EQ(PixelsOf(DrawOver(*png, c.canvas)), c.expected);
  }
}

TEST(PngDecoder, ReportsCorruptFiles) {
  const Bytes good = EncodePng({.width = 8,
                                .height = 8,
                                .colorType = PNG_COLOR_TYPE_RGB,
                                .samples = std::vector<unsigned>(8 * 8 * 3, 77)});
  const std::string prefix = "This \"Portable Network Graphics\" image is ";
  const std::string truncated =
      prefix + "invalid because the decoder found an unexpected end of the file.";
  Bytes badCrc = good;
  badCrc[29] ^= 0xFF;  // the CRC of the header chunk
  Bytes cut = good;
  cut.resize(good.size() - 20);  // inside the image data
  struct Case {
    const char* name;
    Bytes file;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"empty", {}, truncated},
      {"signature only", Bytes(good.begin(), good.begin() + 8), truncated},
      {"cut inside the image data", cut, truncated},
      {"JPEG data", EncodeJpeg(1, 1, 3, {1, 2, 3}),
       prefix + "not valid because it contains an invalid header."},
      {"header CRC", badCrc, prefix + "invalid because the decoder reported: IHDR: CRC error."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Decode<TPngImage>(c.file);
      ADD_FAILURE() << "loaded";
    } catch (const EPngError& e) {
      EXPECT_EQ(e.what(), c.error);
    }
  }
}

}  // namespace
}  // namespace pavona::pictures::testing
