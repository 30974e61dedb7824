#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pictures/jpeg_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

constexpr Pixel kCanvas = MakePixel(10, 20, 30);

// A colourful picture whose width is no multiple of the 16-pixel blocks.
std::vector<std::uint8_t> Gradient(int width, int height, int components) {
  std::vector<std::uint8_t> samples;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c)
        samples.push_back(static_cast<std::uint8_t>(x * 9 + y * 5 + c * 80));
    }
  }
  return samples;
}

TEST(JpegDecoder, PixelsAreLibjpegsOwnDecoding) {
  for (int components : {3, 1}) {
    SCOPED_TRACE(components);
    const Bytes file = EncodeJpeg(21, 13, components, Gradient(21, 13, components));
    const auto jpeg = Decode<TJPEGImage>(file);
    ASSERT_EQ(jpeg->Width(), 21);
    ASSERT_EQ(jpeg->Height(), 13);
    EXPECT_FALSE(jpeg->HasAlpha());
    EXPECT_EQ(PixelsOf(DrawOver(*jpeg, kCanvas)), ReferenceJpegPixels(file));
  }
}

TEST(JpegDecoder, ConvertsAdobeCmyk) {
  // Adobe stores ink inverted: 255 is no ink. No cyan, full magenta and yellow, no black: red.
  std::vector<std::uint8_t> samples;
  for (int i = 0; i < 8 * 8; ++i) samples.insert(samples.end(), {255, 0, 0, 255});
  const auto jpeg = Decode<TJPEGImage>(EncodeJpeg(8, 8, 4, samples, 100));
  const Pixel p = DrawOver(*jpeg, kCanvas).pixel(3, 3);
  EXPECT_GE((p >> 16) & 0xFF, 250u);
  EXPECT_LE((p >> 8) & 0xFF, 5u);
  EXPECT_LE(p & 0xFF, 5u);
}

TEST(JpegDecoder, IgnoresOrientation) {
  // An Exif block whose orientation tag (0x0112) says "rotate 90 degrees".
  const Bytes exif = {'E',  'x',  'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                      0x12, 0x01, 3,   0,   1, 0, 0,   0,   6,  0, 0, 0, 0, 0, 0, 0};
  const Bytes file = EncodeJpeg(16, 8, 3, Gradient(16, 8, 3), 90, exif);
  const auto jpeg = Decode<TJPEGImage>(file);
  EXPECT_EQ(jpeg->Width(), 16);
  EXPECT_EQ(jpeg->Height(), 8);
  EXPECT_EQ(PixelsOf(DrawOver(*jpeg, kCanvas)), ReferenceJpegPixels(file));
}

TEST(JpegDecoder, ReportsTheDecodersMessageNumber) {
  const Bytes good = EncodeJpeg(16, 16, 3, Gradient(16, 16, 3));
  Bytes badFrame = good;
  // The first SOF0 marker's precision byte: 8 is the only one baseline allows.
  for (std::size_t i = 0; i + 4 < badFrame.size(); ++i) {
    if (badFrame[i] == 0xFF && badFrame[i + 1] == 0xC0) {
      badFrame[i + 4] = 3;
      break;
    }
  }
  struct Case {
    const char* name;
    Bytes file;
    int code;
  };
  const std::vector<Case> cases = {
      {"empty", {}, JERR_INPUT_EMPTY},
      {"not a JPEG", {'B', 'M', 1, 2, 3, 4}, JERR_NO_SOI},
      {"bad sample precision", badFrame, JERR_BAD_PRECISION},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Decode<TJPEGImage>(c.file);
      ADD_FAILURE() << "loaded";
    } catch (const EJPEG& e) {
      EXPECT_EQ(e.MessageCode(), c.code);
      EXPECT_EQ(e.what(), "JPEG error #" + std::to_string(c.code));
    }
  }
}

TEST(JpegDecoder, ShowsWhatACutFileHolds) {
  const Bytes good = EncodeJpeg(32, 32, 3, Gradient(32, 32, 3));
  const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  const auto jpeg = Decode<TJPEGImage>(cut);
  EXPECT_EQ(jpeg->Width(), 32);
  EXPECT_EQ(jpeg->Height(), 32);
}

}  // namespace
}  // namespace pavona::pictures::testing
