// Extracting with the player's settings: flat names, the last entry of a name wins, directory
// entries skipped, names that try to leave the folder, failing entries skipped while the rest
// go on, and no file written through a symbolic link.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "package/archive_error.h"
#include "package/package_extract.h"
#include "package/unzip_item.h"
#include "package/zip_archive.h"
#include "platform/files.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

class Extraction : public ::testing::Test {
 protected:
  // Writes the archive, extracts it into out/ and returns the failures by entry name.
  std::map<std::string, std::string> Extract(const std::vector<ZipEntry>& entries) {
    WriteFile(dir / "show.zip", BuildZip(entries));
    std::map<std::string, std::string> failures;
    ExtractPackage(dir / "show.zip", out(), [&failures](const TArchiveItem& item, const std::string& message) {
      failures[item.FFileName] = message;
    });
    return failures;
  }
  std::string out() const { return dir / "out"; }
  std::string Out(const std::string& name) const { return out() + "/" + name; }
  std::vector<std::string> OutNames() const { return platform::ListDirectory(out()); }

  void SetUp() override { std::filesystem::create_directory(out()); }

  TempDir dir;
};

TEST_F(Extraction, FlatNamesLastEntryWins) {
  const auto failures = Extract({
      {.name = "List.txt", .content = "a.jpg"},
      {.name = "img/a.jpg", .content = "first"},
      {.name = "README", .content = "no dot"},
      {.name = "img/", .content = ""},
      {.name = "old\\a.jpg", .content = "second"},
  });
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"List.txt", "README", "a.jpg"}));
  EXPECT_EQ(ReadFile(Out("a.jpg")), "second");
}

TEST_F(Extraction, NamesNeverLeaveTheFolder) {
  const auto failures = Extract({
      {.name = "../../x.txt", .content = "up"},
      {.name = "C:\\y.txt", .content = "drive"},
      {.name = "/etc/z.txt", .content = "absolute"},
      {.name = "a/..", .content = "dots"},
      {.name = "b/.", .content = "dot"},
  });
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"x.txt", "y.txt", "z.txt"}));
  EXPECT_EQ(ReadFile(Out("y.txt")), "drive");
  EXPECT_EQ(failures.size(), 2u);  // ".." and "." are no file names
  EXPECT_FALSE(FileExists(dir / "x.txt"));
}

TEST_F(Extraction, FailingEntriesAreSkippedAndTheRestGoOn) {
  WriteFile(Out("crc.txt"), "older");
  WriteFile(Out("method.txt"), "older");
  const auto failures = Extract({
      {.name = "crc.txt", .content = "data", .crc = 0x12345678},
      {.name = "encrypted.txt", .content = std::string(12, 'x') + "data", .flags = 1},
      {.name = "method.txt", .content = "data", .method = 7},
      {.name = "aex.txt", .content = "data", .method = 99},
      {.name = "v64.txt", .content = "data", .versionNeeded = 64},
      {.name = "v63.txt", .content = "data", .versionNeeded = 63},
      {.name = "empty.txt", .content = "", .crc = 0xDEADBEEF},
      {.name = "short.txt", .content = "data", .data = "da"},
      {.name = "last.txt", .content = "last"},
  });
  const std::map<std::string, std::string> expected = {
      {"crc.txt", "Failed CRC Check"},
      {"encrypted.txt", "Cannot extract file - invalid password"},
      {"method.txt", "Cannot extract file - unsupported compression method"},
      {"aex.txt", "Cannot extract file - unsupported compression method"},
      {"v64.txt", "Cannot extract file - newer version required"},
      {"short.txt", "Stream read error"},
  };
  EXPECT_EQ(failures, expected);
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"crc.txt", "empty.txt", "last.txt",
                                                  "method.txt", "v63.txt"}));
  // Failed entries leave no partial file, and an older file of the same name survives.
  EXPECT_EQ(ReadFile(Out("crc.txt")), "older");
  EXPECT_EQ(ReadFile(Out("method.txt")), "older");
  EXPECT_EQ(ReadFile(Out("empty.txt")), "");
  EXPECT_EQ(ReadFile(Out("v63.txt")), "data");
}

TEST_F(Extraction, ReadOnlyFileIsNotReplaced) {
  WriteFile(Out("locked.txt"), "keep");
  ASSERT_TRUE(platform::SetReadOnly(Out("locked.txt"), true));
  const auto failures = Extract({{.name = "locked.txt", .content = "new"}});
  ASSERT_EQ(failures.size(), 1u);
  EXPECT_EQ(failures.begin()->second.rfind("Cannot create file \"" + Out("locked.txt") + "\".", 0), 0u);
  EXPECT_EQ(ReadFile(Out("locked.txt")), "keep");
}

TEST_F(Extraction, TimeStampAndReadOnlyAttributeAreApplied) {
  const auto failures = Extract({
      {.name = "dated.txt", .content = "x", .time = 0x6000, .date = 0x5A21},
      {.name = "ro.txt", .content = "x", .externalAttributes = 0x01},
      {.name = "undated.txt", .content = "x", .time = 0, .date = 0},
  });
  EXPECT_EQ(failures, (std::map<std::string, std::string>{{"undated.txt", "Invalid argument to date encode"}}));
  std::tm noon{};
  noon.tm_year = 125, noon.tm_mon = 0, noon.tm_mday = 1, noon.tm_hour = 12, noon.tm_isdst = -1;
  const auto written = std::filesystem::last_write_time(Out("dated.txt"));
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
      std::chrono::file_clock::to_sys(written).time_since_epoch()).count();
  EXPECT_EQ(seconds, std::mktime(&noon));
  EXPECT_TRUE(platform::IsReadOnly(Out("ro.txt")));
  // The file of an entry with an invalid time stamp is written; it keeps its creation time.
  EXPECT_EQ(ReadFile(Out("undated.txt")), "x");
  EXPECT_FALSE(platform::IsReadOnly(Out("undated.txt")));
}

TEST_F(Extraction, NothingIsWrittenThroughASymbolicLink) {
  WriteFile(dir / "victim.txt", "outside");
  std::filesystem::create_symlink(dir / "victim.txt", Out("link.txt"));
  const auto failures = Extract({{.name = "link.txt", .content = "payload"}});
  EXPECT_TRUE(failures.empty());
  EXPECT_EQ(ReadFile(dir / "victim.txt"), "outside");
  EXPECT_FALSE(std::filesystem::is_symlink(Out("link.txt")));
  EXPECT_EQ(ReadFile(Out("link.txt")), "payload");
}

TEST_F(Extraction, FolderThatIsALinkOrMissingIsRefused) {
  WriteFile(dir / "show.zip", BuildZip({{.name = "a.txt", .content = "a"}}));
  std::filesystem::create_directory(dir / "elsewhere");
  std::filesystem::create_directory_symlink(dir / "elsewhere", dir / "linked");
  EXPECT_THROW(ExtractPackage(dir / "show.zip", dir / "linked"), EUnsafeDirectory);
  EXPECT_THROW(ExtractPackage(dir / "show.zip", dir / "missing"), ENoSuchDirectory);
  EXPECT_TRUE(platform::ListDirectory(dir / "elsewhere").empty());
}

TEST_F(Extraction, NotAnArchive) {
  WriteFile(dir / "viewer", NoiseBytes(3000, 9));
  try {
    ExtractPackage(dir / "viewer", out());
    ADD_FAILURE() << "extracted";
  } catch (const EZipInvalid& e) {
    EXPECT_STREQ(e.what(), "Invalid file - not a PKZip file");
  }
  EXPECT_TRUE(OutNames().empty());
}

// The archive API itself: masks, hooks and their defaults.
class ArchiveApi : public Extraction {
 protected:
  std::unique_ptr<TZipArchive> Open(const std::vector<ZipEntry>& entries) {
    WriteFile(dir / "a.zip", BuildZip(entries));
    auto archive = std::make_unique<TZipArchive>(dir / "a.zip", 0x40);
    archive->SetBaseDirectory(out() + "/");
    archive->Load();
    archive->ExtractHelper = UnzipItem;
    return archive;
  }
};

TEST_F(ArchiveApi, MaskAndExclusionMask) {
  auto archive = Open({{.name = "a.jpg"}, {.name = "b.png"}, {.name = "B2.jpg"}, {.name = "c.gif"}});
  archive->ExtractFilesEx("*.jpg;*.png", "b*");
  EXPECT_EQ(OutNames(), (std::vector<std::string>{"a.jpg"}));
}

TEST_F(ArchiveApi, ProgressFailureHookAndMissingHelper) {
  auto archive = Open({{.name = "good.txt", .content = "g"},
                       {.name = "bad.txt", .content = "b", .crc = 1},
                       {.name = "m.txt", .content = "m", .method = 7}});
  std::vector<int> progress;
  archive->OnArchiveProgress = [&](TArchive&, std::uint8_t p, bool&) { progress.push_back(p); };
  std::vector<std::pair<TErrorClass, int>> failures;
  archive->OnProcessItemFailure = [&](TArchive&, TArchiveItem&, TProcessType type, TErrorClass c, int code) {
    EXPECT_EQ(type, TProcessType::ptExtract);
    failures.emplace_back(c, code);
  };
  archive->ExtractFiles("*.*");
  EXPECT_EQ(progress, (std::vector<int>{33, 66, 100, 100}));
  // With a failure hook a CRC mismatch is reported and the file stays.
  EXPECT_EQ(failures, (std::vector<std::pair<TErrorClass, int>>{{TErrorClass::ecArchive, 19},
                                                                 {TErrorClass::ecArchive, 2}}));
  EXPECT_EQ(ReadFile(Out("bad.txt")), "b");

  failures.clear();
  archive->ExtractHelper = nullptr;
  archive->ExtractAt(0, "");
  EXPECT_EQ(failures, (std::vector<std::pair<TErrorClass, int>>{{TErrorClass::ecArchive, 3}}));
}

TEST_F(ArchiveApi, NoEntriesNoProgress) {
  auto archive = Open({});
  int calls = 0;
  archive->OnArchiveProgress = [&](TArchive&, std::uint8_t, bool&) { ++calls; };
  archive->ExtractFiles("*.*");
  EXPECT_EQ(calls, 0);
}

TEST_F(ArchiveApi, ItemProgressAbortInvalidatesTheArchive) {
  auto archive = Open({{.name = "big.txt", .content = TextBytes(200000, 1)},
                       {.name = "next.txt", .content = "n"}});
  archive->OnArchiveItemProgress = [](TArchive&, TArchiveItem* item, std::uint8_t p, bool& abort) {
    EXPECT_EQ(item->FFileName, "big.txt");
    abort = p > 10;
  };
  EXPECT_THROW(archive->ExtractFiles("*.*"), ENoArchive);
  EXPECT_EQ(archive->Status(), TArchiveStatus::asInvalid);
  EXPECT_TRUE(OutNames().empty());
}

TEST_F(ArchiveApi, RestoredPathsStayInsideAndCreateFolders) {
  auto archive = Open({{.name = "img/", .content = ""},
                       {.name = "img/a.jpg", .content = "a"},
                       {.name = "../../up/b.jpg", .content = "b"},
                       {.name = "C:\\c.jpg", .content = "c"}});
  archive->ExtractOptions = eoCreateDirs | eoRestorePath;
  archive->ExtractFiles("*.*");
  EXPECT_EQ(ReadFile(Out("img/a.jpg")), "a");
  EXPECT_EQ(ReadFile(Out("up/b.jpg")), "b");
  EXPECT_EQ(ReadFile(Out("c.jpg")), "c");
  EXPECT_FALSE(FileExists(dir / "up"));
}

TEST(BaseDirectory, TrailingSeparatorAndExistence) {
  TempDir dir;
  platform::TMemoryStream stream;
  TZipArchive archive(stream, "x.zip");
  archive.SetBaseDirectory(dir.path() + "/");
  EXPECT_EQ(archive.BaseDirectory(), dir.path());
  archive.SetBaseDirectory("/");
  EXPECT_EQ(archive.BaseDirectory(), "/");
  archive.SetBaseDirectory("");
  EXPECT_EQ(archive.BaseDirectory(), "");
  try {
    archive.SetBaseDirectory(dir / "missing");
    ADD_FAILURE() << "accepted";
  } catch (const ENoSuchDirectory& e) {
    EXPECT_STREQ(e.what(), "Directory does not exist");
    EXPECT_EQ(e.ErrorCode, 15);
  }
}

}  // namespace
}  // namespace pavona::package
