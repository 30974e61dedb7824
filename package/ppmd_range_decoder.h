// The carry-less range decoder under the PPMd variant I model of ZIP method 98: a 32-bit code
// read most significant byte first, whose range is renormalised whenever the top byte of the
// interval is settled or the range falls below 2^15.
#pragma once

#include <cstdint>
#include <vector>

#include "package/archive_error.h"
#include "platform/stream.h"

namespace pavona::package {

class TPpmdRangeDecoder {
 public:
  static constexpr std::uint32_t kBinaryTotalBits = 14;

  explicit TPpmdRangeDecoder(platform::TStream& input) : FInput(input), FBuffer(kInputBlock) {}

  // Reads the first four code bytes; a code of all ones cannot come from an encoder.
  void Start() {
    FLow = 0;
    FRange = 0xFFFFFFFF;
    FCode = 0;
    for (int i = 0; i < 4; ++i) FCode = (FCode << 8) | NextByte();
    if (FCode == 0xFFFFFFFF) throw EPPMdError("PPMd data error");
  }

  // The position of the code inside [0, total), scaling the range to that total.
  std::uint32_t Threshold(std::uint32_t total) {
    // No encoder reaches a total of 0 or one above the range: such data is not PPMd.
    if (total == 0 || (FRange /= total) == 0) throw EPPMdError("PPMd data error");
    return FCode / FRange;
  }
  // The same for the binary contexts' fixed total of 2^14 (the range stays at least 2^15).
  std::uint32_t BinaryThreshold() {
    FRange >>= kBinaryTotalBits;
    return FCode / FRange;
  }

  // Removes the sub-interval [start, start + size) found by the last threshold.
  void Decode(std::uint32_t start, std::uint32_t size) {
    start *= FRange;
    FLow += start;
    FCode -= start;
    FRange *= size;
    for (;;) {
      if ((FLow ^ (FLow + FRange)) >= kTop) {
        if (FRange >= kBottom) break;
        FRange = (0u - FLow) & (kBottom - 1);
      }
      FCode = (FCode << 8) | NextByte();
      FRange <<= 8;
      FLow <<= 8;
    }
  }

 private:
  static constexpr std::uint32_t kTop = 1u << 24;
  static constexpr std::uint32_t kBottom = 1u << 15;
  static constexpr std::size_t kInputBlock = 65536;

  std::uint32_t NextByte() {
    if (FNext == FEnd) Refill();
    return *FNext++;
  }
  void Refill() {
    const std::size_t got = FInput.Read(FBuffer.data(), FBuffer.size());
    if (got == 0) throw platform::EStreamError("Stream read error");
    FNext = FBuffer.data();
    FEnd = FNext + got;
  }

  platform::TStream& FInput;
  std::vector<std::uint8_t> FBuffer;
  const std::uint8_t* FNext = nullptr;
  const std::uint8_t* FEnd = nullptr;
  std::uint32_t FLow = 0;
  std::uint32_t FRange = 0;
  std::uint32_t FCode = 0;
};

}  // namespace pavona::package
