// Shared helpers of the decoder tests: sample data, zlib as the reference encoder, and streams
// that record how the decoder uses them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "package/inflate.h"
#include "platform/stream.h"

namespace pavona::package::test {

using TBytes = std::vector<std::uint8_t>;

TBytes TextLikeBytes(std::size_t size, std::uint32_t seed);
// 24-bit pixel rows of smooth gradients with noise: short distances, few exact repeats.
TBytes PictureLikeBytes(std::size_t size, std::uint32_t seed);
TBytes RandomBytes(std::size_t size, std::uint32_t seed);

// Raw Deflate (no zlib header) by zlib at the given level and strategy.
TBytes ZlibDeflate(const TBytes& data, int level, int strategy);

TBytes Inflate(const TBytes& compressed, std::uint32_t options = 0);

// Decodes and returns the message of the EInflateError raised; fails the test when none is.
std::string InflateErrorMessage(const TBytes& compressed, std::uint32_t options = 0);
std::string WrappedCause(const std::string& cause);

// A memory stream that records the size of every Read and Write call.
class TRecordingStream final : public platform::TStream {
 public:
  TRecordingStream() = default;
  explicit TRecordingStream(TBytes bytes) : FInner(std::move(bytes)) {}

  std::size_t Read(void* buffer, std::size_t count) override {
    reads.push_back(count);
    return FInner.Read(buffer, count);
  }
  void Write(const void* buffer, std::size_t count) override {
    writes.push_back(count);
    FInner.Write(buffer, count);
  }
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return FInner.Seek(offset, origin);
  }
  const TBytes& Bytes() const { return FInner.Bytes(); }

  std::vector<std::size_t> reads;
  std::vector<std::size_t> writes;

 private:
  platform::TMemoryStream FInner;
};

}  // namespace pavona::package::test
