// Bounds-checked reading of little-endian fields from a file held in memory. Every read that
// would pass the end raises the stream error of a file that is shorter than its format needs, so
// a decoder cannot read outside its buffer by forgetting a check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "platform/stream.h"

namespace pavona::pictures {

// The rest of the stream, from its current position to its end.
std::vector<std::uint8_t> ReadRemaining(platform::TStream& stream);

// Raises platform::EStreamError "Stream read error".
[[noreturn]] void ThrowReadError();

class TByteReader {
 public:
  explicit TByteReader(std::span<const std::uint8_t> bytes) : FBytes(bytes) {}

  std::size_t Position() const { return FPosition; }
  std::size_t Remaining() const { return FBytes.size() - FPosition; }
  void Seek(std::size_t position);
  void Skip(std::size_t count) { Take(count); }

  std::uint8_t U8() { return Take(1)[0]; }
  std::uint16_t U16();
  std::uint32_t U32();
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  // The next count bytes.
  std::span<const std::uint8_t> Take(std::size_t count);

 private:
  std::span<const std::uint8_t> FBytes;
  std::size_t FPosition = 0;
};

}  // namespace pavona::pictures
