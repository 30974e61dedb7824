// The `pavona list` and `pavona extract` commands, run as programs.
#include <gtest/gtest.h>

#include <filesystem>

#include "zip_builder.h"

namespace pavona::package {
namespace {

using namespace ziptest;

class Tool : public ::testing::Test {
 protected:
  void SetUp() override {
    if (kTool.empty()) GTEST_SKIP() << "the pavona tool is not built";
  }
  std::string Pavona(const std::string& args, int* status) { return Capture(kTool + " " + args, status); }
  TempDir dir;
};

TEST_F(Tool, ListShowsOneLinePerEntry) {
  WriteFile(dir / "show", BuildZip({{.name = "List.txt", .content = "a.jpg,b.jpg"},
                                                      {.name = "\x81.jpg", .content = "", .method = 8}},
                                                     {.prefix = "program bytes"}));
  int status = -1;
  const std::string out = Pavona("list " + dir / "show", &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(out.find("      11  Stored       11   0% 2025-01-01 12:00 ea9dd920  List.txt\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Defl:N"), std::string::npos) << out;
  EXPECT_NE(out.find("\xC3\xBC.jpg\n"), std::string::npos) << out;  // OEM name decoded
  EXPECT_NE(out.find("2 files"), std::string::npos) << out;
}

TEST_F(Tool, ExtractExitCodes) {
  WriteFile(dir / "good.zip", BuildZip({{.name = "a.txt", .content = "a"}}));
  WriteFile(dir / "partial.zip", BuildZip({{.name = "a.txt", .content = "a"},
                                           {.name = "img/bad.txt", .content = "b", .crc = 7}}));
  WriteFile(dir / "junk", std::string(100, 'j'));
  int status = -1;
  Pavona("extract " + dir / "good.zip " + dir / "out", &status);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(dir / "out/a.txt"), "a");

  const std::string partial = Pavona("extract " + dir / "partial.zip " + dir / "out", &status);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(partial, "img/bad.txt: Failed CRC Check\n");

  const std::string junk = Pavona("extract " + dir / "junk " + dir / "out", &status);
  EXPECT_EQ(status, 2);
  EXPECT_NE(junk.find("Invalid file - not a PKZip file"), std::string::npos) << junk;

  Pavona("extract " + dir / "missing.zip " + dir / "out", &status);
  EXPECT_EQ(status, 2);
  Pavona("extract " + dir / "good.zip", &status);
  EXPECT_EQ(status, 2);
}

}  // namespace
}  // namespace pavona::package
