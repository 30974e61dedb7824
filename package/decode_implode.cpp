// Imploded entries (method 6): literals and (distance, length) matches into a 4 KiB or 8 KiB
// dictionary, with lengths, the high bits of distances and, in the three-tree form, literals
// coded by Shannon-Fano trees stored at the start of the data.
#include <array>
#include <optional>

#include "package/archive_item.h"
#include "package/legacy_io.h"
#include "package/legacy_methods.h"

namespace pavona::package {

namespace {

constexpr unsigned kMaxCodeLength = 16;
constexpr std::size_t kLiteralCount = 256;
constexpr std::size_t kLengthCount = 64;
constexpr std::size_t kDistanceCount = 64;

// A stored tree lists, in value order, runs of equal code length: one byte per run, the run's
// length less 1 in the high nibble and the code length less 1 in the low one, after a byte
// that gives the number of runs less 1.
//
// Codes are handed out from the longest to the shortest, and within a length from the highest
// value down, counting up from zero in a 16-bit space aligned to the left; each code is sent
// highest bit first. So the codes of one length form a range, and a code's distance from the
// start of its range counts the values of that length down from the highest.
class TShannonFanoTree {
 public:
  TShannonFanoTree(TLegacyBitReader& bits, std::size_t valueCount) {
    std::array<std::uint8_t, kLiteralCount> lengths{};
    std::size_t filled = 0;
    for (std::uint32_t runs = bits.Bits(8) + 1; runs > 0; --runs) {
      const std::uint32_t run = bits.Bits(8);
      const std::size_t count = (run >> 4) + 1;
      CheckLegacyData(filled + count <= valueCount);
      for (std::size_t i = 0; i < count; ++i) lengths[filled++] = static_cast<std::uint8_t>((run & 15) + 1);
    }
    CheckLegacyData(filled == valueCount);

    for (std::size_t value = 0; value < valueCount; ++value) ++FCount[lengths[value]];
    std::uint16_t offset = 0;
    for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
      FOffset[length] = offset;
      offset = static_cast<std::uint16_t>(offset + FCount[length]);
    }
    std::array<std::uint16_t, kMaxCodeLength + 1> next = FOffset;
    for (std::size_t value = 0; value < valueCount; ++value) {
      FValues[next[lengths[value]]++] = static_cast<std::uint8_t>(value);
    }

    // Each length's codes must start on a boundary of their own size and all must fit in 16
    // bits; otherwise some code would be the prefix of another.
    std::uint32_t code = 0;
    for (unsigned length = kMaxCodeLength; length >= 1; --length) {
      if (FCount[length] == 0) continue;
      const unsigned shift = kMaxCodeLength - length;
      CheckLegacyData((code & ((1u << shift) - 1)) == 0);
      FFirst[length] = code >> shift;
      code += std::uint32_t{FCount[length]} << shift;
      CheckLegacyData(code <= (1u << kMaxCodeLength));
    }
  }

  // At most 16 bits; a sequence that is no code (the tree may leave some unused) is corrupt.
  std::uint32_t Decode(TLegacyBitReader& bits) const {
    std::uint32_t code = 0;
    for (unsigned length = 1; length <= kMaxCodeLength; ++length) {
      code = code << 1 | bits.Bit();
      const std::uint32_t fromFirst = code - FFirst[length];
      if (fromFirst < FCount[length]) return FValues[FOffset[length] + FCount[length] - 1 - fromFirst];
    }
    RaiseLegacyCorrupt();
  }

 private:
  std::array<std::uint16_t, kMaxCodeLength + 1> FCount{};   // codes of each length
  std::array<std::uint32_t, kMaxCodeLength + 1> FFirst{};   // the first code of each length
  std::array<std::uint16_t, kMaxCodeLength + 1> FOffset{};  // where its values start in FValues
  std::array<std::uint8_t, kLiteralCount> FValues{};        // by length, then by value
};

}  // namespace

void Explode(platform::TStream& input, platform::TStream& sink, std::int64_t size,
             bool largeDictionary, bool literalTree) {
  TLegacyBitReader bits(input);
  std::optional<TShannonFanoTree> literals;
  if (literalTree) literals.emplace(bits, kLiteralCount);
  const TShannonFanoTree lengths(bits, kLengthCount);
  const TShannonFanoTree distances(bits, kDistanceCount);
  const unsigned lowDistanceBits = largeDictionary ? 7 : 6;
  const std::size_t minMatch = literalTree ? 3 : 2;

  TLegacyOutput output(sink, size);
  while (!output.Full()) {
    if (bits.Bit() != 0) {
      output.Put(static_cast<std::uint8_t>(literals ? literals->Decode(bits) : bits.Bits(8)));
      continue;
    }
    const std::uint32_t low = bits.Bits(lowDistanceBits);
    const std::size_t distance = (distances.Decode(bits) << lowDistanceBits | low) + 1;
    std::size_t length = lengths.Decode(bits) + minMatch;
    if (length == kLengthCount - 1 + minMatch) length += bits.Bits(8);
    output.Copy(distance, length);
  }
}

void DecodeImploded(const TZipItem& item, platform::TStream& input, platform::TStream& sink) {
  Explode(input, sink, item.FUncompressedSize,
          item.FItemInfo.DictionarySize() == TZipDictionarySize::ds8K,
          item.FItemInfo.ShannonFanoTreeCount() == 3);
}

}  // namespace pavona::package
