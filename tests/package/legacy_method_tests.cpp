// The legacy methods Shrink, Reduce and Implode: real archives of an old DOS archiver extracted
// through the reader, hand-made entries for the control codes, follower sets and trees that
// those archives do not show, and their real data cut short or damaged.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "package/archive_error.h"
#include "package/entry_decoder.h"
#include "package/unzip_item.h"
#include "package/zip_archive.h"
#include "package/zip_methods.h"
#include "platform/files.h"
#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

// Extracts every entry of the archive into outDir; returns the failures by entry name.
std::map<std::string, std::string> ExtractAll(const std::string& zipPath, const std::string& outDir) {
  TZipArchive archive(zipPath, 0x40);
  archive.Load();
  archive.SetBaseDirectory(outDir);
  std::map<std::string, std::string> failures;
  archive.ExtractHelper = [&failures](TArchive& sender, TArchiveItem& item, const std::string& name) {
    try {
      UnzipItem(sender, item, name);
    } catch (const std::exception& e) {
      failures[item.FFileName] = e.what();
      throw;
    }
  };
  archive.ExtractFiles("*.*");
  return failures;
}

class LegacyFixtures : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kFixtures.empty() || !std::filesystem::is_directory(kFixtures + "/legacy-zip")) {
      GTEST_SKIP() << "the shared fixtures are not beside the checkout";
    }
  }
  TempDir dir;
};

TEST_F(LegacyFixtures, EveryEntryExtractsWithItsCrc) {
  // Archive, and the methods (with the implode flags) its entries must show.
  const std::vector<std::pair<std::string, std::set<int>>> archives = {
      {"legacy-zip/Zip.shrink.zip", {0, 1}},
      {"legacy-zip/Zip.reduce1.zip", {1, 2}},
      {"legacy-zip/Zip.reduce2.zip", {1, 3}},
      {"legacy-zip/Zip.reduce3.zip", {1, 4}},
      {"legacy-zip/Zip.reduce4.zip", {1, 5}},
      {"legacy-zip/Zip.implode.zip", {0, 0x6000, 0x6006}},
      {"zip-real/test_compat_zip_implode.zip", {0x6000, 0x6006}},
      {"zip-real/test_compat_zip_implode_realloc.zip", {0x6000, 0x6006}},
      {"zip-real/test_read_format_zip_implode.zip", {0x6000}},
  };
  std::map<std::string, std::string> firstContent;  // the same files recur in several archives
  int folder = 0;
  for (const auto& [name, methods] : archives) {
    SCOPED_TRACE(name);
    const std::string zip = kFixtures + "/" + name;
    const std::string out = dir / std::to_string(folder++);
    std::filesystem::create_directory(out);
    EXPECT_EQ(ExtractAll(zip, out), (std::map<std::string, std::string>{}));

    TZipArchive archive(zip, 0x40);
    archive.Load();
    std::set<int> seen;
    for (int i = 0; i < archive.Count(); ++i) {
      const TZipItem& item = archive.Items(i);
      const int method = item.CompressionMethod();
      seen.insert(method == 6 ? 0x6000 | (item.GeneralPurposeBitFlag() & 6) : method);
      const std::string file = platform::FileNameOf(item.FFileName);
      const std::string content = ReadFile(out + "/" + file);
      EXPECT_EQ(static_cast<std::int64_t>(content.size()), item.FUncompressedSize) << file;
      const auto [known, added] = firstContent.emplace(file, content);
      if (!added) {
        EXPECT_TRUE(known->second == content) << file << " differs between archives";
      }
    }
    EXPECT_EQ(seen, methods);
  }
}

TEST_F(LegacyFixtures, ListNamesTheMethods) {
  if (kTool.empty()) GTEST_SKIP() << "the pavona tool is not built";
  std::string out;
  for (const char* zip : {"Zip.shrink.zip", "Zip.reduce1.zip", "Zip.reduce2.zip", "Zip.reduce3.zip",
                          "Zip.reduce4.zip", "Zip.implode.zip"}) {
    int status = -1;
    out += Capture(kTool + " list " + kFixtures + "/legacy-zip/" + zip, &status);
    EXPECT_EQ(status, 0) << zip;
  }
  for (const char* name : {"  Shrunk ", "  Reduced1 ", "  Reduced2 ", "  Reduced3 ", "  Reduced4 ",
                           "  Imploded "}) {
    EXPECT_NE(out.find(name), std::string::npos) << name << " missing from\n" << out;
  }
}

// Codes for hand-made data, least significant bit first.
class BitWriter {
 public:
  BitWriter& Put(std::uint32_t value, unsigned count) {
    for (unsigned i = 0; i < count; ++i) {
      if (FBits % 8 == 0) FBytes.push_back('\0');
      FBytes.back() = static_cast<char>(FBytes.back() | (((value >> i) & 1) << (FBits % 8)));
      ++FBits;
    }
    return *this;
  }
  // A Shannon-Fano code, sent with its highest bit first.
  BitWriter& PutCode(std::uint32_t code, unsigned length) {
    for (unsigned i = length; i-- > 0;) Put(code >> i, 1);
    return *this;
  }
  BitWriter& Bytes(const std::string& bytes) {
    for (const char c : bytes) Put(static_cast<std::uint8_t>(c), 8);
    return *this;
  }
  const std::string& Data() const { return FBytes; }

 private:
  std::string FBytes;
  unsigned FBits = 0;
};

BitWriter ShrinkCodes(std::initializer_list<std::pair<std::uint32_t, unsigned>> codes) {
  BitWriter w;
  for (const auto& [code, size] : codes) w.Put(code, size);
  return w;
}

// Follower sets for Reduce: none, except the given ones; stored from byte 255 down.
BitWriter FollowerSets(const std::map<int, std::string>& sets) {
  BitWriter w;
  for (int byte = 255; byte >= 0; --byte) {
    const auto it = sets.find(byte);
    if (it == sets.end()) {
      w.Put(0, 6);
    } else {
      w.Put(static_cast<std::uint32_t>(it->second.size()), 6).Bytes(it->second);
    }
  }
  return w;
}

// A stored Shannon-Fano tree from its runs: (number of values, code length).
BitWriter& Tree(BitWriter& w, const std::vector<std::pair<unsigned, unsigned>>& runs) {
  w.Put(static_cast<std::uint32_t>(runs.size() - 1), 8);
  for (const auto& [count, length] : runs) w.Put((count - 1) << 4 | (length - 1), 8);
  return w;
}

class LegacyHandMade : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directory(dir / "out"); }
  std::string Out(const std::string& name) const { return dir / ("out/" + name); }
  TempDir dir;
};

TEST_F(LegacyHandMade, ShrinkControlCodes) {
  const std::string kCrcFailure = "Failed CRC Check";
  const std::vector<ZipEntry> entries = {
      // "ab" makes 257; the partial clear frees it as a leaf, so "bc" takes 257 again; 256, 1
      // widens the codes to 10 bits.
      {.name = "clear.txt", .content = "abcbcd",
       .data = ShrinkCodes({{'a', 9}, {'b', 9}, {256, 9}, {2, 9}, {'c', 9}, {257, 9}, {256, 9}, {1, 9},
                            {'d', 10}}).Data(),
       .method = 1},
      // Codes used in the step that defines them: "a", "a"+"a", "aa"+"a".
      {.name = "kwkwk.txt", .content = "aaaaaa",
       .data = ShrinkCodes({{'a', 9}, {257, 9}, {258, 9}}).Data(), .method = 1},
      // The last code's string is cut at the entry's size.
      {.name = "cut.txt", .content = "aba",
       .data = ShrinkCodes({{'a', 9}, {'b', 9}, {257, 9}}).Data(), .method = 1},
      {.name = "command.txt", .content = "ab",
       .data = ShrinkCodes({{'a', 9}, {256, 9}, {3, 9}, {'b', 9}}).Data(), .method = 1},
      {.name = "undefined.txt", .content = "ab",
       .data = ShrinkCodes({{'a', 9}, {300, 9}}).Data(), .method = 1},
      {.name = "first.txt", .content = "ab", .data = ShrinkCodes({{257, 9}}).Data(), .method = 1},
      {.name = "wide.txt", .content = "ab",
       .data = ShrinkCodes({{256, 9}, {1, 9}, {256, 10}, {1, 10}, {256, 11}, {1, 11}, {256, 12}, {1, 12},
                            {256, 13}, {1, 13}}).Data(),
       .method = 1},
      {.name = "short.txt", .content = "ab", .data = ShrinkCodes({{'a', 9}}).Data(), .method = 1},
  };
  WriteFile(dir / "shrink.zip", BuildZip(entries));
  EXPECT_EQ(ExtractAll(dir / "shrink.zip", dir / "out"),
            (std::map<std::string, std::string>{{"command.txt", kCrcFailure},
                                                {"undefined.txt", kCrcFailure},
                                                {"first.txt", kCrcFailure},
                                                {"wide.txt", kCrcFailure},
                                                {"short.txt", "Stream read error"}}));
  EXPECT_EQ(platform::ListDirectory(dir / "out"),
            (std::vector<std::string>{"clear.txt", "cut.txt", "kwkwk.txt"}));
}

TEST_F(LegacyHandMade, ReduceFollowerSetsAndRepeats) {
  // Factor 1: 144 then V (7 length bits, 1 distance bit) and the low distance byte.
  const std::string repeats = FollowerSets({})
                                  .Bytes("xy")
                                  .Bytes(std::string("\x90\x01\x01", 3))    // 4 bytes from 2 back
                                  .Bytes(std::string("\x90\x00", 2))        // 144 itself
                                  .Bytes(std::string("\x90\x80\xFF", 3))    // 3 bytes from 512 back
                                  .Data();
  // Factor 4: a length of 15 takes an extra byte; 15 + 2 + 3 bytes from 1 back.
  const std::string longRepeat = FollowerSets({}).Bytes(std::string("z\x90\x0F\x02\x00", 5)).Data();
  // From byte 0 (the start) one follower, which takes one index bit; a flag bit of 1 sends a
  // byte whole even where followers exist; from 'q' three, which take two index bits; 't' has
  // none, so its successor is sent whole without a flag.
  BitWriter followers = FollowerSets({{0, "q"}, {'q', "rst"}});
  followers.Put(0, 1).Put(0, 1).Put(1, 1).Bytes("q").Put(0, 1).Put(2, 2).Bytes("u");
  BitWriter badIndex = FollowerSets({{0, "abc"}});
  badIndex.Put(0, 1).Put(3, 2);
  BitWriter bigSet;
  bigSet.Put(33, 6).Bytes(std::string(33, 'a'));

  const std::vector<ZipEntry> entries = {
      {.name = "repeats.txt", .content = std::string("xyxyxy\x90\0\0\0", 10), .data = repeats, .method = 2},
      {.name = "long.txt", .content = std::string(21, 'z'), .data = longRepeat, .method = 5},
      {.name = "followers.txt", .content = "qqtu", .data = followers.Data(), .method = 3},
      {.name = "index.txt", .content = "c", .data = badIndex.Data(), .method = 2},
      {.name = "set.txt", .content = "a", .data = bigSet.Data(), .method = 2},
      {.name = "short.txt", .content = "xyz", .data = FollowerSets({}).Bytes("xy").Data(), .method = 4},
  };
  WriteFile(dir / "reduce.zip", BuildZip(entries));
  EXPECT_EQ(ExtractAll(dir / "reduce.zip", dir / "out"),
            (std::map<std::string, std::string>{{"index.txt", "Failed CRC Check"},
                                                {"set.txt", "Failed CRC Check"},
                                                {"short.txt", "Stream read error"}}));
  EXPECT_EQ(ReadFile(Out("followers.txt")), "qqtu");
  EXPECT_EQ(ReadFile(Out("long.txt")), std::string(21, 'z'));
}

TEST_F(LegacyHandMade, ImplodeTrees) {
  // 64 codes of 6 bits: the highest value has code 0, the lowest code 63.
  const std::vector<std::pair<unsigned, unsigned>> flat = {{16, 6}, {16, 6}, {16, 6}, {16, 6}};
  auto flatCode = [](unsigned value) { return 63 - value; };
  BitWriter good;
  Tree(Tree(good, flat), flat);
  good.Put(1, 1).Put('a', 8).Put(1, 1).Put('b', 8);
  good.Put(0, 1).Put(1, 6).PutCode(flatCode(0), 6).PutCode(flatCode(2), 6);      // 4 bytes from 2 back
  good.Put(0, 1).Put(63, 6).PutCode(flatCode(63), 6).PutCode(flatCode(0), 6);    // 2 from 4096 back
  good.Put(0, 1).Put(0, 6).PutCode(flatCode(0), 6).PutCode(flatCode(63), 6).Put(1, 8);  // 66 from 1
  const std::string goodContent = "ababab" + std::string(2, '\0') + std::string(66, '\0');

  // Three trees: literals of 8 bits, so that a literal is its code reversed.
  BitWriter literals;
  Tree(literals, {{16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8},
                  {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}, {16, 8}});
  Tree(Tree(literals, flat), flat);
  literals.Put(1, 1).PutCode(255 - 'k', 8);
  literals.Put(0, 1).Put(0, 7).PutCode(flatCode(0), 6).PutCode(flatCode(0), 6);  // 3 from 1 back

  BitWriter oversubscribed;
  Tree(oversubscribed, {{16, 1}, {16, 1}, {16, 1}, {16, 1}});
  BitWriter tooMany;
  Tree(tooMany, {{16, 6}, {16, 6}, {16, 6}, {16, 6}, {1, 6}});
  BitWriter tooFew;
  Tree(tooFew, {{16, 6}, {16, 6}, {16, 6}});
  // 1/64 of the code space is unused: 6 one-bits start no code.
  BitWriter unused;
  Tree(Tree(unused, flat), {{2, 7}, {16, 6}, {16, 6}, {16, 6}, {14, 6}});
  unused.Put(0, 1).Put(0, 6).Put(0xFFFF, 16);

  const std::vector<ZipEntry> entries = {
      {.name = "good.bin", .content = goodContent, .data = good.Data(), .method = 6},
      {.name = "literals.txt", .content = "kkkk", .data = literals.Data(), .method = 6, .flags = 6},
      {.name = "over.bin", .content = "a", .data = oversubscribed.Data(), .method = 6},
      {.name = "many.bin", .content = "a", .data = tooMany.Data(), .method = 6},
      {.name = "few.bin", .content = "a", .data = tooFew.Data(), .method = 6},
      {.name = "unused.bin", .content = "aa", .data = unused.Data(), .method = 6},
  };
  WriteFile(dir / "implode.zip", BuildZip(entries));
  EXPECT_EQ(ExtractAll(dir / "implode.zip", dir / "out"),
            (std::map<std::string, std::string>{{"over.bin", "Failed CRC Check"},
                                                {"many.bin", "Failed CRC Check"},
                                                {"few.bin", "Failed CRC Check"},
                                                {"unused.bin", "Failed CRC Check"}}));
  EXPECT_EQ(ReadFile(Out("good.bin")), goodContent);
}

// A platform stream that discards what it gets but counts it.
class CountingSink final : public platform::TStream {
 public:
  std::size_t Read(void*, std::size_t) override { return 0; }
  void Write(const void* buffer, std::size_t count) override {
    FBytes.append(static_cast<const char*>(buffer), count);
  }
  std::int64_t Seek(std::int64_t, platform::SeekOrigin) override { return 0; }
  std::string FBytes;
};

struct RealEntry {
  std::string name;
  TZipItem item;
  std::string data;
};

// Adds the stored data of the archive's entries of a legacy method and form not yet taken.
void AddRealEntries(const std::string& zipPath, std::set<int>& taken, std::vector<RealEntry>& entries) {
  TZipArchive archive(zipPath, 0x40);
  archive.Load();
  for (int i = 0; i < archive.Count(); ++i) {
    TZipItem& item = archive.Items(i);
    const int form = item.CompressionMethod() << 8 | (item.GeneralPurposeBitFlag() & 6);
    if (item.CompressionMethod() < 1 || item.CompressionMethod() > 6 || !taken.insert(form).second) continue;
    auto input = OpenEntryData(archive, item);
    std::string data(static_cast<std::size_t>(item.FCompressedSize), '\0');
    input->ReadExact(data.data(), data.size());
    entries.push_back({zipPath.substr(zipPath.rfind('/') + 1) + ":" + item.FFileName, item, std::move(data)});
  }
}

// Decodes data as the item's method; "" when it decoded to the item's size, else the error.
std::string DecodeOutcome(const TZipItem& item, const std::string& data, std::string* output) {
  platform::TMemoryStream input(std::vector<std::uint8_t>(data.begin(), data.end()));
  CountingSink sink;
  try {
    FindZipMethod(item.CompressionMethod())->Decode(item, input, sink);
  } catch (const EZipBadCRC& e) {
    return e.what();
  } catch (const platform::EStreamError& e) {
    return e.what();
  }
  *output = std::move(sink.FBytes);
  return "";
}

TEST_F(LegacyFixtures, DamagedDataFailsCleanlyOrDecodesToTheSize) {
  std::vector<RealEntry> entries;
  std::set<int> taken;
  for (const char* zip : {"Zip.shrink.zip", "Zip.reduce1.zip", "Zip.reduce2.zip", "Zip.reduce3.zip",
                          "Zip.reduce4.zip", "Zip.implode.zip"}) {
    AddRealEntries(kFixtures + "/legacy-zip/" + zip, taken, entries);
  }
  ASSERT_EQ(entries.size(), 7u);  // Shrink, Reduce 1 to 4, Implode in both forms
  std::uint32_t seed = 1;
  for (const RealEntry& entry : entries) {
    SCOPED_TRACE(entry.name);
    std::string output;
    ASSERT_EQ(DecodeOutcome(entry.item, entry.data, &output), "");
    ASSERT_EQ(Crc(output), entry.item.FCRC32);
    const std::size_t size = entry.data.size();

    int cuts = 0;
    int failures = 0;
    for (std::size_t cut = 0; cut < size; cut += 1 + size / 61, ++cuts) {
      output.clear();
      const std::string outcome = DecodeOutcome(entry.item, entry.data.substr(0, cut), &output);
      if (outcome.empty()) {
        EXPECT_EQ(static_cast<std::int64_t>(output.size()), entry.item.FUncompressedSize) << "cut at " << cut;
      } else {
        ++failures;
      }
    }
    EXPECT_GE(failures, cuts - 1) << "data cut short decodes";

    for (int flip = 0; flip < 150; ++flip) {
      seed = seed * 1103515245 + 12345;
      // Half the flips land in the first 300 bytes, where the tables are.
      const std::size_t at = (flip % 2 == 0 ? (seed >> 8) % std::min<std::size_t>(size, 300) : (seed >> 8) % size);
      std::string damaged = entry.data;
      damaged[at] = static_cast<char>(damaged[at] ^ (1 << (seed >> 28 & 7)));
      output.clear();
      if (DecodeOutcome(entry.item, damaged, &output).empty()) {
        EXPECT_EQ(static_cast<std::int64_t>(output.size()), entry.item.FUncompressedSize) << "flip at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace pavona::package
