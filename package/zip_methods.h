// The ZIP compression methods: number, name and decoder, in one table that the reader, the
// listing and the writer share.
#pragma once

#include <cstdint>
#include <span>

#include "platform/stream.h"

namespace pavona::package {

class TZipItem;

namespace zip_method {
inline constexpr std::uint16_t kStored = 0;
inline constexpr std::uint16_t kShrunk = 1;
inline constexpr std::uint16_t kReduced1 = 2;
inline constexpr std::uint16_t kReduced4 = 5;
inline constexpr std::uint16_t kImploded = 6;
inline constexpr std::uint16_t kDeflated = 8;
inline constexpr std::uint16_t kDeflate64 = 9;
inline constexpr std::uint16_t kBZip2 = 12;
inline constexpr std::uint16_t kLZMA = 14;
inline constexpr std::uint16_t kWavPack = 97;
inline constexpr std::uint16_t kPPMd = 98;
}  // namespace zip_method

// Decodes the item's data from input into sink, writing at most the item's uncompressed size.
using TMethodDecoder = void (*)(const TZipItem& item, platform::TStream& input,
                                platform::TStream& sink);

struct TZipMethod {
  std::uint16_t Number;
  const char* Name;
  TMethodDecoder Decode;  // null: the method is known but not decoded
};

std::span<const TZipMethod> ZipMethods();
// The row of the method number, or null for a number the table does not know.
const TZipMethod* FindZipMethod(std::uint16_t number);

}  // namespace pavona::package
