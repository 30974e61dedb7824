// Charset names of XML headers and the code pages they stand for, and how each code page is
// converted on this host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pavona::settings {

inline constexpr int kCodePageAnsi = 0;  // the system's ANSI code page: Windows-1252 here
inline constexpr int kCodePageUtf16 = 1200;
inline constexpr int kCodePageUtf8 = 65001;

// The code page of a header's encoding name; the ASCII letters' case does not matter.
std::optional<int> CodePageOfCharset(std::string_view name);
// The charset name written for a code page (code page 0 counts as Windows-1252); "" if none.
std::string CharsetOfCodePage(int codePage);

struct TCodePageConverter {
  int CodePage;  // a Windows code page number
  bool MultiByte;  // characters may take several bytes, or shift states
};
// How text in the code page is converted; nullopt when the host cannot convert it.
std::optional<TCodePageConverter> ConverterOfCodePage(int codePage);

}  // namespace pavona::settings
