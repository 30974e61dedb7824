#include "settings/xml_value.h"

#include "base/ascii.h"

#include <cstdint>
#include <cstdio>
#include <optional>

#include "settings/int_text.h"
#include "settings/utf8.h"

namespace pavona::settings {

namespace {

struct TReference {
  char32_t Char;
  std::size_t Length;
};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (base::AsciiLower(text[i]) != prefix[i]) return false;
  }
  return true;
}

// The reference that starts at text[i] (an '&'), if it is one.
std::optional<TReference> ReferenceAt(std::string_view text, std::size_t i) {
  static constexpr struct {
    std::string_view Name;
    char32_t Char;
  } kEntities[] = {{"&amp;", U'&'}, {"&lt;", U'<'}, {"&gt;", U'>'}, {"&apos;", U'\''},
                   {"&quot;", U'"'}};
  const std::string_view rest = text.substr(i);
  for (const auto& entity : kEntities) {
    if (StartsWithNoCase(rest, entity.Name)) return TReference{entity.Char, entity.Name.size()};
  }
  if (!rest.starts_with("&#")) return std::nullopt;
  const std::size_t semicolon = rest.find(';', 2);
  if (semicolon == std::string_view::npos) return std::nullopt;
  const std::string_view number = rest.substr(2, semicolon - 2);
  std::int32_t value = 0;
  if (number.starts_with('x') || number.starts_with('X')) {
    const auto hex = TryHexToUInt(number.substr(1));
    if (!hex) return std::nullopt;
    value = static_cast<std::int32_t>(*hex);
  } else {
    const auto decimal = TryStrToInt(number);
    if (!decimal) return std::nullopt;
    value = *decimal;
  }
  if (value < 0) return std::nullopt;
  // A number beyond Unicode keeps its low 16 bits, one UTF-16 unit.
  const char32_t c = value <= 0x10FFFF ? static_cast<char32_t>(value) : (value & 0xFFFF);
  return TReference{c, semicolon + 1};
}

void AppendReference(std::string& out, unsigned unit, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&#x%.*X;", digits, unit);
  out += buffer;
}

bool IsWrittenBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string Encode(std::string_view text, bool forElementValue) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  const bool onlyBlanks =
      !text.empty() && text.find_first_not_of(" \t\n\r") == std::string_view::npos;
  if (onlyBlanks) {
    AppendReference(out, static_cast<unsigned char>(text[0]), 2);
    i = 1;
  }
  while (i < text.size()) {
    if (text[i] == '&') {
      out += forElementValue && ReferenceAt(text, i) ? "&amp;amp;" : "&amp;";
      ++i;
      continue;
    }
    const char32_t c = DecodeUtf8(text, i);
    switch (c) {
      case U'<': out += "&lt;"; continue;
      case U'>': out += "&gt;"; continue;
      case U'\'': out += "&apos;"; continue;
      case U'"': out += "&quot;"; continue;
      default: break;
    }
    if (c > 0xFFFF) {
      const char32_t v = c - 0x10000;
      AppendReference(out, 0xD800 + (v >> 10), 4);
      AppendReference(out, 0xDC00 + (v & 0x3FF), 4);
    } else if (c > 0xFF) {
      AppendReference(out, c, 4);
    } else if (c >= 0x80 || c == 0x7F || (c < 0x20 && !IsWrittenBlank(static_cast<char>(c)))) {
      AppendReference(out, c, 2);
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string DecodeXMLValue(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char32_t high = 0;  // a high surrogate waiting for its low half
  std::size_t i = 0;
  while (i < text.size()) {
    const auto reference = text[i] == '&' ? ReferenceAt(text, i) : std::nullopt;
    if (high != 0 && !(reference && IsLowSurrogate(reference->Char))) {
      AppendUtf8(out, kReplacementChar);
      high = 0;
    }
    if (!reference) {
      out += text[i++];
      continue;
    }
    i += reference->Length;
    if (high != 0) {
      AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (reference->Char - 0xDC00));
      high = 0;
    } else if (IsHighSurrogate(reference->Char)) {
      high = reference->Char;
    } else {
      AppendUtf8(out, reference->Char);
    }
  }
  if (high != 0) AppendUtf8(out, kReplacementChar);
  return out;
}

std::string EncodeXMLValue(std::string_view text) { return Encode(text, false); }

std::string EncodeXMLElementValue(std::string_view value) { return Encode(value, true); }

}  // namespace pavona::settings
