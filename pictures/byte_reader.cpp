#include "pictures/byte_reader.h"

#include <algorithm>

namespace pavona::pictures {

std::vector<std::uint8_t> ReadRemaining(platform::TStream& stream) {
  std::vector<std::uint8_t> bytes;
  // One allocation for the usual case; the loop below still copes with a stream that grows or
  // tells a wrong size.
  const std::int64_t expected = stream.Size() - stream.Position();
  if (expected > 0) bytes.reserve(static_cast<std::size_t>(expected) + 1);
  constexpr std::size_t kChunk = 1 << 16;
  for (;;) {
    const std::size_t used = bytes.size();
    const std::size_t want = std::max(kChunk, bytes.capacity() - used);
    bytes.resize(used + want);
    const std::size_t got = stream.Read(bytes.data() + used, want);
    bytes.resize(used + got);
    if (got == 0) return bytes;
  }
}

void ThrowReadError() { throw platform::EStreamError(platform::TStreamFailure::Read); }

void TByteReader::Seek(std::size_t position) {
  if (position > FBytes.size()) ThrowReadError();
  FPosition = position;
}

std::uint16_t TByteReader::U16() {
  const auto b = Take(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TByteReader::U32() {
  const auto b = Take(4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::span<const std::uint8_t> TByteReader::Take(std::size_t count) {
  if (count > Remaining()) ThrowReadError();
  const auto result = FBytes.subspan(FPosition, count);
  FPosition += count;
  return result;
}

}  // namespace pavona::pictures
