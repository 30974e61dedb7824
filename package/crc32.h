// The ZIP CRC-32: polynomial 0xEDB88320, running value starts at all ones, result complemented.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pavona::package {

// Feeds bytes into a running (not complemented) value.
std::uint32_t UpdateCrc32(std::uint32_t running, const void* data, std::size_t count);
// The finished CRC-32 of a whole byte string.
std::uint32_t Crc32Of(std::string_view bytes);
// The 256-entry table, also used by the traditional PKWARE cipher's key update.
const std::uint32_t* Crc32Table();

}  // namespace pavona::package
