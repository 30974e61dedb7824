// BZIP2 entries (method 12): one bzip2 stream, decoded until the entry's size is reached.
#include <bzlib.h>

#include <algorithm>
#include <vector>

#include "package/archive_error.h"
#include "package/entry_decoder.h"

namespace pavona::package {

namespace {

constexpr std::size_t kInputBlock = 65536;
constexpr std::size_t kCopyPiece = 61440;

class TBZDecompressionStream {
 public:
  explicit TBZDecompressionStream(platform::TStream& input) : FInput(input), FBuffer(kInputBlock) {
    const int result = BZ2_bzDecompressInit(&FState, 0, 0);
    if (result < 0) throw EBZDecompressionError(result);
  }
  ~TBZDecompressionStream() { BZ2_bzDecompressEnd(&FState); }
  TBZDecompressionStream(const TBZDecompressionStream&) = delete;
  TBZDecompressionStream& operator=(const TBZDecompressionStream&) = delete;

  // Up to count bytes; 0 once the bzip2 stream has ended.
  std::size_t Read(std::uint8_t* out, std::size_t count) {
    FState.next_out = reinterpret_cast<char*>(out);
    FState.avail_out = static_cast<unsigned>(count);
    while (FState.avail_out > 0 && !FEnded) {
      if (FState.avail_in == 0) {
        const std::size_t got = FInput.Read(FBuffer.data(), FBuffer.size());
        if (got == 0) throw platform::EStreamError(platform::TStreamFailure::Read);
        FState.next_in = reinterpret_cast<char*>(FBuffer.data());
        FState.avail_in = static_cast<unsigned>(got);
      }
      const int result = BZ2_bzDecompress(&FState);
      if (result < 0) throw EBZCompressionError(result);
      if (result == BZ_STREAM_END) FEnded = true;
    }
    return count - FState.avail_out;
  }

 private:
  platform::TStream& FInput;
  std::vector<std::uint8_t> FBuffer;
  bz_stream FState{};
  bool FEnded = false;
};

}  // namespace

void DecodeBzip2(platform::TStream& input, platform::TStream& sink, std::int64_t size) {
  TBZDecompressionStream decoder(input);
  std::vector<std::uint8_t> buffer(kCopyPiece);
  while (size > 0) {
    const auto piece = static_cast<std::size_t>(std::min<std::int64_t>(size, kCopyPiece));
    const std::size_t got = decoder.Read(buffer.data(), piece);
    if (got == 0) throw platform::EStreamError(platform::TStreamFailure::Read);
    sink.Write(buffer.data(), got);
    size -= static_cast<std::int64_t>(got);
  }
}

}  // namespace pavona::package
