// The decoder's output window: recent output kept for matches, written out 32 KiB at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/stream.h"

namespace pavona::package {

// Output collects in a buffer of Limit() bytes. Once the write position reaches Limit(), the
// oldest 32768 bytes go to the output stream and the rest move down, so at least
// Limit() - 32768 bytes of history (32 KiB for Deflate, 64 KiB for Deflate64) stay behind the
// write position: every distance the format allows, once that much has been produced.
//
// The fast loop checks for a flush once per symbol, so a symbol may carry the position up to
// kMaxRun bytes past Limit(), and match copies may write up to kCopyOvershoot bytes beyond
// their end; the buffer has room for both.
class TDfOutputWindow {
 public:
  static constexpr std::size_t kFlushSize = 32768;
  static constexpr std::size_t kMaxRun = 258;  // the longest match piece copied in one go
  static constexpr std::size_t kCopyOvershoot = 16;

  TDfOutputWindow(platform::TStream& output, bool deflate64);

  std::uint8_t* Data() { return FBytes.get(); }
  std::size_t Position() const { return FPosition; }
  void SetPosition(std::size_t position) { FPosition = position; }
  std::size_t Limit() const { return FLimit; }

  void FlushIfFull() {
    if (FPosition >= FLimit) Flush();
  }
  void PutByte(std::uint8_t value) { FBytes[FPosition++] = value; }
  // Copies length bytes from distance back (1 <= distance <= Position()), in pieces that keep
  // within the buffer, flushing as it goes.
  void CopyMatch(std::size_t distance, std::size_t length);
  // Copies bytes straight in, flushing as it goes; fill(p, n) must write n bytes at p.
  template <typename Fill>
  void Append(std::size_t count, Fill&& fill) {
    while (count > 0) {
      const std::size_t n = std::min(count, FLimit - FPosition);
      fill(FBytes.get() + FPosition, n);
      FPosition += n;
      count -= n;
      FlushIfFull();
    }
  }
  // Writes whatever is still buffered.
  void Finish();

 private:
  void Flush();

  platform::TStream& FOutput;
  std::size_t FLimit;
  std::size_t FPosition = 0;
  std::unique_ptr<std::uint8_t[]> FBytes;  // never read before written: left uninitialised
};

// Copies length bytes from dst - distance to dst, front to back, so that a distance shorter
// than the length repeats the bytes it has just written. Writes up to
// TDfOutputWindow::kCopyOvershoot bytes past dst + length.
inline void CopyRun(std::uint8_t* dst, std::size_t distance, std::size_t length) {
  const std::uint8_t* src = dst - distance;
  std::uint8_t* const end = dst + length;
  if (distance >= 16) {
    do {
      std::memcpy(dst, src, 16);
      dst += 16;
      src += 16;
    } while (dst < end);
  } else if (distance >= 8) {
    do {
      std::memcpy(dst, src, 8);
      dst += 8;
      src += 8;
    } while (dst < end);
  } else if (distance == 1) {
    std::memset(dst, *src, length);
  } else {
    // A forward byte copy of 8 bytes lays down the repeating pattern; 8-byte stores of it
    // follow, each advancing by the largest multiple of the distance that fits in 8.
    static constexpr std::uint8_t kStride[8] = {0, 0, 8, 6, 8, 5, 6, 7};
    for (unsigned i = 0; i < 8; ++i) dst[i] = src[i];
    std::uint8_t pattern[8];
    std::memcpy(pattern, dst, 8);
    const std::size_t stride = kStride[distance];
    for (dst += stride; dst < end; dst += stride) std::memcpy(dst, pattern, 8);
  }
}

}  // namespace pavona::package
