// The characters of a document's bytes, decoded in an encoding that may change as reading goes
// on (a header chooses the encoding of everything after it). Supports looking ahead.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace pavona::settings {

class TXMLCharSource {
 public:
  static constexpr char32_t kEnd = 0xFFFFFFFF;

  explicit TXMLCharSource(std::string_view bytes) : FBytes(bytes) {}

  // Skips the byte-order mark if the bytes start with one.
  bool SkipBytes(std::string_view mark);
  // Decode from the next unconsumed character on. Characters looked ahead are decoded again.
  void SetUtf8();
  void SetUtf16();
  void SetCodePage(int codePage, bool multiByte);

  // The character `ahead` places after the next one, or kEnd.
  char32_t Peek(std::size_t ahead = 0);
  void Skip(std::size_t count = 1);
  // Characters consumed since the start of the text (a byte-order mark does not count).
  std::int64_t Consumed() const { return FConsumed; }

 private:
  enum class TMode { Utf8, Utf16, SingleByte, Converted };
  struct TDecoded {
    char32_t Char;
    std::size_t Size;  // bytes it took in its input (the original bytes, or FConverted)
  };

  TDecoded Decode();
  // Puts the looked-ahead characters back and returns the offset in FBytes of the next one.
  std::size_t Rewind();

  std::string_view FBytes;
  std::size_t FOffset = 0;  // in FBytes, or in FConverted in mode Converted
  TMode FMode = TMode::Utf8;
  const std::array<char32_t, 256>* FTable = nullptr;
  std::string FConverted;     // UTF-8 of FBytes from FConvertedFrom on
  std::size_t FConvertedFrom = 0;
  int FConvertedCodePage = 0;
  std::deque<TDecoded> FAhead;
  std::int64_t FConsumed = 0;
};

}  // namespace pavona::settings
