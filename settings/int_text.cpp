#include "settings/int_text.h"

namespace pavona::settings {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::optional<std::uint32_t> TryHexToUInt(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : digits) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    value = (value << 4) | static_cast<std::uint32_t>(d);
  }
  return value;
}

std::optional<std::int32_t> TryStrToInt(std::string_view text) {
  std::size_t p = text.find_first_not_of(' ');
  if (p == std::string_view::npos) return std::nullopt;
  bool negative = false;
  if (text[p] == '+' || text[p] == '-') negative = text[p++] == '-';
  const std::string_view rest = text.substr(p);

  std::size_t prefix = 0;
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    prefix = 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    prefix = 2;
  }
  std::uint32_t magnitude = 0;
  if (prefix != 0) {
    const auto hex = TryHexToUInt(rest.substr(prefix));
    if (!hex) return std::nullopt;
    magnitude = *hex;
  } else {
    if (rest.empty()) return std::nullopt;
    const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
    std::uint64_t value = 0;
    for (char c : rest) {
      if (c < '0' || c > '9') return std::nullopt;
      value = value * 10 + static_cast<std::uint64_t>(c - '0');
      if (value > limit) return std::nullopt;
    }
    magnitude = static_cast<std::uint32_t>(value);
  }
  // Unsigned arithmetic: hexadecimal values are two's complement, and -(-2^31) wraps to itself.
  const std::uint32_t bits = negative ? 0u - magnitude : magnitude;
  return static_cast<std::int32_t>(bits);
}

std::int32_t StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text)) return *value;
  throw EConvertError("''" + std::string(text) + "'' is not a valid integer value");
}

}  // namespace pavona::settings
