// Decoding tables for canonical Huffman codes, looked up with several bits at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pavona::package {

// A table entry is 32 bits:
//   bits 0-7    bits to drop for this entry: code length plus extra bits (a subtable link:
//               the main table's width)
//   bits 8-11   code length (in a subtable: the part beyond the main table's width); a link:
//               the subtable's width
//   bit 13      exceptional: value 0 = end of block, 1 = symbol not allowed, 2 = no code
//               matches the bits
//   bit 14      subtable link: value = index of the subtable's first entry
//   bit 15      literal: value = the byte
//   bits 16-31  value: literal byte, length or distance base, code-length symbol, link
// Dropping bits 0-7 of an entry leaves the extra bits at (bits >> code length), so one shift
// consumes a symbol and its extra bits together.
namespace huffman_entry {
inline constexpr std::uint32_t kExceptional = 1u << 13;
inline constexpr std::uint32_t kSubtable = 1u << 14;
inline constexpr std::uint32_t kLiteral = 1u << 15;
inline constexpr std::uint32_t kEndOfBlock = kExceptional;
inline constexpr std::uint32_t kBadSymbol = kExceptional | (1u << 16);
inline constexpr std::uint32_t kNoMatch = kExceptional | (2u << 16);

constexpr unsigned DropBits(std::uint32_t entry) { return entry & 0xFF; }
constexpr unsigned CodeLength(std::uint32_t entry) { return (entry >> 8) & 0xF; }
constexpr std::uint32_t Value(std::uint32_t entry) { return entry >> 16; }
// What a symbol decodes to, before its code length is added: value, flags and extra-bit count.
constexpr std::uint32_t Template(std::uint32_t value, unsigned extraBits = 0) {
  return (value << 16) | extraBits;
}
}  // namespace huffman_entry

inline constexpr unsigned kMaxCodeLength = 15;

// Fills table from the code lengths of count symbols (0 = symbol unused) and the symbols'
// templates. Bit patterns that match no code (an incomplete code) get kNoMatch entries. Raises
// the corrupt-data error for over-subscribed lengths.
void BuildDecodeTable(std::uint32_t* table, unsigned rootBits, const std::uint8_t* lengths,
                             unsigned count, const std::uint32_t* templates);

// Sized for the worst case, an incomplete code whose every long code has its own subtable of
// the largest width, so that no set of lengths can overflow it.
template <unsigned RootBits, unsigned MaxSymbols, unsigned MaxLength = kMaxCodeLength>
class TDfDecodeHuffmanTree {
 public:
  static constexpr unsigned kRootBits = RootBits;
  static constexpr std::size_t kCapacity =
      (std::size_t{1} << RootBits) +
      (RootBits < MaxLength ? MaxSymbols << (MaxLength - RootBits) : 0);

  void Build(const std::uint8_t* lengths, unsigned count, const std::uint32_t* templates) {
    BuildDecodeTable(FEntries.data(), RootBits, lengths, count, templates);
  }
  const std::uint32_t* Entries() const { return FEntries.data(); }

 private:
  std::array<std::uint32_t, kCapacity> FEntries;
};

}  // namespace pavona::package
