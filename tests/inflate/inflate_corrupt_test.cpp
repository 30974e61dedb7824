// Corrupt and truncated streams fail with EInflateError naming the cause, and never make the
// decoder touch memory outside its buffers (the sanitizer build checks that part).
#include <gtest/gtest.h>
#include <zlib.h>

#include <functional>
#include <numeric>
#include <random>

#include "bit_writer.h"
#include "inflate_test_support.h"

namespace pavona::package::test {
namespace {

constexpr std::uint32_t kDeflate = 0;

// The header of a dynamic block with 257 + extraLitLen literal/length codes, one distance code,
// and a code-length code given by its lengths in transmission order.
TBitWriter& DynamicHeader(TBitWriter& w, unsigned extraLitLen,
                          std::initializer_list<unsigned> codeLengthLengths) {
  w.Bits(1, 1)                                        // final
      .Bits(2, 2)                                     // dynamic codes
      .Bits(extraLitLen, 5)                           // literal/length codes - 257
      .Bits(0, 5)                                     // distance codes - 1
      .Bits(static_cast<std::uint32_t>(codeLengthLengths.size() - 4), 4);
  for (unsigned length : codeLengthLengths) w.Bits(length, 3);
  return w;
}

// Code-length code in transmission order 16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13,
// 2, 14, 1: symbols 1 and 18 get one bit each ('0' for 1, '1' for 18).
const std::initializer_list<unsigned> kOnesAndZeroRuns = {0, 0, 1, 0, 0, 0, 0, 0, 0,
                                                          0, 0, 0, 0, 0, 0, 0, 0, 1};
TBitWriter& OneBitLength(TBitWriter& w) { return w.Code(0, 1); }
TBitWriter& ZeroRun(TBitWriter& w, unsigned count) { return w.Code(1, 1).Bits(count - 11, 7); }

struct TCorruptCase {
  const char* name;
  std::function<void(TBitWriter&)> write;
  const char* cause;
  // Cut streams depend on where the input ends; the others are also decoded with trailing bytes,
  // which lets the fast loop meet the fault.
  bool cut = false;
};

const TCorruptCase kCases[] = {
    {"stored length and complement differ",
     [](TBitWriter& w) {
       w.Bits(1, 1).Bits(0, 2).AlignToByte().Bits(5, 16).Bits(5, 16);  // final, stored, 5, 5
     },
     "invalid stored block (length and NOT length do not match) [InflateStoredBlock]"},
    {"block type 3", [](TBitWriter& w) { w.Bits(1, 1).Bits(3, 2); },
     "starting new block, but invalid block type [Inflate]"},
    {"287 literal/length codes", [](TBitWriter& w) { w.Bits(1, 1).Bits(2, 2).Bits(30, 5); },
     "count of literal codes in dynamic block is greater than 286 [InflateDynamicBlock]"},
    {"31 distance codes",
     [](TBitWriter& w) { w.Bits(1, 1).Bits(2, 2).Bits(0, 5).Bits(30, 5); },
     "count of distance codes in dynamic block is greater than 30 [InflateDynamicBlock]"},
    {"over-subscribed code-length code",
     [](TBitWriter& w) { DynamicHeader(w, 0, {1, 1, 1, 0}); },  // 16, 17, 18: one bit each
     "code lengths are over-subscribed [TDfDecodeHuffmanTree.Build]"},
    {"bits that match no code-length code",
     [](TBitWriter& w) {
       DynamicHeader(w, 0, {0, 0, 0, 1})  // only symbol 0, code '0'
           .Code(1, 1)
           .Bits(0x7F, 7);
     },
     "decoded a code length out of range {ReadLitDistCodeLengths}"},
    {"repeat with no previous length",
     [](TBitWriter& w) {
       DynamicHeader(w, 0, {1, 0, 0, 1})  // symbol 0 '0', symbol 16 '1'
           .Code(1, 1)
           .Bits(0, 2);
     },
     "repeat of the previous code length at the start {ReadLitDistCodeLengths}"},
    {"zero run past the last code",
     [](TBitWriter& w) {
       DynamicHeader(w, 0, kOnesAndZeroRuns);
       ZeroRun(w, 138);
       ZeroRun(w, 138);  // 276 of 258 lengths
     },
     "code length repeat runs past the number of codes {ReadLitDistCodeLengths}"},
    {"over-subscribed literal/length code",
     [](TBitWriter& w) {
       DynamicHeader(w, 0, kOnesAndZeroRuns);
       for (int i = 0; i < 258; ++i) OneBitLength(w);
     },
     "code lengths are over-subscribed [TDfDecodeHuffmanTree.Build]"},
    {"bits that match no literal/length code",
     [](TBitWriter& w) {
       DynamicHeader(w, 0, kOnesAndZeroRuns);
       ZeroRun(w, 138);
       ZeroRun(w, 118);
       OneBitLength(w);  // 256, code '0'
       OneBitLength(w);  // distance 0
       w.Code(1, 1).Bits(0xFFFF, 16);
     },
     "decoded a bit pattern that matches no literal/length code [DecodeData]"},
    {"bits that match no distance code",
     [](TBitWriter& w) {
       DynamicHeader(w, 1, kOnesAndZeroRuns);
       ZeroRun(w, 138);
       ZeroRun(w, 118);
       OneBitLength(w);  // 256, code '0'
       OneBitLength(w);  // 257, code '1'
       OneBitLength(w);  // distance 0, code '0'
       w.Code(1, 1)      // length 3
           .Code(1, 1)
           .Bits(0xFFFF, 16);
     },
     "decoded a bit pattern that matches no distance code [DecodeData]"},
    {"fixed code for symbol 286",
     [](TBitWriter& w) { w.Bits(1, 1).Bits(1, 2).FixedLitLen(286); },
     "decoded an invalid length symbol: greater than 285 [DecodeData]"},
    {"distance before the first byte",
     [](TBitWriter& w) {
       w.Bits(1, 1).Bits(1, 2).FixedLitLen('a').FixedLitLen(257).FixedDistance(1);  // 3 at 2
     },
     "decoded a distance that reaches before the start of the data [DecodeData]"},
    {"empty input", [](TBitWriter&) {},
     "no more compressed data in stream [TDfInBitStream.ReadBit]", true},
    {"code cut by the end of the input",
     [](TBitWriter& w) {
       w.Bits(1, 1).Bits(1, 2);
       for (int i = 0; i < 3; ++i) w.FixedLitLen(255);
       w.Code(3, 2);  // the first 2 of 8 or 9 bits; 32 bits in all
     },
     "no more compressed data in stream [TDfInBitStream.ReadBit]", true},
    {"extra bits cut by the end of the input",
     [](TBitWriter& w) {
       w.Bits(1, 1).Bits(1, 2).FixedLitLen('a').FixedLitLen(265).Bits(0, 1).FixedDistance(29);
       // 24 bits; one zero byte completes the word, 8 of the 13 extra bits
     },
     "no more compressed data in stream [TDfInBitStream.ReadBits]", true},
    {"stored data cut by the end of the input",
     [](TBitWriter& w) {
       w.Bits(1, 1).Bits(0, 2).AlignToByte().Bits(10, 16).Bits(~10u & 0xFFFF, 16).Byte(1).Byte(2);
     },
     "no more compressed data in stream [TDfInBitStream.ReadBuffer]", true},
};

TEST(InflateCorrupt, NamesTheCause) {
  for (const TCorruptCase& c : kCases) {
    SCOPED_TRACE(c.name);
    TBitWriter writer;
    c.write(writer);
    TBytes stream = writer.Finish();
    EXPECT_EQ(InflateErrorMessage(stream, kDeflate), WrappedCause(c.cause));
    if (c.cut) continue;
    stream.insert(stream.end(), 64, 0);
    EXPECT_EQ(InflateErrorMessage(stream, kDeflate), WrappedCause(c.cause)) << "with trailing bytes";
  }
}

TEST(InflateCorrupt, IsAnArchiveErrorWithoutCode) {
  try {
    Inflate({0xFF});  // final block of type 3
    FAIL() << "no error";
  } catch (const EArchiveException& error) {
    EXPECT_NE(dynamic_cast<const EInflateError*>(&error), nullptr);
    EXPECT_EQ(error.ErrorCode, 0);
  }
}

TEST(InflateCorrupt, StreamSizeEndsTheInput) {
  const TBytes compressed = ZlibDeflate(RandomBytes(100000, 20), 6, Z_DEFAULT_STRATEGY);
  const std::int64_t streamSize = static_cast<std::int64_t>(compressed.size() / 2);
  TRecordingStream in(compressed);
  platform::TMemoryStream out;
  EXPECT_THROW(InflateStream(in, out, TDeflateHelper{0, streamSize}), EInflateError);
  EXPECT_LE(std::accumulate(in.reads.begin(), in.reads.end(), std::int64_t{0}), streamSize);
}

// Zero bytes complete the last word of a cut stream, so a cut may also decode into something;
// either way nothing but EInflateError may come out.
TEST(InflateCorrupt, SurvivesEveryCutAndRandomDamage) {
  TBytes data = TextLikeBytes(1500, 21);
  const TBytes picture = PictureLikeBytes(1500, 22);
  data.insert(data.end(), picture.begin(), picture.end());
  std::vector<TBytes> streams = {ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY),
                                 ZlibDeflate(data, 6, Z_FIXED)};
  for (const TBytes& whole : streams) {
    for (std::size_t size = 0; size < whole.size(); ++size) {
      const TBytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
      for (std::uint32_t options : {0u, kDeflateOptionDeflate64}) {
        try {
          Inflate(cut, options);
        } catch (const EInflateError&) {
        }
      }
    }
  }
  std::mt19937 random(23);
  for (int round = 0; round < 400; ++round) {
    TBytes damaged = streams[round % 2];
    for (int flips = 1 + round % 4; flips > 0; --flips)
      damaged[random() % damaged.size()] ^= static_cast<std::uint8_t>(1u << (random() % 8));
    try {
      Inflate(damaged, round % 3 == 0 ? kDeflateOptionDeflate64 : 0);
    } catch (const EInflateError&) {
    }
  }
}

}  // namespace
}  // namespace pavona::package::test
