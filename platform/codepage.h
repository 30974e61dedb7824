// Text conversion between code pages and UTF-8, through the host's converter.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace pavona::platform {

class ECodePageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The code page the archive names and "ANSI" text use: Windows-1252.
inline constexpr const char* kAnsiCodePage = "WINDOWS-1252";
// The code page of DOS-era archive names: 850.
inline constexpr const char* kOemCodePage = "CP850";

// Converts bytes in the named encoding (an iconv name such as "WINDOWS-1252", "CP850",
// "UTF-16LE", "ISO-8859-2") to UTF-8. Raises ECodePageError when the encoding is unknown;
// bytes that do not convert become U+FFFD.
std::string ToUtf8(std::string_view bytes, const std::string& encoding);
// Converts UTF-8 to the named encoding; characters it cannot hold become '?'.
std::string FromUtf8(std::string_view utf8, const std::string& encoding);
// Whether the host's converter knows the encoding.
bool IsKnownEncoding(const std::string& encoding);

}  // namespace pavona::platform
