// What an entry knows about itself (directory test, attributes, time stamp, Zip64 sizes), the
// extra field walker, name masks and the item list's lookup.
#include <gtest/gtest.h>

#include "package/archive_error.h"
#include "package/archive_list.h"
#include "package/file_mask.h"
#include "package/zip_archive.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

// The single entry of a hand-made archive, as loaded.
class OneEntry {
 public:
  explicit OneEntry(const ZipEntry& entry) {
    const std::string zip = BuildZip({entry});
    FStream = platform::TMemoryStream(std::vector<std::uint8_t>(zip.begin(), zip.end()));
    FArchive = std::make_unique<TZipArchive>(FStream, "one.zip");
    FArchive->Load();
  }
  TZipItem& item() { return FArchive->Items(0); }

 private:
  platform::TMemoryStream FStream;
  std::unique_ptr<TZipArchive> FArchive;
};

TEST(ZipItem, DirectoriesAndAttributes) {
  struct Case {
    const char* name;
    std::uint16_t madeBy;
    std::uint32_t external;
    bool directory;
    std::uint32_t attributes;
  } cases[] = {
      {"img/", 20, 0, true, 0},
      {"img", 20, 0x10, true, 0x10},
      {"img\\", 20, 0, true, 0},
      {"a.jpg", 20, 0x21, false, 0x21},                  // DOS attributes as stored
      {"a.jpg", 3 << 8 | 20, 0x81A40000u, false, 0},     // rw-r--r-- regular file
      {"a.jpg", 3 << 8 | 20, 0x81240000u, false, 0x01},  // owner may not write
      {"d", 3 << 8 | 20, 0x41ED0000u, false, 0x10},      // mode directory, no 0x10 DOS bit
      {"l", 3 << 8 | 20, 0xA1FF0000u, false, 0x04},      // symbolic link: system
      {"a.jpg", 20, 0x81240000u, false, 0x01},           // mode in the high bits, DOS host
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OneEntry one({.name = c.name, .versionMadeBy = c.madeBy, .externalAttributes = c.external});
    EXPECT_EQ(one.item().IsDirectory(), c.directory);
    EXPECT_EQ(one.item().NativeFileAttributes(), c.attributes);
  }
}

TEST(ZipItem, TimeStampConversion) {
  OneEntry valid({.name = "a", .time = 0x6000 | 30 << 5 | 15, .date = 0x5A21});
  const std::time_t t = valid.item().LastModTimeAsDateTime();
  std::tm local = *std::localtime(&t);
  EXPECT_EQ(local.tm_year + 1900, 2025);
  EXPECT_EQ(local.tm_mon + 1, 1);
  EXPECT_EQ(local.tm_mday, 1);
  EXPECT_EQ(local.tm_hour, 12);
  EXPECT_EQ(local.tm_min, 30);
  EXPECT_EQ(local.tm_sec, 30);

  struct Case {
    std::uint16_t date, time;
    const char* message;
  } invalid[] = {
      {0, 0, "Invalid argument to date encode"},                         // month 0
      {(45 << 9) | (2 << 5) | 29, 0, "Invalid argument to date encode"},  // 29 Feb 2025
      {(44 << 9) | (2 << 5) | 29, 24 << 11, "Invalid argument to time encode"},
      {0x5A21, 60 << 5, "Invalid argument to time encode"},
      {0x5A21, 30, "Invalid argument to time encode"},  // 60 seconds
  };
  for (const Case& c : invalid) {
    OneEntry one({.name = "a", .time = c.time, .date = c.date});
    try {
      one.item().LastModTimeAsDateTime();
      ADD_FAILURE() << "converted " << c.date << " " << c.time;
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(ZipItem, Zip64SizesOnlyBehindSentinels) {
  // A directory entry whose compressed size holds the sentinel takes it from the sub-field.
  ZipEntry with{.name = "dir/", .crc = 0};
  with.centralExtra = ExtraField(1, U64(0x100000000ull));
  ZipEntry without = with;
  without.centralExtra.clear();
  // Sizes of the hand-made records: uncompressed 0 (no sentinel), compressed 0xFFFFFFFF.
  with.data = without.data = std::string();
  auto patch = [](std::string zip) {
    const std::size_t central = zip.find("PK\x01\x02");
    for (int i = 0; i < 4; ++i) zip[central + 20 + i] = '\xFF';
    return zip;
  };
  for (const auto& [entry, expected] :
       {std::pair{with, std::int64_t{0x100000000ll}}, std::pair{without, std::int64_t{0xFFFFFFFFll}}}) {
    const std::string zip = patch(BuildZip({entry}));
    platform::TMemoryStream stream(std::vector<std::uint8_t>(zip.begin(), zip.end()));
    TZipArchive archive(stream, "z.zip");
    archive.Load();
    EXPECT_EQ(archive.Items(0).FCompressedSize, expected);
    EXPECT_EQ(archive.Items(0).FUncompressedSize, 0);
  }
}

TEST(ZipItem, Zip64FieldTooShortIsAReadError) {
  ZipEntry entry{.name = "a", .content = "abc"};
  entry.centralExtra = ExtraField(1, U32(7));
  std::string zip = BuildZip({entry});
  const std::size_t central = zip.find("PK\x01\x02");
  for (int i = 0; i < 4; ++i) zip[central + 24 + i] = '\xFF';
  platform::TMemoryStream stream(std::vector<std::uint8_t>(zip.begin(), zip.end()));
  TZipArchive archive(stream, "z.zip");
  EXPECT_THROW(archive.Load(), platform::EStreamError);
}

TEST(ExtraField, LastSubFieldIsCutToWhatRemains) {
  const std::string bytes = ExtraField(0x1234, "ab") + U16(0x5678) + U16(100) + "0123456789";
  TExtraField field(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  EXPECT_EQ(field.Get(0x1234).value(), "ab");
  EXPECT_EQ(field.Get(0x5678).value(), "0123456789");
  EXPECT_EQ(field.Buffer()[8], 10);  // claimed 100, lowered in the buffer
  EXPECT_FALSE(field.Get(0x9999).has_value());
  EXPECT_EQ(field.GetStream(0x1234)->Size(), 2);
}

TEST(FileMask, PatternsAndMaskLists) {
  struct Case {
    const char* name;
    bool directory;
    const char* mask;
    bool matches;
  } cases[] = {
      {"README", false, "*.*", true},         // no dot needed
      {"img/a.jpg", false, "*.*", true},
      {"img/", true, "*.*", true},            // trailing separator dropped for directories
      {"", false, "*.*", false},              // empty last component
      {"c:", false, "*.*", false},
      {"a.JPG", false, "*.jpg", true},        // ASCII letters without case
      {"\xC3\xA9.jpg", false, "\xC3\x89.jpg", false},  // other letters with case
      {"a.png", false, "*.jpg;*.png", true},
      {"a.gif", false, " *.jpg ; *.png ", false},
      {"abc", false, "a?c", true},
      {"ac", false, "a?c", false},
      {"img/a.jpg", false, "img\\*.jpg", true},
      {"old/a.jpg", false, "img/*.jpg", false},
      {"img/a.jpg", false, "C:img\\a.*", true},     // drive of the mask ignored
      {"a.jpg", false, "", false},                 // empty list matches nothing
      {"Banner.jpg", false, "b*", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MatchesStoredNameEx(c.name, c.directory, c.mask), c.matches)
        << c.name << " ~ " << c.mask;
  }
}

TEST(ArchiveList, FindIgnoresAsciiCase) {
  TArchiveList list;
  for (const char* name : {"a.jpg", "B.JPG", "img/a.jpg", "\xC3\xA9.jpg"}) {
    auto item = std::make_unique<TZipItem>();
    item->FFileName = name;
    list.Add(std::move(item));
  }
  EXPECT_EQ(list.Find("A.JPG"), 0);
  EXPECT_EQ(list.Find("b.jpg"), 1);
  EXPECT_EQ(list.Find("IMG/A.JPG"), 2);
  EXPECT_EQ(list.Find("\xC3\xA9.jpg"), 3);
  EXPECT_EQ(list.Find("\xC3\x89.jpg"), -1);
  EXPECT_EQ(list.Find("c.jpg"), -1);
  list.Delete(0);
  EXPECT_EQ(list.Find("b.jpg"), 0);
  EXPECT_EQ(list.Find("a.jpg"), -1);
}

}  // namespace
}  // namespace pavona::package
