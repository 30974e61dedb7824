#include "package/inflate_huffman.h"

#include <algorithm>

#include "package/inflate_corrupt.h"

namespace pavona::package {

namespace {

constexpr unsigned kMaxSymbols = 288;

constexpr std::uint32_t PrefixMask(unsigned bits) { return (1u << bits) - 1; }

std::uint32_t MakeEntry(std::uint32_t symbolTemplate, unsigned length) {
  return symbolTemplate + length + (length << 8);
}

std::uint32_t ReverseBits(std::uint32_t code, unsigned length) {
  std::uint32_t reversed = 0;
  for (unsigned i = 0; i < length; ++i) {
    reversed = (reversed << 1) | (code & 1);
    code >>= 1;
  }
  return reversed;
}

// Writes entry at every index whose low `length` bits are `code`.
void Replicate(std::uint32_t* table, unsigned tableBits, std::uint32_t code, unsigned length,
               std::uint32_t entry) {
  for (std::uint32_t i = code; i < (1u << tableBits); i += 1u << length) table[i] = entry;
}

}  // namespace

void BuildDecodeTable(std::uint32_t* table, unsigned rootBits, const std::uint8_t* lengths,
                      unsigned count, const std::uint32_t* templates) {
  using namespace huffman_entry;
  std::array<unsigned, kMaxCodeLength + 1> lengthCount{};
  for (unsigned s = 0; s < count; ++s) ++lengthCount[lengths[s]];
  lengthCount[0] = 0;

  int unusedCodes = 1;
  for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
    unusedCodes = unusedCodes * 2 - static_cast<int>(lengthCount[length]);
    CheckInflateData(unusedCodes >= 0,
                     "code lengths are over-subscribed [TDfDecodeHuffmanTree.Build]");
  }

  // Symbols in canonical order (by length, then by symbol), with their codes bit-reversed,
  // because the stream sends codes most significant bit first into an LSB-first reader.
  std::array<unsigned, kMaxCodeLength + 2> offset{};
  for (unsigned length = 1; length <= kMaxCodeLength; ++length)
    offset[length + 1] = offset[length] + lengthCount[length];
  const unsigned used = offset[kMaxCodeLength + 1];
  std::array<std::uint16_t, kMaxSymbols> sorted;
  for (unsigned s = 0; s < count; ++s)
    if (lengths[s] != 0) sorted[offset[lengths[s]]++] = static_cast<std::uint16_t>(s);

  std::array<std::uint16_t, kMaxSymbols> reversed;
  std::uint32_t code = 0;
  unsigned previousLength = 0;
  for (unsigned i = 0; i < used; ++i) {
    const unsigned length = lengths[sorted[i]];
    if (i > 0) ++code;
    code <<= length - previousLength;
    previousLength = length;
    reversed[i] = static_cast<std::uint16_t>(ReverseBits(code, length));
  }

  std::fill(table, table + (std::size_t{1} << rootBits), MakeEntry(kNoMatch, rootBits));
  std::size_t nextFree = std::size_t{1} << rootBits;
  unsigned i = 0;
  for (; i < used && lengths[sorted[i]] <= rootBits; ++i)
    Replicate(table, rootBits, reversed[i], lengths[sorted[i]],
              MakeEntry(templates[sorted[i]], lengths[sorted[i]]));

  // Longer codes sharing their first rootBits bits are adjacent in canonical order; each such
  // group gets one subtable, as wide as the group's longest (last) code needs.
  while (i < used) {
    const std::uint32_t prefix = reversed[i] & PrefixMask(rootBits);
    unsigned groupEnd = i + 1;
    while (groupEnd < used && (reversed[groupEnd] & PrefixMask(rootBits)) == prefix) ++groupEnd;
    const unsigned subBits = lengths[sorted[groupEnd - 1]] - rootBits;
    std::uint32_t* subtable = table + nextFree;
    table[prefix] =
        kSubtable | (static_cast<std::uint32_t>(nextFree) << 16) | (subBits << 8) | rootBits;
    std::fill(subtable, subtable + (std::size_t{1} << subBits), MakeEntry(kNoMatch, subBits));
    for (; i < groupEnd; ++i) {
      const unsigned subLength = lengths[sorted[i]] - rootBits;
      Replicate(subtable, subBits, reversed[i] >> rootBits, subLength,
                MakeEntry(templates[sorted[i]], subLength));
    }
    nextFree += std::size_t{1} << subBits;
  }
}

}  // namespace pavona::package
