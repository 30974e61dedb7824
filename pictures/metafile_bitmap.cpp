#include "pictures/metafile_bitmap.h"

#include <cstdlib>
#include <exception>
#include <vector>

#include "pictures/metafile_data.h"

namespace pavona::pictures {

namespace {

// Bitmaps in a metafile are pieces of a picture; this bounds what one record can allocate.
constexpr long long kMaxRecordPixels = 1LL << 24;

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// True when the header describes a bitmap whose pixels fit in available bytes.
bool Plausible(std::span<const std::uint8_t> header, std::size_t available, bool& topDown) {
  if (header.size() < 12) return false;
  const std::uint32_t size = U32(header, 0);
  long long width = 0, height = 0;
  unsigned bitCount = 0;
  std::uint32_t compression = 0;
  if (size == 12) {
    width = header[4] | (header[5] << 8);
    height = header[6] | (header[7] << 8);
    bitCount = header[10] | (header[11] << 8);
  } else {
    if (header.size() < 40 || size < 40 || size > header.size()) return false;
    width = static_cast<std::int32_t>(U32(header, 4));
    height = static_cast<std::int32_t>(U32(header, 8));
    bitCount = header[14] | (header[15] << 8);
    compression = U32(header, 16);
  }
  topDown = height < 0;
  height = std::llabs(height);
  if (width <= 0 || height <= 0 || width * height > kMaxRecordPixels) return false;
  if (compression == 1 || compression == 2) return true;  // run lengths stop where data ends
  if (compression != 0 && compression != 3 && compression != 6) return false;
  const long long stride = (width * bitCount + 31) / 32 * 4;
  return stride * height <= static_cast<long long>(available);
}

std::optional<TRecordDib> Decode(std::span<const std::uint8_t> packed, std::size_t bitsOffset,
                                 std::size_t bitsSize) {
  TRecordDib result;
  if (!Plausible(packed, bitsSize, result.TopDown)) return std::nullopt;
  try {
    result.Dib = DecodeDib(packed, bitsOffset, TDibKind::File, kInvalidMetafile);
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return result;
}

}  // namespace

std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> header,
                                          std::span<const std::uint8_t> bits) {
  std::vector<std::uint8_t> packed(header.begin(), header.end());
  packed.insert(packed.end(), bits.begin(), bits.end());
  return Decode(packed, header.size(), bits.size());
}

std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> packed) {
  return Decode(packed, 0, packed.size());
}

}  // namespace pavona::pictures
