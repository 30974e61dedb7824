// The decoder's bit reader: compressed bytes, least significant bit first.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/stream.h"

namespace pavona::package {

// The operations whose "no more compressed data" message names them.
enum class TDfBitOp { ReadBit, ReadBits, ReadBuffer, DiscardBits };

constexpr std::uint64_t LowBitMask(unsigned count) { return (std::uint64_t{1} << count) - 1; }

inline std::uint64_t LoadLittleEndian64(const std::uint8_t* p) {
  std::uint64_t value;
  std::memcpy(&value, p, sizeof value);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap64(value);
  return value;
}

// A copy of the reader's state for the decoder's fast loop, which keeps it in registers.
struct TDfBitCursor {
  std::uint64_t Buffer;
  unsigned Count;
  const std::uint8_t* Next;
};

// Bit-buffer invariant: the low Count bits of Buffer are the next Count bits of the stream;
// every bit above them is either zero or the matching bit of the bytes that start at Next.
// Refilling by OR-ing whole words in at bit Count therefore never corrupts Buffer, even when
// a word overlaps bits that are already there.
//
// Input arrives in blocks of 16384 bytes. When the input ends, zero bytes complete the last
// 32-bit word of the stream; asking for bits beyond that raises the operation's
// "no more compressed data" error.
class TDfInBitStream {
 public:
  static constexpr std::size_t kBlockSize = 16384;
  // The fast loop runs while at least this many bytes are buffered, so its two 8-byte refills
  // per symbol need no bounds checks.
  static constexpr std::size_t kFastMargin = 32;

  TDfInBitStream(platform::TStream& input, std::int64_t streamSize);

  std::uint32_t ReadBit() { return ReadBits(1, TDfBitOp::ReadBit); }
  std::uint32_t ReadBits(unsigned count) { return ReadBits(count, TDfBitOp::ReadBits); }
  // Drops the bits up to the next byte boundary.
  void AlignToByte();
  // Copies whole bytes; the reader must be byte-aligned.
  void ReadBuffer(std::uint8_t* out, std::size_t count);

  // Tops Count up to at least 56 bits, or to whatever is left when the input ends.
  void FillBits();
  std::uint64_t PeekBits() const { return FBuffer; }
  unsigned BitCount() const { return FCount; }
  // Drops count bits, raising op's error when fewer are left.
  void DropBits(unsigned count, TDfBitOp op) {
    if (count > FCount) RaiseNoMoreData(op);
    FBuffer >>= count;
    FCount -= count;
  }
  [[noreturn]] static void RaiseNoMoreData(TDfBitOp op);

  // Buffers more input when needed; true when the fast loop may run, that is when Next is
  // below FastEnd().
  bool ReadyForFastLoop() {
    if (static_cast<std::size_t>(FEnd - FNext) <= kFastMargin) LoadBlock();
    return static_cast<std::size_t>(FEnd - FNext) > kFastMargin;
  }
  // Where the fast loop must stop: from here on, fewer than kFastMargin bytes follow Next.
  const std::uint8_t* FastEnd() const { return FEnd - kFastMargin; }
  TDfBitCursor Cursor() const { return {FBuffer, FCount, FNext}; }
  void SetCursor(const TDfBitCursor& cursor) {
    FBuffer = cursor.Buffer;
    FCount = cursor.Count;
    FNext = cursor.Next;
  }

 private:
  std::uint32_t ReadBits(unsigned count, TDfBitOp op);
  void DiscardBits(unsigned count) { DropBits(count, TDfBitOp::DiscardBits); }
  // Moves the unread bytes to the front and reads the next block; at the end of the input it
  // appends the zero bytes that complete the last word. Returns false when nothing was added.
  bool LoadBlock();

  platform::TStream& FInput;
  std::int64_t FRemaining;  // bytes still allowed from FInput; negative: no limit
  std::uint64_t FTotalRead = 0;
  bool FEnded = false;
  std::uint64_t FBuffer = 0;
  unsigned FCount = 0;
  const std::uint8_t* FNext = nullptr;
  const std::uint8_t* FEnd = nullptr;
  // Unread tail (< kFastMargin), one block, and up to 3 padding bytes.
  std::array<std::uint8_t, kBlockSize + kFastMargin + 8> FBytes;
};

}  // namespace pavona::package
