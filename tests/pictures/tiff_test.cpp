#include <gtest/gtest.h>
#include <tiffio.h>

#include <string>
#include <vector>

#include "pictures/tiff_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

constexpr Pixel kCanvas = MakePixel(10, 20, 30);

TEST(TiffDecoder, CopiesPixelsExactly) {
  // 3 x 3 in strips of two rows, so the last strip is short.
  const std::vector<std::uint8_t> rgb = {1,  2,  3,  4,  5,   6, 7, 8, 9,   10, 11, 12, 13, 14,
                                         15, 16, 17, 18, 250, 0, 0, 0, 250, 0,  0,  0,  250};
  std::vector<Pixel> expected;
  for (std::size_t i = 0; i < rgb.size(); i += 3)
    expected.push_back(MakePixel(rgb[i], rgb[i + 1], rgb[i + 2]));
  const std::vector<std::uint8_t> grey = {0, 100, 200, 1, 2, 3, 4, 5, 255};
  std::vector<Pixel> expectedGrey;
  for (std::uint8_t g : grey) expectedGrey.push_back(MakePixel(g, g, g));

  struct Case {
    const char* name;
    Bytes file;
    std::vector<Pixel> expected;
  };
  const std::vector<Case> cases = {
      {"RGB, uncompressed", EncodeTiff(3, 3, 3, rgb, COMPRESSION_NONE), expected},
      {"RGB, LZW", EncodeTiff(3, 3, 3, rgb, COMPRESSION_LZW), expected},
      {"grey, Deflate", EncodeTiff(3, 3, 1, grey, COMPRESSION_ADOBE_DEFLATE), expectedGrey},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto tiff = Decode<TWICImage>(c.file);
    ASSERT_EQ(tiff->Width(), 3);
    ASSERT_EQ(tiff->Height(), 3);
    EXPECT_EQ(PixelsOf(DrawOver(*tiff, kCanvas)), c.expected);
  }
}

TEST(TiffDecoder, RejectsCorruptFiles) {
  const Bytes good = EncodeTiff(3, 3, 3, std::vector<std::uint8_t>(27, 9), COMPRESSION_NONE);
  struct Case {
    const char* name;
    Bytes file;
  };
  const std::vector<Case> cases = {
      {"empty", {}},
      {"not a TIFF", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}},
      {"header only", Bytes(good.begin(), good.begin() + 8)},
      {"directory pointing past the end",
       [&] {
         Bytes b = good;
         b[4] = 0xF0;
         b[5] = 0xFF;
         return b;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageOf([&] { Decode<TWICImage>(c.file); }), "TIFF image is not valid");
  }
}

}  // namespace
}  // namespace pavona::pictures::testing
