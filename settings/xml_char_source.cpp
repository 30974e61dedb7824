#include "settings/xml_char_source.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/codepage.h"
#include "settings/utf8.h"

namespace pavona::settings {

namespace {

// The characters of the 256 bytes of a single-byte code page, built once per code page.
const std::array<char32_t, 256>* SingleByteTable(int codePage) {
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<std::array<char32_t, 256>>> tables;
  const std::lock_guard lock(mutex);
  auto& table = tables[codePage];
  if (!table) {
    table = std::make_unique<std::array<char32_t, 256>>();
    for (int b = 0; b < 256; ++b) {
      const std::string utf8 = platform::ToUtf8(std::string(1, static_cast<char>(b)), codePage);
      std::size_t i = 0;
      const char32_t c = utf8.empty() ? kReplacementChar : DecodeUtf8(utf8, i);
      (*table)[b] = i == utf8.size() ? c : kReplacementChar;
    }
  }
  return table.get();
}

}  // namespace

bool TXMLCharSource::SkipBytes(std::string_view mark) {
  if (!FBytes.substr(FOffset).starts_with(mark)) return false;
  FOffset += mark.size();
  return true;
}

std::size_t TXMLCharSource::Rewind() {
  for (const TDecoded& d : FAhead) FOffset -= d.Size;
  FAhead.clear();
  if (FMode != TMode::Converted) return FOffset;
  // The bytes behind the converted text read so far: convert it back.
  const std::size_t consumed =
      platform::FromUtf8(std::string_view(FConverted).substr(0, FOffset), FConvertedCodePage)
          .size();
  // Converting back need not give the bytes that were read (a shifting encoding may write a
  // character another way), so the position is kept inside the document.
  return std::min(FConvertedFrom + consumed, FBytes.size());
}

void TXMLCharSource::SetUtf8() {
  FOffset = Rewind();
  FMode = TMode::Utf8;
}

void TXMLCharSource::SetUtf16() {
  FOffset = Rewind();
  FMode = TMode::Utf16;
}

void TXMLCharSource::SetCodePage(int codePage, bool multiByte) {
  FOffset = Rewind();
  if (!multiByte) {
    FMode = TMode::SingleByte;
    FTable = SingleByteTable(codePage);
    return;
  }
  // Multi-byte and shifting code pages are converted in one go from here to the end.
  FMode = TMode::Converted;
  FConvertedFrom = FOffset;
  FConvertedCodePage = codePage;
  FConverted = platform::ToUtf8(FBytes.substr(FOffset), codePage);
  FOffset = 0;
}

TXMLCharSource::TDecoded TXMLCharSource::Decode() {
  const std::string_view input = FMode == TMode::Converted ? std::string_view(FConverted) : FBytes;
  if (FOffset >= input.size()) return {kEnd, 0};
  const std::size_t start = FOffset;
  switch (FMode) {
    case TMode::Utf8:
    case TMode::Converted: {
      const char32_t c = DecodeUtf8(input, FOffset);
      return {c, FOffset - start};
    }
    case TMode::SingleByte:
      ++FOffset;
      return {(*FTable)[static_cast<unsigned char>(input[start])], 1};
    case TMode::Utf16: {
      const auto unit = [&](std::size_t at) -> char32_t {
        return static_cast<unsigned char>(input[at]) |
               (static_cast<char32_t>(static_cast<unsigned char>(input[at + 1])) << 8);
      };
      if (start + 2 > input.size()) {  // a lone last byte
        FOffset = input.size();
        return {kEnd, 0};
      }
      const char32_t first = unit(start);
      FOffset += 2;
      if (first >= 0xDC00 && first <= 0xDFFF) return {kReplacementChar, 2};
      if (first < 0xD800 || first > 0xDBFF) return {first, 2};
      if (start + 4 <= input.size()) {
        const char32_t second = unit(start + 2);
        if (second >= 0xDC00 && second <= 0xDFFF) {
          FOffset += 2;
          return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 4};
        }
      }
      return {kReplacementChar, 2};
    }
  }
  return {kEnd, 0};
}

char32_t TXMLCharSource::Peek(std::size_t ahead) {
  while (FAhead.size() <= ahead) {
    const TDecoded d = Decode();
    if (d.Char == kEnd) return kEnd;
    FAhead.push_back(d);
  }
  return FAhead[ahead].Char;
}

void TXMLCharSource::Skip(std::size_t count) {
  for (; count > 0 && Peek() != kEnd; --count) {
    FAhead.pop_front();
    ++FConsumed;
  }
}

}  // namespace pavona::settings
