// Turning the stored bytes of an entry name into UTF-8 text.
#pragma once

#include <string>
#include <string_view>

#include "package/zip_headers.h"

namespace pavona::package {

enum class TNameEncoding { neAscii, neAnsi, neUtf8 };

// Plain ASCII, UTF-8 (well-formed sequences and at least one high byte) or ANSI (anything else).
TNameEncoding DetectNameEncoding(std::string_view bytes);

// Whether every high byte is a letter of the OEM code page and at least one is not a letter of
// its ANSI counterpart: a sign that a non-DOS host still stored an OEM name. Known OEM code
// pages: 437, 720, 737, 775, 850, 852, 855, 857, 862, 866; any other gives false.
bool LooksLikeOem(std::string_view bytes, int oemCodePage = 850);

// The decoded name of a central directory entry, by the first rule that applies: UTF-8 flag or
// UTF-8 content, the Unicode Path extra field, the NUCX extra field, then ANSI or OEM.
std::string DecodeEntryName(const TZipDirectoryFileHeader& header);

}  // namespace pavona::package
