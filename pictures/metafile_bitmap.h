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

  // The top row, in the decoded top-down pixels, of a source block that starts at row sy and
  // is sh rows high. A device-independent copy (fromBottom) counts rows from the bottom of a
  // bottom-up bitmap; a copy from a device context counts them from the top.
  double SourceTop(double sy, double sh, bool fromBottom) const {
    return fromBottom && !TopDown ? Dib.Pixels.height() - sy - sh : sy;
  }
};

// header: the info header and colour table; bits: the pixels. Nothing when the bitmap is
// malformed, of a kind we do not draw, larger than the limit, or its bits are cut short.
std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> header,
                                          std::span<const std::uint8_t> bits);

// The same for a header immediately followed by its colour table and bits.
std::optional<TRecordDib> DecodeRecordDib(std::span<const std::uint8_t> packed);

}  // namespace pavona::pictures
