// Device-independent bitmaps inside metafile records, decoded by the BMP decoder once their
// header has shown that the pixels fit the record and stay within a modest size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "pictures/dib.h"

namespace pavona::pictures {

struct TRecordDib {
  TDib Dib;
  bool TopDown = false;  // rows stored from the top (a negative height)
};

// header: the info header and colour table; bits: the pixels. Nothing when the bitmap is
// malformed, of a kind we do not draw, larger than the limit, or its bits are cut short.
std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> header,
                                          std::span<const std::uint8_t> bits);

// The same for a header immediately followed by its colour table and bits.
std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> packed);

}  // namespace pavona::pictures
