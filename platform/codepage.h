// Text conversion between Windows code pages and UTF-8, through the host's converter.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pavona::platform {

class ECodePageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The code page the archive names and "ANSI" text use: Windows-1252.
inline constexpr int kAnsiCodePage = 1252;
// The code page of DOS-era archive names: 850.
inline constexpr int kOemCodePage = 850;
inline constexpr int kUtf16CodePage = 1200;
inline constexpr int kUtf8CodePage = 65001;

struct TCodePageInfo {
  bool MultiByte;  // characters may take several bytes, or shift states
};
// What the host knows of a Windows code page number; nullopt when it cannot convert it.
std::optional<TCodePageInfo> CodePageInfo(int codePage);

// Converts bytes in the code page to UTF-8. Raises ECodePageError when the host cannot convert
// the code page; bytes that do not convert become U+FFFD.
std::string ToUtf8(std::string_view bytes, int codePage);
// Converts UTF-8 to the code page; characters it cannot hold become '?'.
std::string FromUtf8(std::string_view utf8, int codePage);

}  // namespace pavona::platform
