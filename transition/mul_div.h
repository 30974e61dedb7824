// MulDiv: the rounding multiply-divide that all layout, timing and effect geometry scales with.
#pragma once

#include <cstdint>

namespace pavona::transition {

// a × b / c with a 64-bit intermediate, rounded to the nearest integer with halves away from
// zero; −1 when c is 0 or the result does not fit in 32 bits.
constexpr std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t product = static_cast<std::int64_t>(a) * b;
  const bool negative = (product < 0) != (c < 0);
  const std::int64_t magnitude = product < 0 ? -product : product;
  const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
  const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
  const std::int64_t result = negative ? -quotient : quotient;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<std::int32_t>(result);
}

}  // namespace pavona::transition
