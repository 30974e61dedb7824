// Deflate64: distance codes 30 and 31, length symbol 285 with 16 extra bits, a 64 KiB window.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>

#include "bit_writer.h"
#include "inflate_test_support.h"

namespace pavona::package::test {
namespace {

constexpr std::uint32_t kDeflate = 0;
constexpr std::uint32_t kDeflate64 = kDeflateOptionDeflate64;

void AppendCopy(TBytes& out, std::size_t distance, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) out.push_back(out[out.size() - distance]);
}

void PutStoredBlock(TBitWriter& writer, const TBytes& bytes, std::size_t from, std::size_t count) {
  writer.Bits(0, 1)                          // not final
      .Bits(0, 2)                            // stored
      .AlignToByte()
      .Bits(static_cast<std::uint32_t>(count), 16)
      .Bits(static_cast<std::uint32_t>(~count & 0xFFFF), 16);
  for (std::size_t i = 0; i < count; ++i) writer.Byte(bytes[from + i]);
}

// 66535 bytes of history from two stored blocks, then a fixed-code block whose first match uses
// distance code 30 and whose later matches use code 31 and length symbol 285.
struct TFarMatches {
  TBytes stream;
  TBytes expected;
};

TFarMatches FarMatches() {
  TFarMatches result;
  result.expected = RandomBytes(66535, 64);
  TBitWriter writer;
  PutStoredBlock(writer, result.expected, 0, 65535);
  PutStoredBlock(writer, result.expected, 65535, 1000);

  writer.Bits(1, 1)                          // final
      .Bits(1, 2);                           // fixed codes
  writer.FixedLitLen(258)                    // length 4
      .FixedDistance(30)                     // 32769 + 14 extra bits
      .Bits(40000 - 32769, 14);
  AppendCopy(result.expected, 40000, 4);
  writer.FixedLitLen(285)                    // Deflate64: 3 + 16 extra bits
      .Bits(40000 - 3, 16)
      .FixedDistance(31)                     // 49153 + 14 extra bits
      .Bits(65536 - 49153, 14);
  AppendCopy(result.expected, 65536, 40000);
  writer.FixedLitLen(285)                    // the shortest Deflate64 length: 3
      .Bits(0, 16)
      .FixedDistance(31)                     // the farthest distance: 65536
      .Bits(16383, 14);
  AppendCopy(result.expected, 65536, 3);
  writer.FixedLitLen(256);                   // end of block
  result.stream = writer.Finish();
  return result;
}

TEST(InflateDeflate64, DecodesFarDistancesAndLongLengths) {
  const TFarMatches sample = FarMatches();
  EXPECT_EQ(Inflate(sample.stream, kDeflate64), sample.expected);
}

TEST(InflateDeflate64, DeflateRejectsDistanceCode30) {
  EXPECT_EQ(InflateErrorMessage(FarMatches().stream, kDeflate),
            WrappedCause("decoded an invalid distance symbol: greater than 29 [DecodeData]"));
}

TEST(InflateDeflate64, LengthSymbol285DependsOnTheVariant) {
  struct TCase {
    const char* name;
    std::uint32_t options;
    bool withExtraBits;
    std::uint32_t extraBits;
    std::size_t copied;
  };
  const TCase cases[] = {
      {"Deflate: 258, no extra bits", kDeflate, false, 0, 258},
      {"Deflate64: 3 + 997", kDeflate64, true, 997, 1000},
      {"Deflate64: 3 + 65535", kDeflate64, true, 65535, 65538},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TBitWriter writer;
    writer.Bits(1, 1)                        // final
        .Bits(1, 2)                          // fixed codes
        .FixedLitLen('x');
    for (int i = 0; i < 2; ++i) {
      writer.FixedLitLen(285);
      if (c.withExtraBits) writer.Bits(c.extraBits, 16);
      writer.FixedDistance(0);               // distance 1
    }
    writer.FixedLitLen(256);
    EXPECT_EQ(Inflate(writer.Finish(), c.options), TBytes(1 + 2 * c.copied, 'x'));
  }
}

// An archive made by an independent encoder, whose entry repeats random data 60000 and 40000
// bytes back: it needs distance codes 31 and 30, so its dynamic blocks declare more than 30
// distance codes, which plain Deflate rejects.
TEST(InflateDeflate64, DecodesAnEntryOfAnotherEncoder) {
  std::ifstream file(PAVONA_TEST_DATA "/data/deflate64_long_distances.zip", std::ios::binary);
  const TBytes zip((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GE(zip.size(), 30u);
  auto u16 = [&](std::size_t at) { return std::uint32_t{zip[at]} | std::uint32_t{zip[at + 1]} << 8; };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  ASSERT_EQ(u32(0), 0x04034B50u);            // local header
  ASSERT_EQ(u16(8), 9u);                     // method: Deflate64
  const std::uint32_t crc = u32(14);
  const std::size_t compressedSize = u32(18);
  const std::size_t size = u32(22);
  const std::size_t dataStart = 30 + u16(26) + u16(28);
  ASSERT_LE(dataStart + compressedSize, zip.size());
  const TBytes stream(zip.begin() + static_cast<std::ptrdiff_t>(dataStart),
                      zip.begin() + static_cast<std::ptrdiff_t>(dataStart + compressedSize));

  const TBytes decoded = Inflate(stream, kDeflate64);
  ASSERT_EQ(decoded.size(), size);
  EXPECT_EQ(crc32(0, decoded.data(), static_cast<uInt>(decoded.size())), crc);
  EXPECT_EQ(InflateErrorMessage(stream, kDeflate),
            WrappedCause("count of distance codes in dynamic block is greater than 30 "
                         "[InflateDynamicBlock]"));
}

}  // namespace
}  // namespace pavona::package::test
