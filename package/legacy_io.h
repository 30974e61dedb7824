// What the legacy decoders (Shrink, Reduce, Implode) share: their compressed bits, read least
// significant bit first, and the output window that keeps recent output for copies and writes
// it out 32 KiB at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/stream.h"

namespace pavona::package {

// Data that no encoder writes (an undefined code, an impossible tree): the entry fails as a
// CRC mismatch would, before anything more is made of it.
[[noreturn]] void RaiseLegacyCorrupt();

inline void CheckLegacyData(bool ok) {
  if (!ok) [[unlikely]] {
    RaiseLegacyCorrupt();
  }
}

// Input arrives in blocks of 4096 bytes and is read only as far as the decoder asks; asking
// for bits beyond its end raises the platform's read error.
class TLegacyBitReader {
 public:
  static constexpr std::size_t kBlockSize = 4096;
  static constexpr unsigned kMaxBits = 16;

  explicit TLegacyBitReader(platform::TStream& input) : FInput(input) {}
  TLegacyBitReader(const TLegacyBitReader&) = delete;
  TLegacyBitReader& operator=(const TLegacyBitReader&) = delete;

  // The next count bits (count <= kMaxBits); the first of them is the lowest bit.
  std::uint32_t Bits(unsigned count) {
    while (FCount < count) {
      if (FNext == FEnd) Refill();
      FBuffer |= std::uint32_t{*FNext++} << FCount;
      FCount += 8;
    }
    const std::uint32_t value = FBuffer & ((std::uint32_t{1} << count) - 1);
    FBuffer >>= count;
    FCount -= count;
    return value;
  }
  std::uint32_t Bit() { return Bits(1); }

 private:
  void Refill();

  platform::TStream& FInput;
  std::array<std::uint8_t, kBlockSize> FBytes;
  const std::uint8_t* FNext = nullptr;
  const std::uint8_t* FEnd = nullptr;
  std::uint32_t FBuffer = 0;  // FCount bits not yet handed out, the next one lowest
  unsigned FCount = 0;
};

// Output of exactly the entry's size: bytes past it are dropped, and the buffer goes to the
// sink whenever its 32768 bytes are full and once the size is reached. The buffer is circular,
// so the last 32768 bytes stay available to copies whether or not they have been written out.
class TLegacyOutput {
 public:
  static constexpr std::size_t kBufferSize = 32768;
  static constexpr std::size_t kMaxDistance = kBufferSize;

  TLegacyOutput(platform::TStream& sink, std::int64_t size)
      : FSink(sink), FSize(size), FBytes(std::make_unique_for_overwrite<std::uint8_t[]>(kBufferSize)) {}
  TLegacyOutput(const TLegacyOutput&) = delete;
  TLegacyOutput& operator=(const TLegacyOutput&) = delete;

  // Whether the entry's size has been produced.
  bool Full() const { return FPosition >= FSize; }
  std::int64_t Remaining() const { return FSize - FPosition; }

  // Requires !Full().
  void Put(std::uint8_t value) {
    FBytes[static_cast<std::size_t>(FPosition) & kMask] = value;
    ++FPosition;
    if ((static_cast<std::size_t>(FPosition) & kMask) == 0 || FPosition == FSize) Flush();
  }
  // Repeats length bytes from distance back (1 <= distance <= kMaxDistance), byte by byte so
  // that a distance shorter than the length repeats what it has just written. Positions before
  // the start of the output read as zero. Stops at the entry's size.
  void Copy(std::size_t distance, std::size_t length);

 private:
  static constexpr std::size_t kMask = kBufferSize - 1;

  void Flush();

  platform::TStream& FSink;
  std::int64_t FSize;
  std::int64_t FPosition = 0;  // bytes produced
  std::int64_t FFlushed = 0;   // bytes written to the sink; a multiple of kBufferSize until the end
  std::unique_ptr<std::uint8_t[]> FBytes;  // only bytes already produced are read
};

}  // namespace pavona::package
