#include <gtest/gtest.h>
#include <png.h>

#include <string>
#include <vector>

#include "pictures/icon_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

constexpr Pixel kCanvas = MakePixel(10, 20, 30);
constexpr Pixel kBlack = MakePixel(0, 0, 0);
constexpr Pixel kRed = MakePixel(255, 0, 0);
constexpr Pixel kGreen = MakePixel(0, 255, 0);
constexpr Pixel kBlue = MakePixel(0, 0, 255);

using Rows = std::vector<std::vector<std::uint32_t>>;

// An icon image: info header with the doubled height, colour table, colour bits, AND mask.
Bytes IconDib(int bitCount, const std::vector<Pixel>& palette, const Rows& colours,
              const Rows& mask) {
  const int w = static_cast<int>(colours[0].size());
  const int h = static_cast<int>(colours.size());
  ByteWriter d;
  d.U32(40).U32(w).U32(2 * h).U16(1).U16(bitCount).U32(0).U32(0).U32(0).U32(0);
  d.U32(static_cast<std::uint32_t>(palette.size())).U32(0);
  for (Pixel p : palette) d.U32(p & 0xFFFFFF);
  return d.Append(PackRows(colours, bitCount, false)).Append(PackRows(mask, 1, false)).bytes;
}

struct IcoEntry {
  unsigned dirWidth;  // as in the directory: 0 stands for 256
  unsigned dirHeight;
  unsigned bitCount;
  Bytes data;
};

Bytes BuildIco(const std::vector<IcoEntry>& entries, unsigned type = 1) {
  ByteWriter f;
  f.U16(0).U16(type).U16(static_cast<unsigned>(entries.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(entries.size());
  for (const auto& e : entries) {
    f.U8(e.dirWidth).U8(e.dirHeight).U8(0).U8(0).U16(1).U16(e.bitCount);
    f.U32(static_cast<std::uint32_t>(e.data.size())).U32(offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const auto& e : entries) f.Append(e.data);
  return f.bytes;
}

// A 3 x 2 image with 8-bit colours whose mask hides the middle column of the top row and the
// left pixel of the bottom row.
const Bytes kMasked8 =
    IconDib(8, {kRed, kGreen, kBlue}, {{0, 1, 2}, {2, 1, 0}}, {{0, 1, 0}, {1, 0, 0}});
const Rows kSolid2x2 = {{0x00FF00, 0x00FF00}, {0x00FF00, 0x00FF00}};

TEST(IconDecoder, DrawsTheLargestImageWithItsMaskOrAlpha) {
  const Bytes png = EncodePng({.width = 2,
                               .height = 1,
                               .colorType = PNG_COLOR_TYPE_RGB_ALPHA,
                               .samples = {200, 100, 50, 128, 0, 0, 255, 255}});
  struct Case {
    const char* name;
    Bytes file;
    bool hasAlpha;
    Pixel canvas;
    std::vector<Pixel> expected;
  };
  const std::vector<Case> cases = {
      {"8-bit with mask, after a smaller image",
       BuildIco({{2, 2, 32, IconDib(32, {}, kSolid2x2, {{0, 0}, {0, 0}})}, {3, 2, 8, kMasked8}}),
       true,
       kCanvas,
       {kRed, kCanvas, kBlue, kCanvas, kGreen, kRed}},
      {"32-bit alpha wins over the mask",
       BuildIco({{3, 1, 32, IconDib(32, {}, {{0x00FFFFFF, 0x80FFFFFF, 0xFF0000FF}}, {{1, 1, 1}})}}),
       true,
       kBlack,
       {kBlack, MakePixel(128, 128, 128), kBlue}},
      {"32-bit without alpha uses the mask",
       BuildIco({{3, 1, 32, IconDib(32, {}, {{0x0000FF, 0x00FF00, 0xFF0000}}, {{0, 1, 0}})}}),
       true,
       kCanvas,
       {kBlue, kCanvas, kRed}},
      {"24-bit without a masked pixel is opaque",
       BuildIco({{2, 2, 24, IconDib(24, {}, kSolid2x2, {{0, 0}, {0, 0}})}}),
       false,
       kCanvas,
       {kGreen, kGreen, kGreen, kGreen}},
      {"PNG image, 256 wide in the directory, beats 48",
       BuildIco({{48, 48, 32, kMasked8}, {0, 0, 32, png}}),
       true,
       kBlack,
       {MakePixel(100, 50, 25), kBlue}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto icon = Decode<TIcon>(c.file);
    EXPECT_EQ(icon->HasAlpha(), c.hasAlpha);
    EXPECT_EQ(PixelsOf(DrawOver(*icon, c.canvas)), c.expected);
  }
}

TEST(IconDecoder, RejectsCorruptFiles) {
  const Bytes good = BuildIco({{3, 2, 8, kMasked8}});
  const std::string invalid = "Icon image is not valid";
  const std::string shortFile = "Stream read error";
  Bytes offsetPastEnd = good;
  offsetPastEnd[18] = 0xFF;  // the entry's image offset
  Bytes bits7 = kMasked8;
  bits7[14] = 7;
  struct Case {
    const char* name;
    Bytes file;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"cursor", BuildIco({{3, 2, 8, kMasked8}}, 2), invalid},
      {"no images", BuildIco({}), invalid},
      {"reserved word set",
       [&] {
         Bytes b = good;
         b[0] = 1;
         return b;
       }(),
       invalid},
      {"cut inside the directory", Bytes(good.begin(), good.begin() + 10), shortFile},
      {"image offset past the end", offsetPastEnd, shortFile},
      {"mask cut short", Bytes(good.begin(), good.end() - 4), shortFile},
      {"7 bits a pixel", BuildIco({{3, 2, 8, bits7}}), invalid},
      {"broken PNG image",
       BuildIco({{3, 2, 32, Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0}}}), invalid},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageOf([&] { Decode<TIcon>(c.file); }), c.error);
  }
}

}  // namespace
}  // namespace pavona::pictures::testing
