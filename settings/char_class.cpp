#include "settings/char_class.h"

#include <algorithm>

namespace pavona::settings {

namespace {

std::uint8_t ClassBits(char32_t c) {
  using detail::kCharRanges;
  const auto* end = kCharRanges + detail::kCharRangeCount;
  // The ranges are sorted and disjoint: the first range ending at or after c is the only candidate.
  const auto* it = std::lower_bound(kCharRanges, end, c,
                                    [](const detail::TCharRange& r, char32_t v) { return r.Last < v; });
  return it != end && it->First <= c ? it->Bits : 0;
}

}  // namespace

bool IsBlank(char32_t c) { return (ClassBits(c) & detail::ccBlank) != 0; }

bool IsNameStart(char32_t c) { return (ClassBits(c) & detail::ccNameStart) != 0; }

bool IsNameChar(char32_t c) {
  return c == U'-' || c == U'.' || (ClassBits(c) & detail::ccNameChar) != 0;
}

bool IsNonSpacingMark(char32_t c) { return (ClassBits(c) & detail::ccMark) != 0; }

}  // namespace pavona::settings
