#include "package/inflate_bit_stream.h"

#include <algorithm>

#include "package/inflate_corrupt.h"

namespace pavona::package {

TDfInBitStream::TDfInBitStream(platform::TStream& input, std::int64_t streamSize)
    : input_(input), remaining_(streamSize) {
  next_ = end_ = bytes_.data();
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
  if (ended_) return false;
  const std::size_t kept = static_cast<std::size_t>(end_ - next_);
  std::memmove(bytes_.data(), next_, kept);
  next_ = bytes_.data();
  end_ = next_ + kept;

  std::size_t want = kBlockSize;
  if (remaining_ >= 0) want = static_cast<std::size_t>(std::min<std::int64_t>(remaining_, want));
  const std::size_t got = want > 0 ? input_.Read(bytes_.data() + kept, want) : 0;
  if (got > 0) {
    if (remaining_ >= 0) remaining_ -= static_cast<std::int64_t>(got);
    totalRead_ += got;
    end_ += got;
    return true;
  }
  ended_ = true;
  const std::size_t padding = static_cast<std::size_t>((4 - totalRead_ % 4) % 4);
  std::memset(bytes_.data() + kept, 0, padding);
  end_ += padding;
  return padding > 0;
}

void TDfInBitStream::FillBits() {
  while (count_ < 56) {
    if (next_ == end_ && !LoadBlock()) return;
    buffer_ |= std::uint64_t{*next_++} << count_;
    count_ += 8;
  }
}

std::uint32_t TDfInBitStream::ReadBits(unsigned count, TDfBitOp op) {
  if (count_ < count) FillBits();
  const auto value = static_cast<std::uint32_t>(buffer_ & LowBitMask(count));
  DropBits(count, op);
  return value;
}

void TDfInBitStream::AlignToByte() { DiscardBits(count_ % 8); }

void TDfInBitStream::ReadBuffer(std::uint8_t* out, std::size_t count) {
  while (count > 0 && count_ > 0) {
    *out++ = static_cast<std::uint8_t>(buffer_);
    buffer_ >>= 8;
    count_ -= 8;
    --count;
  }
  if (count_ == 0) buffer_ = 0;  // bytes are now taken from next_ directly
  while (count > 0) {
    if (next_ == end_ && !LoadBlock()) RaiseNoMoreData(TDfBitOp::ReadBuffer);
    const std::size_t n = std::min(count, static_cast<std::size_t>(end_ - next_));
    std::memcpy(out, next_, n);
    next_ += n;
    out += n;
    count -= n;
  }
}

}  // namespace pavona::package
