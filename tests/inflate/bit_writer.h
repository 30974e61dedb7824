// Builds Deflate streams field by field for the decoder tests.
#pragma once

#include <cstdint>
#include <vector>

namespace pavona::package::test {

class TBitWriter {
 public:
  // Appends count bits of value, least significant first: header fields and extra bits.
  TBitWriter& Bits(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) PutBit((value >> i) & 1);
    return *this;
  }
  // Appends a Huffman code, most significant bit first.
  TBitWriter& Code(std::uint32_t code, unsigned length) {
    for (unsigned i = length; i-- > 0;) PutBit((code >> i) & 1);
    return *this;
  }
  // Appends a literal/length symbol of the fixed code.
  TBitWriter& FixedLitLen(unsigned symbol) {
    if (symbol < 144) return Code(0x30 + symbol, 8);
    if (symbol < 256) return Code(0x190 + symbol - 144, 9);
    if (symbol < 280) return Code(symbol - 256, 7);
    return Code(0xC0 + symbol - 280, 8);
  }
  // Appends a distance symbol of the fixed code.
  TBitWriter& FixedDistance(unsigned symbol) { return Code(symbol, 5); }
  TBitWriter& AlignToByte() {
    while (FBitCount != 0) PutBit(0);
    return *this;
  }
  TBitWriter& Byte(std::uint8_t value) { return Bits(value, 8); }

  // The stream so far, its last byte completed with zero bits.
  std::vector<std::uint8_t> Finish() const { return FBytes; }

 private:
  void PutBit(std::uint32_t bit) {
    if (FBitCount == 0) FBytes.push_back(0);
    FBytes.back() |= static_cast<std::uint8_t>(bit << FBitCount);
    FBitCount = (FBitCount + 1) % 8;
  }

  std::vector<std::uint8_t> FBytes;
  unsigned FBitCount = 0;
};

}  // namespace pavona::package::test
