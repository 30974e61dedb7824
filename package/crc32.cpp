#include "package/crc32.h"

#include <array>

namespace pavona::package {

namespace {

// Slicing by eight: the sink computes the CRC of every extracted byte, so it sits on the hot path.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

constexpr Tables MakeTables() {
  Tables t{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    t[0][n] = c;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t n = 0; n < 256; ++n) t[k][n] = (t[k - 1][n] >> 8) ^ t[0][t[k - 1][n] & 0xFF];
  }
  return t;
}

constexpr Tables kTables = MakeTables();

}  // namespace

const std::uint32_t* Crc32Table() { return kTables[0].data(); }

std::uint32_t UpdateCrc32(std::uint32_t running, const void* data, std::size_t count) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  std::uint32_t c = running;
  while (count >= 8) {
    const std::uint32_t lo = c ^ (std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 |
                                  std::uint32_t{p[2]} << 16 | std::uint32_t{p[3]} << 24);
    c = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
        kTables[4][lo >> 24] ^ kTables[3][p[4]] ^ kTables[2][p[5]] ^ kTables[1][p[6]] ^
        kTables[0][p[7]];
    p += 8;
    count -= 8;
  }
  while (count-- > 0) c = kTables[0][(c ^ *p++) & 0xFF] ^ (c >> 8);
  return c;
}

std::uint32_t Crc32Of(std::string_view bytes) {
  return ~UpdateCrc32(0xFFFFFFFFu, bytes.data(), bytes.size());
}

}  // namespace pavona::package
