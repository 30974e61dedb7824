#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "pictures/bitmap_image.h"
#include "tests/pictures/picture_fixtures.h"

namespace pavona::pictures::testing {
namespace {

using raster::MakePixel;
using raster::Pixel;

constexpr Pixel kCanvas = MakePixel(0xAB, 0xCD, 0xEF);
constexpr Pixel kBlack = MakePixel(0, 0, 0);
const std::array<Pixel, 8> kColours = {
    MakePixel(0, 0, 0),   MakePixel(255, 255, 255), MakePixel(255, 0, 0),   MakePixel(0, 255, 0),
    MakePixel(0, 0, 255), MakePixel(255, 255, 0),   MakePixel(0, 255, 255), MakePixel(255, 0, 255)};

// A 5 x 3 picture (odd width, so rows need padding) as indexes into kColours, top row first.
const std::vector<std::vector<unsigned>> kIndexes = {
    {0, 1, 2, 3, 4}, {4, 3, 2, 1, 0}, {1, 1, 0, 0, 2}};

struct BmpLayout {
  std::uint32_t headerSize = 40;
  int width = 5;
  int height = 3;  // negative: top-down
  int bitCount = 24;
  std::uint32_t compression = 0;
  std::vector<Pixel> palette{};
  std::uint32_t colorsUsed = 0;
  std::array<std::uint32_t, 4> masks{};  // written in longer headers or after a 40-byte one
  bool masksAfterHeader = false;
  Bytes bits{};
  std::uint32_t offBits = 0;  // 0: right after the colour table
};

Bytes BuildBmp(const BmpLayout& s) {
  ByteWriter dib;
  dib.U32(s.headerSize);
  if (s.headerSize == 12) {
    dib.U16(s.width).U16(s.height).U16(1).U16(s.bitCount);
  } else {
    dib.U32(s.width).U32(static_cast<std::uint32_t>(s.height)).U16(1).U16(s.bitCount);
    dib.U32(s.compression).U32(static_cast<std::uint32_t>(s.bits.size())).U32(2835).U32(2835);
    dib.U32(s.colorsUsed).U32(0);
    if (s.headerSize >= 52 || s.masksAfterHeader) {
      for (int i = 0; i < (s.headerSize >= 56 ? 4 : 3); ++i) dib.U32(s.masks[i]);
    }
    while (dib.bytes.size() < s.headerSize + (s.masksAfterHeader ? 12u : 0u)) dib.U8(0);
  }
  for (Pixel p : s.palette) {
    dib.U8(p & 0xFF).U8((p >> 8) & 0xFF).U8((p >> 16) & 0xFF);
    if (s.headerSize != 12) dib.U8(0);
  }
  const std::uint32_t offBits =
      s.offBits != 0 ? s.offBits : 14 + static_cast<std::uint32_t>(dib.bytes.size());
  ByteWriter file;
  file.U8('B').U8('M').U32(static_cast<std::uint32_t>(14 + dib.bytes.size() + s.bits.size()));
  file.U32(0).U32(offBits).Append(dib.bytes);
  while (file.bytes.size() < offBits) file.U8(0);
  return file.Append(s.bits).bytes;
}

std::vector<std::vector<std::uint32_t>> Encode(unsigned modulo,
                                               std::uint32_t (*encode)(Pixel colour,
                                                                       unsigned index)) {
  std::vector<std::vector<std::uint32_t>> rows;
  for (const auto& indexes : kIndexes) {
    rows.emplace_back();
    for (unsigned i : indexes) rows.back().push_back(encode(kColours[i % modulo], i % modulo));
  }
  return rows;
}

std::vector<Pixel> Expected(unsigned modulo) {
  std::vector<Pixel> pixels;
  for (const auto& indexes : kIndexes) {
    for (unsigned i : indexes) pixels.push_back(kColours[i % modulo]);
  }
  return pixels;
}

std::uint32_t AsIndex(Pixel, unsigned index) { return index; }
std::uint32_t AsRgb(Pixel c, unsigned) { return c & 0xFFFFFF; }
std::uint32_t As555(Pixel c, unsigned) {
  return ((c >> 19 & 31) << 10) | ((c >> 11 & 31) << 5) | (c >> 3 & 31);
}
std::uint32_t As565(Pixel c, unsigned) {
  return ((c >> 19 & 31) << 11) | ((c >> 10 & 63) << 5) | (c >> 3 & 31);
}
// A fourth byte that must not be taken for alpha.
std::uint32_t AsRgbWithJunk(Pixel c, unsigned index) {
  return (c & 0xFFFFFF) | (index * 0x30u << 24);
}
// R, G, B from the low byte up.
std::uint32_t AsRgbx(Pixel c, unsigned) {
  return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
}

struct LayoutCase {
  const char* name;
  BmpLayout layout;
  unsigned modulo;
};

BmpLayout WithBits(BmpLayout layout, const std::vector<std::vector<std::uint32_t>>& rows) {
  layout.bits = PackRows(rows, layout.bitCount, layout.height < 0);
  return layout;
}

std::vector<Pixel> Palette(unsigned count) { return {kColours.begin(), kColours.begin() + count}; }

TEST(BmpDecoder, DecodesEveryLayoutToTheSamePixels) {
  const std::vector<LayoutCase> cases = {
      {"1 bit", WithBits({.bitCount = 1, .palette = Palette(2)}, Encode(2, AsIndex)), 2},
      {"4 bits",
       WithBits({.bitCount = 4, .palette = Palette(5), .colorsUsed = 5}, Encode(8, AsIndex)), 8},
      {"8 bits",
       WithBits({.bitCount = 8, .palette = Palette(8), .colorsUsed = 8}, Encode(8, AsIndex)), 8},
      {"8 bits, core header",
       WithBits({.headerSize = 12, .bitCount = 8, .palette = Palette(8)}, Encode(8, AsIndex)), 8},
      {"16 bits, 5-5-5", WithBits({.bitCount = 16}, Encode(8, As555)), 8},
      {"16 bits, 5-6-5 bit fields",
       WithBits({.bitCount = 16,
                 .compression = 3,
                 .masks = {0xF800, 0x07E0, 0x001F, 0},
                 .masksAfterHeader = true},
                Encode(8, As565)),
       8},
      {"24 bits", WithBits({.bitCount = 24}, Encode(8, AsRgb)), 8},
      {"24 bits, top-down", WithBits({.height = -3, .bitCount = 24}, Encode(8, AsRgb)), 8},
      {"32 bits, fourth byte unused", WithBits({.bitCount = 32}, Encode(8, AsRgbWithJunk)), 8},
      {"32 bits, bit fields in a V5 header",
       WithBits({.headerSize = 124,
                 .bitCount = 32,
                 .compression = 3,
                 .masks = {0x0000FF, 0x00FF00, 0xFF0000, 0}},
                Encode(8, AsRgbx)),
       8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bitmap = Decode<TBitmap>(BuildBmp(c.layout));
    ASSERT_EQ(bitmap->Width(), 5);
    ASSERT_EQ(bitmap->Height(), 3);
    EXPECT_EQ(PixelsOf(DrawOver(*bitmap, kCanvas)), Expected(c.modulo));
  }
}

TEST(BmpDecoder, ScalesNarrowBitFieldsToEightBits) {
  // 5-6-5: red 16 of 31, green 32 of 63, blue 1 of 31.
  const std::uint32_t word = (16u << 11) | (32u << 5) | 1u;
  const BmpLayout layout = WithBits({.width = 1,
                                 .height = 1,
                                 .bitCount = 16,
                                 .compression = 3,
                                 .masks = {0xF800, 0x07E0, 0x001F, 0},
                                 .masksAfterHeader = true},
                                {{word}});
  EXPECT_EQ(DrawOver(*Decode<TBitmap>(BuildBmp(layout)), kCanvas).pixel(0, 0),
            MakePixel(132, 130, 8));
}

TEST(BmpDecoder, AlphaMaskBlendsAndAllZeroAlphaMeansOpaque) {
  const BmpLayout withAlpha{.headerSize = 124,
                          .width = 3,
                          .height = 1,
                          .bitCount = 32,
                          .compression = 3,
                          .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
  // Transparent, half and opaque white over black.
  const auto blended =
      Decode<TBitmap>(BuildBmp(WithBits(withAlpha, {{0x00FFFFFF, 0x80FFFFFF, 0xFFFFFFFF}})));
  EXPECT_TRUE(blended->HasAlpha());
  EXPECT_EQ(PixelsOf(DrawOver(*blended, kBlack)),
            (std::vector<Pixel>{kBlack, MakePixel(128, 128, 128), MakePixel(255, 255, 255)}));

  const auto opaque =
      Decode<TBitmap>(BuildBmp(WithBits(withAlpha, {{0x000000FF, 0x0000FF00, 0x00FF0000}})));
  EXPECT_FALSE(opaque->HasAlpha());
  EXPECT_EQ(PixelsOf(DrawOver(*opaque, kCanvas)),
            (std::vector<Pixel>{MakePixel(0, 0, 255), MakePixel(0, 255, 0), MakePixel(255, 0, 0)}));
}

TEST(BmpDecoder, DecodesRunLengthEncodings) {
  // RLE8, 4 x 3, bottom row first: a run, a single pixel, end of line; an odd absolute run with
  // its pad byte, a delta over one pixel, end of line; a run, end of bitmap. Skipped pixels stay
  // black.
  const BmpLayout rle8{.width = 4,
                     .height = 3,
                     .bitCount = 8,
                     .compression = 1,
                     .palette = Palette(8),
                     .bits = {3, 1, 1, 2, 0, 0,                    // bottom row
                              0, 3, 2, 3, 1, 0, 0, 2, 1, 0, 0, 0,  // middle row
                              2, 3, 0, 1}};                         // top row
  const Pixel* c = kColours.data();
  EXPECT_EQ(PixelsOf(DrawOver(*Decode<TBitmap>(BuildBmp(rle8)), kCanvas)),
            (std::vector<Pixel>{c[3], c[3], kBlack, kBlack,  //
                                c[2], c[3], c[1], kBlack,    //
                                c[1], c[1], c[1], c[2]}));

  // RLE4, 5 x 2: a run of alternating nibbles, end of line; an absolute run of three, a run of
  // two, end of bitmap.
  const BmpLayout rle4{.width = 5,
                     .height = 2,
                     .bitCount = 4,
                     .compression = 2,
                     .palette = Palette(8),
                     .bits = {5, 0x12, 0, 0,                  // bottom row
                              0, 3, 0x34, 0x50, 2, 0x70, 0, 1}};  // top row
  EXPECT_EQ(PixelsOf(DrawOver(*Decode<TBitmap>(BuildBmp(rle4)), kCanvas)),
            (std::vector<Pixel>{c[3], c[4], c[5], c[7], c[0],  //
                                c[1], c[2], c[1], c[2], c[1]}));
}

struct CorruptCase {
  const char* name;
  Bytes file;
  std::string error;  // "" when the file loads
};

Bytes Truncated(Bytes bytes, std::size_t drop) {
  bytes.resize(bytes.size() - drop);
  return bytes;
}

Bytes Patched(Bytes bytes, std::size_t offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[offset + i] = (value >> (8 * i)) & 0xFF;
  return bytes;
}

TEST(BmpDecoder, RejectsCorruptFilesAndSurvivesHostileOnes) {
  const Bytes good = BuildBmp(WithBits({.bitCount = 24}, Encode(8, AsRgb)));
  const std::string invalid = "Bitmap image is not valid";
  const std::string shortFile = "Stream read error";
  // Offsets: 14 file header, then header size 14, width 18, height 22, bit count 28,
  // compression 30, colours used 46.
  const std::vector<CorruptCase> cases = {
      {"not a bitmap", {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, invalid},
      {"cut inside the file header", {'B', 'M', 0, 0}, shortFile},
      {"cut inside the info header", Truncated(good, good.size() - 30), shortFile},
      {"pixel rows cut short", Truncated(good, 5), shortFile},
      {"unknown header size", Patched(good, 14, 20), invalid},
      {"7 bits a pixel", Patched(good, 28, 7), invalid},
      {"zero width", Patched(good, 18, 0), invalid},
      {"huge width", Patched(good, 18, 70000), invalid},
      {"JPEG compression", Patched(good, 30, 4), invalid},
      {"RLE8 with 24 bits", Patched(good, 30, 1), invalid},
      {"top-down RLE",
       BuildBmp(
           {.height = -3, .bitCount = 8, .compression = 1, .palette = Palette(2), .bits = {0, 1}}),
       invalid},
      {"colour table larger than the file",
       BuildBmp({.bitCount = 8, .palette = Palette(2), .colorsUsed = 0xFFFFFFF0u}), shortFile},
      {"pixel offset past the end", Patched(good, 10, 100000), shortFile},
      // Runs longer than a row, a delta far below the picture and an absolute run that
      // overruns the data are dropped at the picture's edges.
      {"hostile RLE8",
       BuildBmp({.width = 4,
                 .height = 3,
                 .bitCount = 8,
                 .compression = 1,
                 .palette = Palette(2),
                 .bits = {255, 1, 0, 2, 200, 1, 255, 1, 0, 0, 0, 200, 1}}),
       ""},
      {"indexes past the colour table",
       BuildBmp({.width = 2,
                 .height = 1,
                 .bitCount = 8,
                 .palette = Palette(2),
                 .colorsUsed = 2,
                 .bits = {200, 255, 0, 0}}),
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(MessageOf([&] { Decode<TBitmap>(c.file); }), c.error);
  }
}

TEST(BmpDecoder, FailedLoadKeepsThePreviousPicture) {
  auto bitmap = Decode<TBitmap>(BuildBmp(WithBits({.bitCount = 24}, Encode(8, AsRgb))));
  platform::TMemoryStream corrupt(Bytes{'B', 'M', 0});
  EXPECT_THROW(bitmap->LoadFromStream(corrupt), platform::EStreamError);
  EXPECT_EQ(PixelsOf(DrawOver(*bitmap, kCanvas)), Expected(8));
}

}  // namespace
}  // namespace pavona::pictures::testing
