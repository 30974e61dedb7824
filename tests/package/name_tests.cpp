// Decoding stored entry names: UTF-8 flag and detection, the Unicode extra fields, and the
// ANSI (1252) and OEM (850) code pages chosen by host system and LooksLikeOem.
#include <gtest/gtest.h>

#include "package/name_decoding.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

TEST(DetectNameEncoding, ClassifiesByteSequences) {
  struct Case {
    const char* bytes;
    TNameEncoding expected;
  } cases[] = {
      {"plain.txt", TNameEncoding::neAscii},
      {"\xC3\xA9t\xC3\xA9", TNameEncoding::neUtf8},
      {"\xF0\x9F\x98\x80", TNameEncoding::neUtf8},
      {"caf\xE9", TNameEncoding::neAnsi},           // lone high byte
      {"\xC3", TNameEncoding::neAnsi},              // sequence still open at the end
      {"\xC3z", TNameEncoding::neAnsi},             // sequence broken by ASCII
      {"\xC0\x80", TNameEncoding::neAnsi},          // overlong lead byte
      {"\xF5\x80\x80\x80", TNameEncoding::neAnsi},  // beyond U+10FFFF
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectNameEncoding(c.bytes), c.expected) << c.bytes;
  }
}

TEST(LooksLikeOem, NeedsOnlyOemLettersAndOneThatIsNoAnsiLetter) {
  EXPECT_TRUE(LooksLikeOem("\x81.txt"));        // ü in 850, no letter in 1252
  EXPECT_TRUE(LooksLikeOem("\xE9\x81"));        // Ú and ü: both OEM letters
  EXPECT_FALSE(LooksLikeOem("\xE9.txt"));       // a letter in both pages
  EXPECT_FALSE(LooksLikeOem("\x81\xB0"));       // 0xB0 is a box-drawing character in 850
  EXPECT_FALSE(LooksLikeOem("ascii"));          // no high byte at all
  EXPECT_FALSE(LooksLikeOem("\x81", 1250));     // not an OEM code page
  EXPECT_TRUE(LooksLikeOem("\x80", 437));       // Ç in 437, € in 1252
}

TZipDirectoryFileHeader Header(const std::string& stored, std::uint8_t host,
                               std::uint16_t flags = 0, const std::string& extra = "") {
  TZipDirectoryFileHeader header;
  header.FFileName = stored;
  header.FVersionMadeBy = static_cast<std::uint16_t>(host << 8 | 20);
  header.FGeneralPurposeBitFlag = flags;
  header.FExtraField = TExtraField(std::vector<std::uint8_t>(extra.begin(), extra.end()));
  return header;
}

TEST(DecodeEntryName, FirstRuleThatAppliesDecides) {
  const std::string unicodePath = ExtraField(0x7075, "\x01" + U32(Crc("a.jpg")) + "\xC3\xA4.jpg");
  const std::string stalePath = ExtraField(0x7075, "\x01" + U32(Crc("old.jpg")) + "\xC3\xA4.jpg");
  const std::string nucx = ExtraField(0x554E, "NUCX" + U32(5) + std::string("\xF6\0.\0j\0p\0g\0", 10));
  struct Case {
    const char* what;
    TZipDirectoryFileHeader header;
    std::string expected;
  } cases[] = {
      {"UTF-8 flag", Header("\xC3\xA9.jpg", 0, 0x0800), "\xC3\xA9.jpg"},
      {"valid UTF-8 without flag, DOS host", Header("\xC3\xA9.jpg", 0), "\xC3\xA9.jpg"},
      {"Unicode Path field with matching CRC", Header("a.jpg", 0, 0, unicodePath), "\xC3\xA4.jpg"},
      {"Unicode Path field of another name", Header("a.jpg", 0, 0, stalePath), "a.jpg"},
      {"NUCX field", Header("x.jpg", 0, 0, nucx), "\xC3\xB6.jpg"},
      {"DOS host: OEM 850", Header("\x81.txt", 0), "\xC3\xBC.txt"},
      {"DOS host, ANSI letter: still OEM", Header("\xE9.txt", 0), "\xC3\x9A.txt"},
      {"Unix host: ANSI 1252", Header("\xE9.txt", 3), "\xC3\xA9.txt"},
      {"Unix host, OEM-looking name", Header("\xE9\x81.txt", 3), "\xC3\x9A\xC3\xBC.txt"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeEntryName(c.header), c.expected) << c.what;
  }
}

}  // namespace
}  // namespace pavona::package
