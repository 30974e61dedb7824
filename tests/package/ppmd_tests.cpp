// PPMd entries (method 98): archives made by 7zz at the orders, memory sizes and restoration
// methods its switches reach, real archives of other producers, headers the decoder refuses,
// and damaged data, which must fail cleanly or be caught by the CRC.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "package/unzip_item.h"
#include "package/zip_archive.h"
#include "platform/files.h"
#include "platform/stream.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

// 24-bit pixel rows: gradients with sparse noise, the binary data a show carries.
std::string PixelBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 random(seed);
  std::string out(size, '\0');
  for (std::size_t i = 0; i < size; ++i) {
    const std::size_t x = (i / 3) % 640;
    const std::size_t y = i / 1920;
    const unsigned noise = random() % 8 == 0 ? random() % 5 : 0;
    out[i] = static_cast<char>((x * (i % 3 + 1) + y * 2) / 4 + noise);
  }
  return out;
}

struct TExtracted {
  std::map<std::string, std::string> failures;  // message by entry name
  std::map<std::string, std::uint16_t> methods;
};

// Extracts every entry of the archive into outDir, recording each entry's failure.
TExtracted ExtractAll(const std::string& zipPath, const std::string& outDir) {
  TZipArchive archive(zipPath, 0x40);
  archive.Load();
  archive.SetBaseDirectory(outDir);
  TExtracted result;
  for (int i = 0; i < archive.Count(); ++i) {
    result.methods[archive.Items(i).FFileName] = archive.Items(i).CompressionMethod();
  }
  archive.ExtractHelper = [&result](TArchive& sender, TArchiveItem& item, const std::string& name) {
    try {
      UnzipItem(sender, item, name);
    } catch (const std::exception& e) {
      result.failures[item.FFileName] = e.what();
      throw;
    }
  };
  archive.ExtractFiles("*.*");
  return result;
}

// The raw data of the archive's entry of that name.
std::string EntryData(const std::string& zipPath, const std::string& name) {
  const std::string zip = ReadFile(zipPath);
  TZipArchive archive(zipPath, 0x40);
  archive.Load();
  for (int i = 0; i < archive.Count(); ++i) {
    const TZipItem& item = archive.Items(i);
    if (item.FFileName != name) continue;
    const auto at = static_cast<std::size_t>(item.FRelativeOffset);
    const auto u16 = [&zip](std::size_t offset) {
      return static_cast<std::size_t>(static_cast<std::uint8_t>(zip[offset]) |
                                      static_cast<std::uint8_t>(zip[offset + 1]) << 8);
    };
    return zip.substr(at + 30 + u16(at + 26) + u16(at + 28), static_cast<std::size_t>(item.FCompressedSize));
  }
  return std::string();
}

// The restoration method in an entry's PPMd header.
unsigned RestorationMethodOf(const std::string& data) {
  return static_cast<std::uint8_t>(data.at(1)) >> 4;
}

class Ppmd : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir / "in");
    std::filesystem::create_directory(dir / "out");
  }

  // Writes the files, archives them with 7zz and the switches, extracts and compares.
  void RoundTrip(const std::string& switches, const std::map<std::string, std::string>& files,
                 int restorationMethod) {
    SCOPED_TRACE(switches);
    std::string names;
    for (const auto& [name, bytes] : files) {
      WriteFile(dir / "in/" + name, bytes);
      names += " " + name;
    }
    std::filesystem::remove(dir / "archive.zip");
    ASSERT_EQ(Shell("cd " + dir / "in" + " && 7zz a -bd -bso0 -tzip " + switches + " ../archive.zip" + names), 0);
    EXPECT_EQ(RestorationMethodOf(EntryData(dir / "archive.zip", files.begin()->first)),
              static_cast<unsigned>(restorationMethod));
    std::filesystem::remove_all(dir / "out");
    std::filesystem::create_directory(dir / "out");
    const TExtracted extracted = ExtractAll(dir / "archive.zip", dir / "out");
    EXPECT_TRUE(extracted.failures.empty()) << extracted.failures.begin()->first << ": "
                                            << extracted.failures.begin()->second;
    for (const auto& [name, bytes] : files) {
      // 7zz stores what does not shrink.
      if (bytes.size() > 100) {
        EXPECT_EQ(extracted.methods.at(name), zip_method::kPPMd) << name;
      }
      EXPECT_TRUE(ReadFile(dir / "out/" + name) == bytes) << name;
    }
  }

  TempDir dir;
};

TEST_F(Ppmd, SevenZipOrdersMemorySizesAndRestorationMethods) {
  if (!HaveCommand("7zz")) GTEST_SKIP() << "7zz is not installed";
  const std::map<std::string, std::string> files{{"a-text.txt", TextBytes(300000, 1)},
                                                 {"pixels.bin", PixelBytes(200000, 2)},
                                                 {"tiny.txt", "x"},
                                                 {"empty.txt", ""}};
  // Levels 7 and above make 7zz cut the model down instead of restarting it when memory fills.
  const struct {
    const char* switches;
    int restorationMethod;
  } cases[] = {
      {"-mm=PPMd:o=2:mem=1m", 0},          {"-mm=PPMd:o=16:mem=1m", 0},
      {"-mm=PPMd:o=6:mem=3m", 0},          {"-mm=PPMd", 0},
      {"-mx=9 -mm=PPMd:o=16:mem=1m", 1},   {"-mx=9 -mm=PPMd:o=2:mem=1m", 1},
      {"-mx=7 -mm=PPMd:o=5:mem=2m", 1},
  };
  for (const auto& c : cases) RoundTrip(c.switches, files, c.restorationMethod);
}

// Five megabytes through one megabyte of model memory fill it again and again.
TEST_F(Ppmd, LargeEntryRefillsTheModel) {
  if (!HaveCommand("7zz")) GTEST_SKIP() << "7zz is not installed";
  const std::map<std::string, std::string> files{
      {"large.bin", TextBytes(3000000, 3) + PixelBytes(2000000, 4)}};
  RoundTrip("-mm=PPMd:o=8:mem=1m", files, 0);
  RoundTrip("-mx=9 -mm=PPMd:o=8:mem=1m", files, 1);
}

TEST_F(Ppmd, RealArchives) {
  const std::string real = kFixtures + "/zip-real/";
  if (kFixtures.empty() || !std::filesystem::exists(real)) GTEST_SKIP() << "no fixtures";
  for (const char* name : {"test_read_format_zip_ppmd8.zipx", "test_read_format_zip_ppmd8_multi.zipx"}) {
    SCOPED_TRACE(name);
    const TExtracted extracted = ExtractAll(real + name, dir / "out");
    EXPECT_TRUE(extracted.failures.empty());
    EXPECT_FALSE(extracted.methods.empty());
    for (const auto& [entry, method] : extracted.methods) {
      EXPECT_EQ(method, zip_method::kPPMd) << entry;
      EXPECT_TRUE(FileExists(dir / "out/" + entry)) << entry;
    }
  }
  // Archives that once crashed a reader: refused, never a crash.
  for (const char* name : {"test_read_format_zip_ppmd8_crash_1.zipx", "test_read_format_zip_ppmd8_crash_2.zipx"}) {
    SCOPED_TRACE(name);
    std::filesystem::remove_all(dir / "out");
    std::filesystem::create_directory(dir / "out");
    try {
      const TExtracted extracted = ExtractAll(real + name, dir / "out");
      for (const auto& [entry, method] : extracted.methods) {
        EXPECT_TRUE(extracted.failures.count(entry) || method != zip_method::kPPMd) << entry;
      }
    } catch (const EArchiveException&) {
    }
    EXPECT_TRUE(platform::ListDirectory(dir / "out").empty());
  }
}

TEST_F(Ppmd, HeadersTheDecoderRefuses) {
  const std::string text = TextBytes(1000, 5);
  const std::string data = std::string(20, '\x55');
  const struct {
    std::uint32_t header;
    const char* message;
  } cases[] = {
      {0x0000 | (0 << 4), "PPMd: unsupported model order 1"},
      {0x2000 | (15 << 4) | 5, "PPMd: unsupported model restoration method 2"},
      {0xF000 | (255 << 4) | 15, "PPMd: unsupported model restoration method 15"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    WriteFile(dir / "bad.zip", BuildZip({{.name = "a.txt", .content = text, .data = U16(c.header) + data, .method = 98}}));
    const TExtracted extracted = ExtractAll(dir / "bad.zip", dir / "out");
    EXPECT_EQ(extracted.failures.at("a.txt"), c.message);
    EXPECT_TRUE(platform::ListDirectory(dir / "out").empty());
  }
  WriteFile(dir / "short.zip", BuildZip({{.name = "a.txt", .content = text, .data = "\x07", .method = 98}}));
  EXPECT_EQ(ExtractAll(dir / "short.zip", dir / "out").failures.at("a.txt"), "Stream read error");
}

// Decoding stops at the entry's size, or earlier at the stream's end marker, where the CRC
// comparison rejects the short output; an empty entry is not decoded.
TEST_F(Ppmd, EntrySizeAndEndMarker) {
  if (!HaveCommand("7zz")) GTEST_SKIP() << "7zz is not installed";
  const std::string text = TextBytes(20000, 9);
  WriteFile(dir / "in/t.txt", text);
  ASSERT_EQ(Shell("cd " + dir / "in" + " && 7zz a -bd -bso0 -tzip -mm=PPMd:o=4:mem=1m ../t.zip t.txt"), 0);
  const std::string data = EntryData(dir / "t.zip", "t.txt");
  WriteFile(dir / "sizes.zip", BuildZip({{.name = "prefix.txt", .content = text.substr(0, 5000), .data = data, .method = 98},
                                         {.name = "longer.txt", .content = text + "more", .data = data, .method = 98},
                                         {.name = "empty.txt", .content = "", .data = data, .method = 98}}));
  const TExtracted extracted = ExtractAll(dir / "sizes.zip", dir / "out");
  EXPECT_EQ(extracted.failures.count("prefix.txt"), 0u);
  EXPECT_EQ(ReadFile(dir / "out/prefix.txt"), text.substr(0, 5000));
  EXPECT_EQ(extracted.failures.at("longer.txt"), "Failed CRC Check");
  EXPECT_FALSE(FileExists(dir / "out/longer.txt"));
  // An entry of size 0 is not decoded at all.
  EXPECT_EQ(extracted.failures.count("empty.txt"), 0u);
  EXPECT_EQ(ReadFile(dir / "out/empty.txt"), "");
}

// Keeps only the CRC-32 and the count of what it is given.
class TCountingSink final : public platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* buffer, std::size_t count) override {
    FBytes.append(static_cast<const char*>(buffer), count);
  }
  std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }
  std::string FBytes;
};

// Truncated and bit-flipped streams end in the reader's errors or in output the CRC rejects;
// none crashes, hangs or writes past the entry's size.
TEST_F(Ppmd, DamagedDataFailsCleanly) {
  if (!HaveCommand("7zz")) GTEST_SKIP() << "7zz is not installed";
  const std::string original = TextBytes(60000, 6) + PixelBytes(40000, 7);
  WriteFile(dir / "in/data.bin", original);
  for (const char* switches : {"-mm=PPMd:o=6:mem=1m", "-mx=9 -mm=PPMd:o=16:mem=1m"}) {
    SCOPED_TRACE(switches);
    std::filesystem::remove(dir / "a.zip");
    ASSERT_EQ(Shell("cd " + dir / "in" + " && 7zz a -bd -bso0 -tzip " + switches + " ../a.zip data.bin"), 0);
    const std::string stream = EntryData(dir / "a.zip", "data.bin");
    ASSERT_GT(stream.size(), 100u);

    const auto decode = [&](const std::string& data) {
      platform::TMemoryStream input(std::vector<std::uint8_t>(data.begin(), data.end()));
      TCountingSink sink;
      try {
        DecodePPMd(input, sink, static_cast<std::int64_t>(original.size()));
      } catch (const platform::EStreamError& e) {
        EXPECT_STREQ(e.what(), "Stream read error");
      } catch (const EPPMdError& e) {
        EXPECT_STREQ(e.what(), "PPMd data error");
      }
      EXPECT_LE(sink.FBytes.size(), original.size());
      return sink.FBytes == original;
    };
    EXPECT_TRUE(decode(stream));
    std::mt19937 random(8);
    for (int i = 0; i < 60; ++i) {
      // The last bytes may hold only the end marker, which decoding to the size never reads.
      const std::size_t cut = 2 + random() % (stream.size() - 16);
      EXPECT_FALSE(decode(stream.substr(0, cut))) << "cut at " << cut;
      std::string flipped = stream;
      const std::size_t at = 2 + random() % (stream.size() - 2);
      flipped[at] = static_cast<char>(flipped[at] ^ (1 << (random() % 8)));
      decode(flipped);
    }
  }
}

TEST_F(Ppmd, ListNamesTheMethod) {
  const std::string real = kFixtures + "/zip-real/test_read_format_zip_ppmd8.zipx";
  if (kTool.empty()) GTEST_SKIP() << "the pavona tool is not built";
  if (kFixtures.empty() || !std::filesystem::exists(real)) GTEST_SKIP() << "no fixtures";
  int status = -1;
  const std::string out = Capture(kTool + " list " + real, &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("  PPMd  "), std::string::npos) << out;
}

}  // namespace
}  // namespace pavona::package
