// Integer text: the conversion that "Seconds" and numeric character references go through.
// Leading spaces, then an optional sign, then decimal digits that fit in 32 signed bits, or one
// to eight hexadecimal digits after "$", "x", "X", "0x" or "0X" taken as a two's-complement
// 32-bit value. Nothing may follow the digits, trailing spaces included.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pavona::settings {

class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::optional<std::int32_t> TryStrToInt(std::string_view text);
// Raises EConvertError "''<text>'' is not a valid integer value" when text does not convert.
std::int32_t StrToInt(std::string_view text);
// One to eight hexadecimal digits and nothing else.
std::optional<std::uint32_t> TryHexToUInt(std::string_view digits);

}  // namespace pavona::settings
