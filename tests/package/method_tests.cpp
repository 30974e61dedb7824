// Every compression method of the reader on archives made by the zip, 7zz and wavpack commands,
// the traditional PKWARE decryption, and corrupt data of each codec.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "package/archive_error.h"
#include "package/inflate.h"
#include "package/unzip_item.h"
#include "package/zip_archive.h"
#include "platform/files.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

class Methods : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(dir / "in");
    std::filesystem::create_directory(dir / "out");
    FFiles = {{"text.txt", TextBytes(150000, 1)},
              {"noise.bin", NoiseBytes(70000, 2)},
              {"tiny.txt", "x"}};
    for (const auto& [name, bytes] : FFiles) WriteFile(dir / "in/" + name, bytes);
  }

  // Builds archive.zip in "in" with the shell command, checks the method of every entry,
  // extracts and compares. Returns the failures by entry name.
  void MakeAndCheck(const std::string& command, std::uint16_t method) {
    ASSERT_EQ(Shell("cd " + dir / "in" + " && " + command + " ../archive.zip text.txt noise.bin tiny.txt"), 0)
        << command;
    TZipArchive archive(dir / "archive.zip", 0x40);
    archive.Load();
    ASSERT_EQ(archive.Count(), 3);
    archive.SetBaseDirectory(dir / "out");
    archive.ExtractHelper = UnzipItem;
    std::map<std::string, int> failures;
    archive.OnProcessItemFailure = [&](TArchive&, TArchiveItem& item, TProcessType, TErrorClass, int code) {
      failures[item.FFileName] = code;
    };
    archive.ExtractFiles("*.*");
    EXPECT_TRUE(failures.empty());
    for (int i = 0; i < archive.Count(); ++i) {
      const TZipItem& item = archive.Items(i);
      // zip stores what does not shrink; every other entry must use the method asked for.
      if (item.CompressionMethod() != 0) {
        EXPECT_EQ(item.CompressionMethod(), method) << item.FFileName;
      }
      EXPECT_EQ(ReadFile(dir / "out/" + item.FFileName), FFiles.at(item.FFileName)) << item.FFileName;
    }
  }

  TempDir dir;
  std::map<std::string, std::string> FFiles;
};

TEST_F(Methods, ZipCommand) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  MakeAndCheck("zip -q -0", 0);
  MakeAndCheck("zip -q -9", 8);
  MakeAndCheck("zip -q -Z bzip2", 12);
}

TEST_F(Methods, SevenZipCommand) {
  if (!HaveCommand("7zz")) GTEST_SKIP() << "7zz is not installed";
  for (const auto& [option, method] : std::vector<std::pair<std::string, std::uint16_t>>{
           {"Copy", 0}, {"Deflate", 8}, {"Deflate64", 9}, {"BZip2", 12}, {"LZMA", 14}}) {
    SCOPED_TRACE(option);
    std::filesystem::remove(dir / "archive.zip");
    MakeAndCheck("7zz a -bd -bso0 -tzip -mm=" + option, method);
  }
}

// A 16-bit stereo WAV file of a few thousand frames.
std::string WaveFile(std::size_t frames, int bitsPerSample, int channels) {
  const std::uint32_t bytesPerSample = static_cast<std::uint32_t>(bitsPerSample / 8);
  const std::uint32_t blockAlign = bytesPerSample * static_cast<std::uint32_t>(channels);
  std::string samples;
  for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels); ++i) {
    const auto value = static_cast<std::uint32_t>((i * 37) % 251 + (i / 7) % 100);
    samples += std::string(reinterpret_cast<const char*>(&value), bytesPerSample);
  }
  const auto dataSize = static_cast<std::uint32_t>(samples.size());
  return "RIFF" + U32(36 + dataSize) + "WAVE" + "fmt " + U32(16) + U16(1) + U16(static_cast<std::uint32_t>(channels)) +
         U32(22050) + U32(22050 * blockAlign) + U16(blockAlign) + U16(static_cast<std::uint32_t>(bitsPerSample)) +
         "data" + U32(dataSize) + samples;
}

TEST_F(Methods, WavPack) {
  if (!HaveCommand("wavpack")) GTEST_SKIP() << "wavpack is not installed";
  std::vector<ZipEntry> entries;
  for (const auto& [bits, channels] : std::vector<std::pair<int, int>>{{16, 2}, {8, 1}, {24, 2}}) {
    const std::string name = "sound" + std::to_string(bits) + ".wav";
    const std::string wave = WaveFile(5000, bits, channels);
    WriteFile(dir / "in/" + name, wave);
    ASSERT_EQ(Shell("wavpack -q -y " + dir / "in/" + name + " -o " + dir / "in/" + name + ".wv"), 0);
    entries.push_back({.name = name, .content = wave, .data = ReadFile(dir / "in/" + name + ".wv"), .method = 97});
  }
  WriteFile(dir / "wv.zip", BuildZip(entries));
  TZipArchive archive(dir / "wv.zip", 0x40);
  archive.Load();
  archive.SetBaseDirectory(dir / "out");
  archive.ExtractHelper = UnzipItem;
  archive.ExtractFiles("*.*");
  for (const ZipEntry& entry : entries) {
    ASSERT_TRUE(FileExists(dir / "out/" + entry.name)) << entry.name;
    EXPECT_EQ(ReadFile(dir / "out/" + entry.name), entry.content) << entry.name;
  }
}

// Extracts entry 0 of the archive file and returns the message it failed with ("" for none).
std::string FailureOf(const std::string& zipPath, const std::string& outDir,
                      const std::function<void(TZipArchive&)>& setup = nullptr) {
  TZipArchive archive(zipPath, 0x40);
  archive.Load();
  archive.SetBaseDirectory(outDir);
  if (setup) setup(archive);
  std::string message;
  archive.ExtractHelper = [&message](TArchive& sender, TArchiveItem& item, const std::string& name) {
    try {
      UnzipItem(sender, item, name);
    } catch (const std::exception& e) {
      message = e.what();
      throw;
    }
  };
  archive.ExtractAt(0, "");
  return message;
}

TEST_F(Methods, TraditionalEncryption) {
  if (!HaveCommand("zip")) GTEST_SKIP() << "zip is not installed";
  // zip -P writes the check byte from the CRC; from standard input it uses a data descriptor
  // and the check byte comes from the time stamp.
  ASSERT_EQ(Shell("cd " + dir / "in" + " && zip -q -P secret ../crc.zip text.txt"), 0);
  ASSERT_EQ(Shell("cd " + dir / "in" + " && zip -q -P secret ../time.zip - < text.txt"), 0);
  for (const char* zip : {"crc.zip", "time.zip"}) {
    SCOPED_TRACE(zip);
    std::filesystem::remove_all(dir / "out");
    std::filesystem::create_directory(dir / "out");
    const std::string path = dir / zip;
    EXPECT_EQ(FailureOf(path, dir / "out"), "Cannot extract file - invalid password");
    EXPECT_TRUE(platform::ListDirectory(dir / "out").empty());

    EXPECT_EQ(FailureOf(path, dir / "out", [](TZipArchive& a) { a.Password = "secret"; }), "");
    const std::string name = std::string(zip) == "crc.zip" ? "text.txt" : "-";
    EXPECT_EQ(ReadFile(dir / "out/" + name), FFiles.at("text.txt"));

    // Wrong passwords: the handler is asked again until the retries are used up.
    int asked = 0;
    EXPECT_EQ(FailureOf(path, dir / "out", [&asked](TZipArchive& a) {
                a.Password = "wrong";
                a.OnNeedPassword = [&asked](TArchive&, std::string& answer) { ++asked, answer = "still wrong"; };
              }),
              "Cannot extract file - invalid password");
    EXPECT_EQ(asked, 3);
    // An empty answer stops.
    EXPECT_EQ(FailureOf(path, dir / "out", [](TZipArchive& a) {
                a.OnNeedPassword = [](TArchive&, std::string& answer) { answer.clear(); };
              }),
              "Cannot extract file - invalid password");
    EXPECT_EQ(FailureOf(path, dir / "out", [](TZipArchive& a) {
                a.Password = "wrong";
                a.OnNeedPassword = [](TArchive&, std::string& answer) { answer.clear(); };
              }),
              "Process aborted by user");
  }
}

TEST_F(Methods, CorruptDataOfEachCodec) {
  const std::string text = FFiles.at("text.txt");
  std::string deflated = RawDeflate(text);
  deflated[deflated.size() / 2] ^= 0x55;
  struct Case {
    const char* what;
    ZipEntry entry;
    std::string messagePrefix;
  } cases[] = {
      {"bzip2 without its magic", {.name = "a", .content = text, .data = "BZh9" + NoiseBytes(100, 1), .method = 12}, "error -"},
      {"bzip2 cut short", {.name = "a", .content = text, .data = "", .method = 12}, "Stream read error"},
      {"LZMA properties missing", {.name = "a", .content = text, .data = U16(0x0910) + U16(5) + "\x5D", .method = 14}, "LZMA Input EOF Error."},
      {"LZMA bad properties", {.name = "a", .content = text, .data = U16(0x0910) + U16(5) + std::string("\xFF\0\0\1\0", 5) + NoiseBytes(50, 2), .method = 14}, "LZMA \"Unsupported\" Error."},
      {"WavPack garbage", {.name = "a", .content = text, .data = NoiseBytes(200, 3), .method = 97}, "WavPack decompression failed: "},
      {"Deflate damaged", {.name = "a", .content = text, .data = deflated, .method = 8}, ""},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(dir / "bad.zip", BuildZip({c.entry}));
    const std::string message = FailureOf(dir / "bad.zip", dir / "out");
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(message.rfind(c.messagePrefix, 0), 0u) << message;
    EXPECT_TRUE(platform::ListDirectory(dir / "out").empty());
  }
}

TEST_F(Methods, DeflateWithZlibAsReference) {
  const std::string text = FFiles.at("text.txt");
  WriteFile(dir / "d.zip", BuildZip({{.name = "d.txt", .content = text, .data = RawDeflate(text), .method = 8}}));
  EXPECT_EQ(FailureOf(dir / "d.zip", dir / "out"), "");
  EXPECT_EQ(ReadFile(dir / "out/d.txt"), text);
}

}  // namespace
}  // namespace pavona::package
