// Finding and reading the archive's end record and directory: comments, trailing bytes,
// programs in front of the archive, Zip64, and the files that are no archive at all.
#include <gtest/gtest.h>

#include "package/archive_error.h"
#include "package/zip_archive.h"
#include "platform/stream.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;
using platform::TMemoryStream;

TMemoryStream StreamOf(const std::string& bytes) {
  return TMemoryStream(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

// Loads the archive bytes from memory and returns the decoded entry names.
std::vector<std::string> LoadNames(const std::string& bytes) {
  TMemoryStream stream = StreamOf(bytes);
  TZipArchive archive(stream, "test.zip");
  archive.Load();
  std::vector<std::string> names;
  for (int i = 0; i < archive.Count(); ++i) names.push_back(archive.Items(i).FFileName);
  return names;
}

// Counts reads, to see that the fast path costs one small read.
class CountingStream final : public platform::TStream {
 public:
  explicit CountingStream(std::string bytes) : FInner(StreamOf(bytes)) {}
  std::size_t Read(void* buffer, std::size_t count) override {
    ++reads;
    largest = std::max(largest, count);
    return FInner.Read(buffer, count);
  }
  void Write(const void* buffer, std::size_t count) override { FInner.Write(buffer, count); }
  std::int64_t Seek(std::int64_t offset, platform::SeekOrigin origin) override {
    return FInner.Seek(offset, origin);
  }
  int reads = 0;
  std::size_t largest = 0;

 private:
  TMemoryStream FInner;
};

const std::vector<ZipEntry> kTwoEntries = {{.name = "a.txt", .content = "alpha"},
                                           {.name = "b.txt", .content = "beta"}};

TEST(LocateEndRecord, FastPathReadsOnlyTheLastRecord) {
  const std::string zip = BuildZip(kTwoEntries);
  CountingStream stream(zip);
  EXPECT_EQ(TZipArchive::LocateEndRecord(stream), static_cast<std::int64_t>(zip.size() - 22));
  EXPECT_EQ(stream.reads, 1);
  EXPECT_EQ(stream.largest, 22u);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(zip.size() - 22));
}

TEST(LocateEndRecord, SearchesBackwardPastCommentsAndTrailingBytes) {
  struct Case {
    const char* what;
    std::size_t comment, trailing;
  } cases[] = {
      {"1000-byte comment", 1000, 0},
      {"bytes after the comment", 10, 300},
      {"comment and trailer beyond the first windows", 65535, 70000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ZipLayout layout;
    layout.comment = std::string(c.comment, 'c');
    layout.trailing = std::string(c.trailing, 't');
    const std::string zip = BuildZip(kTwoEntries, layout);
    TMemoryStream stream = StreamOf(zip);
    EXPECT_EQ(TZipArchive::LocateEndRecord(stream),
              static_cast<std::int64_t>(zip.size() - c.trailing - c.comment - 22));
    EXPECT_EQ(LoadNames(zip), (std::vector<std::string>{"a.txt", "b.txt"}));
  }
}

TEST(LocateEndRecord, SkipsASignatureWhoseCommentCannotFit) {
  // A stray signature in the trailing bytes claims a longer comment than the file holds; the
  // real record below it in the same window is still found.
  ZipLayout layout;
  layout.trailing = U32(0x06054B50) + std::string(16, '\0') + U16(500) + "xx";
  const std::string zip = BuildZip(kTwoEntries, layout);
  TMemoryStream stream = StreamOf(zip);
  EXPECT_EQ(TZipArchive::LocateEndRecord(stream),
            static_cast<std::int64_t>(zip.size() - layout.trailing.size() - 22));
}

TEST(Load, EmptyFileHasNoEntries) { EXPECT_TRUE(LoadNames("").empty()); }

TEST(Load, RejectsFilesThatAreNoArchive) {
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"shorter than an end record", "PK\x05\x06 short"},
      {"no end record signature", std::string(100000, 'x')},
      {"entry count 0xFFFF without a Zip64 locator",
       U32(0x06054B50) + U16(0) + U16(0) + U16(0xFFFF) + U16(0xFFFF) + U32(0) + U32(0) + U16(0)},
      {"directory offset pointing at no entry",
       std::string(50, 'x') + U32(0x06054B50) + U16(0) + U16(0) + U16(1) + U16(1) + U32(46) +
           U32(2) + U16(0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    try {
      LoadNames(c.bytes);
      ADD_FAILURE() << "loaded";
    } catch (const EZipInvalid& e) {
      EXPECT_STREQ(e.what(), "Invalid file - not a PKZip file");
      EXPECT_EQ(e.ErrorCode, 24);
    }
  }
}

TEST(Load, ProgramInFrontOfTheArchive) {
  const std::string program = "\x7F" "ELF" + NoiseBytes(5000, 1);
  ZipLayout adjusted{.prefix = program, .adjustOffsets = true};
  EXPECT_EQ(LoadNames(BuildZip(kTwoEntries, adjusted)).size(), 2u);
  // Offsets counted from the archive's own start are read at the wrong places.
  ZipLayout unadjusted{.prefix = program, .adjustOffsets = false};
  EXPECT_THROW(LoadNames(BuildZip(kTwoEntries, unadjusted)), EZipInvalid);
}

TEST(Load, ZipCommandAdjustedSelfExtractor) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  TempDir dir;
  WriteFile(dir / "slide.txt", TextBytes(3000, 2));
  ASSERT_EQ(Shell("cd " + dir.path() + " && zip -q plain.zip slide.txt"), 0);
  const std::string program = NoiseBytes(20000, 3);
  const std::string zip = ReadFile(dir / "plain.zip");
  WriteFile(dir / "show", program + zip);
  EXPECT_THROW(TZipArchive(dir / "show", 0x40).Load(), EZipInvalid);
  ASSERT_EQ(Shell("zip -q -A " + dir / "show"), 0);
  TZipArchive archive(dir / "show", 0x40);
  archive.Load();
  ASSERT_EQ(archive.Count(), 1);
  EXPECT_EQ(archive.Items(0).FRelativeOffset, static_cast<std::int64_t>(program.size()));
}

TEST(Load, Zip64RecordsAndExtraField) {
  ZipLayout layout{.prefix = "program", .zip64End = true};
  std::vector<ZipEntry> entries = kTwoEntries;
  entries[1].zip64 = true;
  TMemoryStream stream = StreamOf(BuildZip(entries, layout));
  TZipArchive archive(stream, "big.zip");
  archive.Load();
  EXPECT_EQ(archive.Info().FTotalEntries, 2);
  EXPECT_FALSE(archive.Spanned());
  ASSERT_EQ(archive.Count(), 2);
  const TZipItem& item = archive.Items(1);
  EXPECT_EQ(item.FUncompressedSize, 4);
  EXPECT_EQ(item.FCompressedSize, 4);
  EXPECT_EQ(item.FRelativeOffset, archive.Items(0).FRelativeOffset + 30 + 5 + 5);
}

TEST(Load, Zip64FromTheZipCommand) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  TempDir dir;
  // Input from a pipe has no known size, so zip writes Zip64 records.
  ASSERT_EQ(Shell("cd " + dir.path() + " && printf 'streamed data' | zip -q -fz streamed.zip -"), 0);
  TZipArchive archive(dir / "streamed.zip", 0x40);
  archive.Load();
  ASSERT_EQ(archive.Count(), 1);
  EXPECT_EQ(archive.Items(0).FUncompressedSize, 13);
}

TEST(Load, ArchiveSpanningSeveralDisks) {
  // The end record names disk 1: only a file the archive opened itself can reach other parts.
  std::string zip = BuildZip(kTwoEntries);
  zip[zip.size() - 22 + 4] = 1;
  TMemoryStream stream = StreamOf(zip);
  TZipArchive archive(stream, "set.zip");
  try {
    archive.Load();
    ADD_FAILURE() << "loaded";
  } catch (const EZipBadSpanStream& e) {
    EXPECT_STREQ(e.what(), "Spanned archives must be opened as file streams");
    EXPECT_EQ(e.ErrorCode, 11);
  }
}

TEST(Load, SplitArchiveFromTheZipCommand) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  TempDir dir;
  WriteFile(dir / "one.bin", NoiseBytes(100000, 4));
  WriteFile(dir / "two.bin", NoiseBytes(100000, 5));
  ASSERT_EQ(Shell("cd " + dir.path() + " && zip -q -s 64k set.zip one.bin two.bin"), 0);
  ASSERT_TRUE(FileExists(dir / "set.z01"));
  TZipArchive archive(dir / "set.zip", 0x40);
  archive.Load();
  EXPECT_TRUE(archive.Spanned());
  ASSERT_EQ(archive.Count(), 2);
  EXPECT_EQ(archive.Items(1).FFileName, "two.bin");
  EXPECT_GT(archive.Items(1).FDiskNumberStart, 0u);
}

TEST(Load, OnLoadFiresAlsoWhenLoadingFails) {
  TMemoryStream stream = StreamOf("not an archive at all, but longer than one end record");
  TZipArchive archive(stream, "x.zip");
  int loads = 0;
  archive.OnLoad = [&loads](TArchive&) { ++loads; };
  EXPECT_THROW(archive.Load(), EZipInvalid);
  EXPECT_EQ(loads, 1);
  EXPECT_EQ(archive.Status(), TArchiveStatus::asInvalid);
  EXPECT_THROW(archive.ExtractFiles("*.*"), ENoArchive);
}

TEST(Load, MissingFileGivesTheOpenError) {
  try {
    TZipArchive archive("/nonexistent/show.exe", 0x40);
    ADD_FAILURE() << "opened";
  } catch (const platform::EStreamError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Cannot open file \"/nonexistent/show.exe\". ", 0), 0u);
  }
}

TEST(Load, ProgressCanAbort) {
  TMemoryStream stream = StreamOf(BuildZip(kTwoEntries));
  TZipArchive archive(stream, "x.zip");
  std::vector<int> seen;
  archive.OnArchiveProgress = [&seen](TArchive&, std::uint8_t progress, bool& abort) {
    seen.push_back(progress);
    abort = progress >= 50;
  };
  EXPECT_THROW(archive.Load(), EUserAbort);
  EXPECT_EQ(seen, (std::vector<int>{50}));
  EXPECT_EQ(archive.Count(), 1);  // entries read so far stay
  EXPECT_EQ(archive.Status(), TArchiveStatus::asInvalid);
}

}  // namespace
}  // namespace pavona::package
