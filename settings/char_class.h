// Unicode character classes of the XML reader and the comma-text splitter, looked up in a table
// generated from the Unicode Character Database (scripts/gen-unicode-table.py).
#pragma once

#include <cstddef>
#include <cstdint>

namespace pavona::settings {

// White_Space, general category Zs, or bidirectional class S (tab, line feed, space, U+001F...).
bool IsBlank(char32_t c);
// Lu, Ll, Lt, Lm, Lo, Nl: the characters that may start an attribute name.
bool IsNameStart(char32_t c);
// Name start plus Nd, Mn, Mc, Pc, Cf, and also '-' and '.'.
bool IsNameChar(char32_t c);
// Mn: the non-spacing marks that ride on the character before them.
bool IsNonSpacingMark(char32_t c);

namespace detail {

enum TCharClassBits : std::uint8_t { ccBlank = 1, ccNameStart = 2, ccNameChar = 4, ccMark = 8 };

struct TCharRange {
  char32_t First;
  char32_t Last;
  std::uint8_t Bits;
};

extern const TCharRange kCharRanges[];
extern const std::size_t kCharRangeCount;

}  // namespace detail

}  // namespace pavona::settings
