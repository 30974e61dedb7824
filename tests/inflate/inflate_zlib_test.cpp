// Streams made by zlib, the reference encoder, must decode to the original bytes.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <numeric>
#include <string>

#include "inflate_test_support.h"

namespace pavona::package::test {
namespace {

struct TSample {
  std::string name;
  TBytes data;
};

// Every period from 1 to 20, so that matches take each path of the overlapping copy.
TBytes ShortPeriods() {
  TBytes out;
  for (std::uint32_t period = 1; period <= 20; ++period) {
    const TBytes pattern = RandomBytes(period, period);
    for (std::size_t i = 0; i < 3000; ++i) out.push_back(pattern[i % period]);
  }
  return out;
}

std::vector<TSample> Samples() {
  TBytes mixed = TextLikeBytes(120000, 4);
  const TBytes picture = PictureLikeBytes(150000, 5);
  const TBytes noise = RandomBytes(40000, 6);
  mixed.insert(mixed.end(), picture.begin(), picture.end());
  mixed.insert(mixed.end(), noise.begin(), noise.end());
  return {
      {"empty", {}},
      {"one byte", {0x5A}},
      {"text", TextLikeBytes(300000, 1)},
      {"picture", PictureLikeBytes(300000, 2)},
      {"random", RandomBytes(100000, 3)},
      {"zeros", TBytes(200000, 0)},
      {"short periods", ShortPeriods()},
      {"mixed", mixed},
  };
}

TEST(InflateZlib, DecodesEveryLevelAndStrategy) {
  struct TSetting {
    int level;
    int strategy;
  };
  const TSetting settings[] = {{0, Z_DEFAULT_STRATEGY}, {1, Z_DEFAULT_STRATEGY},
                               {6, Z_DEFAULT_STRATEGY}, {9, Z_DEFAULT_STRATEGY},
                               {6, Z_FILTERED},         {6, Z_HUFFMAN_ONLY},
                               {6, Z_RLE},              {6, Z_FIXED}};
  for (const TSample& sample : Samples()) {
    for (const TSetting& setting : settings) {
      SCOPED_TRACE(sample.name + ", level " + std::to_string(setting.level) + ", strategy " +
                   std::to_string(setting.strategy));
      const TBytes compressed = ZlibDeflate(sample.data, setting.level, setting.strategy);
      EXPECT_EQ(Inflate(compressed), sample.data);
    }
  }
}

TEST(InflateZlib, ReadsInBlocksWithinStreamSizeAndWritesWholePieces) {
  TBytes data = TextLikeBytes(200000, 8);
  const TBytes noise = RandomBytes(100000, 9);
  data.insert(data.end(), noise.begin(), noise.end());
  const TBytes compressed = ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY);
  // Bytes after the final block, partly inside the stream size, are never decoded.
  TBytes input = compressed;
  input.insert(input.end(), 5000, 0xA5);
  const std::int64_t streamSize = static_cast<std::int64_t>(compressed.size()) + 100;

  TRecordingStream in(input);
  TRecordingStream out;
  InflateStream(in, out, TDeflateHelper{0, streamSize});

  EXPECT_EQ(out.Bytes(), data);
  for (std::size_t request : in.reads) EXPECT_LE(request, 16384u);
  EXPECT_LE(std::accumulate(in.reads.begin(), in.reads.end(), std::int64_t{0}), streamSize);
  ASSERT_FALSE(out.writes.empty());
  for (std::size_t i = 0; i + 1 < out.writes.size(); ++i) EXPECT_EQ(out.writes[i], 32768u);
  EXPECT_GT(out.writes.back(), 0u);
  EXPECT_LE(out.writes.back(), 32768u);
}

TEST(InflateZlib, WithoutStreamSizeReadsToTheEndOfTheInput) {
  const TBytes data = PictureLikeBytes(70000, 10);
  platform::TMemoryStream in(ZlibDeflate(data, 9, Z_DEFAULT_STRATEGY));
  platform::TMemoryStream out;
  InflateStream(in, out, TDeflateHelper{});
  EXPECT_EQ(out.Bytes(), data);
}

// Streams may return fewer bytes than asked; every size of buffered tail must work.
TEST(InflateZlib, AcceptsShortReads) {
  class TShortReads final : public platform::TStream {
   public:
    TShortReads(TBytes bytes, std::size_t most) : FInner(std::move(bytes)), FMost(most) {}
    std::size_t Read(void* buffer, std::size_t count) override {
      return FInner.Read(buffer, std::min(count, FMost));
    }
    void Write(const void*, std::size_t) override {}
    std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
      return FInner.Seek(offset, origin);
    }

   private:
    platform::TMemoryStream FInner;
    std::size_t FMost;
  };
  TBytes data = TextLikeBytes(60000, 12);
  const TBytes picture = PictureLikeBytes(60000, 13);
  data.insert(data.end(), picture.begin(), picture.end());
  const TBytes compressed = ZlibDeflate(data, 6, Z_DEFAULT_STRATEGY);
  for (std::size_t most : {1, 7, 31, 32, 33, 1000}) {
    SCOPED_TRACE(most);
    TShortReads in(compressed, most);
    platform::TMemoryStream out;
    InflateStream(in, out, TDeflateHelper{});
    EXPECT_EQ(out.Bytes(), data);
  }
}

TEST(InflateZlib, OutputErrorsPassThroughUnwrapped) {
  class TFailingOutput final : public platform::TStream {
   public:
    std::size_t Read(void*, std::size_t) override { return 0; }
    void Write(const void*, std::size_t) override {
      throw platform::EStreamError("Stream write error");
    }
    std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }
  };
  platform::TMemoryStream in(ZlibDeflate(TextLikeBytes(1000, 11), 6, Z_DEFAULT_STRATEGY));
  TFailingOutput out;
  EXPECT_THROW(InflateStream(in, out, TDeflateHelper{}), platform::EStreamError);
}

}  // namespace
}  // namespace pavona::package::test
