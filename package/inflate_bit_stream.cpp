#include "package/inflate_bit_stream.h"

#include <algorithm>

#include "package/inflate_corrupt.h"

namespace pavona::package {

TDfInBitStream::TDfInBitStream(platform::TStream& input, std::int64_t streamSize)
    : FInput(input), FRemaining(streamSize) {
  FNext = FEnd = FBytes.data();
}

void TDfInBitStream::RaiseNoMoreData(TDfBitOp op) {
  switch (op) {
    case TDfBitOp::ReadBit:
      RaiseInflateCause("no more compressed data in stream [TDfInBitStream.ReadBit]");
    case TDfBitOp::ReadBits:
      RaiseInflateCause("no more compressed data in stream [TDfInBitStream.ReadBits]");
    case TDfBitOp::ReadBuffer:
      RaiseInflateCause("no more compressed data in stream [TDfInBitStream.ReadBuffer]");
    case TDfBitOp::DiscardBits:
      break;
  }
  RaiseInflateCause("no more compressed data in stream [TDfInBitStream.DiscardBits]");
}

bool TDfInBitStream::LoadBlock() {
  if (FEnded) return false;
  const std::size_t kept = static_cast<std::size_t>(FEnd - FNext);
  std::memmove(FBytes.data(), FNext, kept);
  FNext = FBytes.data();
  FEnd = FNext + kept;

  std::size_t want = kBlockSize;
  if (FRemaining >= 0) want = static_cast<std::size_t>(std::min<std::int64_t>(FRemaining, want));
  const std::size_t got = want > 0 ? FInput.Read(FBytes.data() + kept, want) : 0;
  if (got > 0) {
    if (FRemaining >= 0) FRemaining -= static_cast<std::int64_t>(got);
    FTotalRead += got;
    FEnd += got;
    return true;
  }
  FEnded = true;
  const std::size_t padding = static_cast<std::size_t>((4 - FTotalRead % 4) % 4);
  std::memset(FBytes.data() + kept, 0, padding);
  FEnd += padding;
  return padding > 0;
}

void TDfInBitStream::FillBits() {
  while (FCount < 56) {
    if (FNext == FEnd && !LoadBlock()) return;
    FBuffer |= std::uint64_t{*FNext++} << FCount;
    FCount += 8;
  }
}

std::uint32_t TDfInBitStream::ReadBits(unsigned count, TDfBitOp op) {
  if (FCount < count) FillBits();
  const auto value = static_cast<std::uint32_t>(FBuffer & LowBitMask(count));
  DropBits(count, op);
  return value;
}

void TDfInBitStream::AlignToByte() { DiscardBits(FCount % 8); }

void TDfInBitStream::ReadBuffer(std::uint8_t* out, std::size_t count) {
  while (count > 0 && FCount > 0) {
    *out++ = static_cast<std::uint8_t>(FBuffer);
    FBuffer >>= 8;
    FCount -= 8;
    --count;
  }
  if (FCount == 0) FBuffer = 0;  // bytes are now taken from FNext directly
  while (count > 0) {
    if (FNext == FEnd && !LoadBlock()) RaiseNoMoreData(TDfBitOp::ReadBuffer);
    const std::size_t n = std::min(count, static_cast<std::size_t>(FEnd - FNext));
    std::memcpy(out, FNext, n);
    FNext += n;
    out += n;
    count -= n;
  }
}

}  // namespace pavona::package
