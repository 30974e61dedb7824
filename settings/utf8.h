// UTF-8, the form every string of the settings library is kept in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pavona::settings {

inline constexpr char32_t kReplacementChar = 0xFFFD;

// Decodes the code point at text[i] and moves i past it. A byte that starts no valid sequence
// (or a surrogate) reads as U+FFFD and moves i by one.
char32_t DecodeUtf8(std::string_view text, std::size_t& i);
// Appends c; surrogates and values beyond U+10FFFF append U+FFFD.
void AppendUtf8(std::string& out, char32_t c);

}  // namespace pavona::settings
