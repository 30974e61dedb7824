#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/computer_info.h"
#include "app/main_form.h"
#include "app/working_folder.h"
#include "platform/files.h"
#include "platform/headless/headless_backend.h"
#include "test_folder.h"

namespace pavona::app {
namespace {

using testing::EnvironmentGuard;
using testing::ScratchFolder;

struct LookupCase {
  const char* name;
  const char* tmp;     // relative to the scratch folder; nullptr: unset
  const char* temp;
  const char* tmpdir;
  const char* current;  // folder made current; nullptr: leave
  const char* expected;
};

class TempLookup : public ::testing::TestWithParam<LookupCase> {};

TEST_P(TempLookup, FindsTheFolder) {
  const LookupCase& c = GetParam();
  ScratchFolder scratch;
  for (const char* folder : {"a", "b", "c", "cwd"}) platform::CreateDirectories(scratch / folder);
  EnvironmentGuard env;
  auto value = [&](const char* v) -> std::optional<std::string> {
    if (v == nullptr) return std::nullopt;
    if (*v == '\0') return std::string();
    return scratch / v;
  };
  env.Set("TMP", value(c.tmp));
  env.Set("TEMP", value(c.temp));
  env.Set("TMPDIR", value(c.tmpdir));
  const std::string previous = platform::CurrentDirectory();
  if (c.current != nullptr) {
    ASSERT_TRUE(platform::ChangeCurrentDirectory(scratch / c.current));
  }
  const std::string found = TComputerInfoEx().Folders().Temp();
  platform::ChangeCurrentDirectory(previous);
  EXPECT_EQ(found, scratch / c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TempLookup,
    ::testing::Values(
        LookupCase{"TmpWithTrailingSeparator", "a/", "b", "c", nullptr, "a"},
        LookupCase{"TmpUnsetTempSet", nullptr, "b", "c", nullptr, "b"},
        LookupCase{"TmpEmptyTempSet", "", "b", "c", nullptr, "b"},
        LookupCase{"OnlyTmpdir", nullptr, nullptr, "c", nullptr, "c"},
        LookupCase{"NoneSetTakesTheCurrentFolder", nullptr, nullptr, nullptr, "cwd", "cwd"},
        LookupCase{"ResolvedToItsCanonicalForm", "a/../b/.", nullptr, nullptr, nullptr, "b"},
        LookupCase{"MissingFolderAsRead", "missing/deeper/", "b", nullptr, nullptr, "missing/deeper"}),
    [](const ::testing::TestParamInfo<LookupCase>& info) { return std::string(info.param.name); });

TEST(TempLookupRoot, TheRootLosesItsSeparator) {
  EnvironmentGuard env;
  env.Set("TMP", "/");
  TComputerInfoEx info;
  EXPECT_EQ(info.Folders().Temp(), "");
  EXPECT_EQ(WorkingFolderPath(info.Folders().Temp()), "/Pavona");
  info.Folders().TrailingPathDelimiter = true;
  EXPECT_EQ(info.Folders().Temp(), "/");
}

TEST(WorkingFolder, AMissingTempFolderIsMadeWithItsParentsAndTheWorkingFolderRemoved) {
  ScratchFolder scratch;
  EnvironmentGuard env;
  env.Set("TMP", scratch / "x/y/");
  platform::headless::THeadlessBackend backend;
  {
    TMainForm form(backend);
    EXPECT_TRUE(IsSafeWorkingFolder(scratch / "x/y/Pavona"));
    EXPECT_EQ(form.zSHFile->SourceFiles, std::vector<std::string>{scratch / "x/y/Pavona"});
  }
  EXPECT_FALSE(platform::PathExists(scratch / "x/y/Pavona"));
  EXPECT_TRUE(platform::IsDirectory(scratch / "x/y"));
}

TEST(WorkingFolder, ASymbolicLinkIsNeitherUsedNorDeletedThrough) {
  ScratchFolder scratch;
  platform::CreateDirectories(scratch / "victim");
  std::ofstream(scratch / "victim/keep.txt") << "precious";
  platform::CreateDirectories(scratch / "tmp");
  ASSERT_TRUE(platform::MakeSymbolicLink(scratch / "victim", scratch / "tmp/Pavona"));
  EnvironmentGuard env;
  env.Set("TMP", scratch / "tmp");
  EXPECT_FALSE(IsSafeWorkingFolder(scratch / "tmp/Pavona"));
  platform::headless::THeadlessBackend backend;
  {
    TMainForm form(backend);
    EXPECT_TRUE(platform::IsSymbolicLink(scratch / "tmp/Pavona"));
  }
  EXPECT_TRUE(platform::IsSymbolicLink(scratch / "tmp/Pavona"));
  EXPECT_TRUE(platform::PathExists(scratch / "victim/keep.txt"));

  TSHFileOperation remover;
  remover.SourceFiles = {scratch / "tmp/Pavona"};
  EXPECT_FALSE(remover.Execute());
  EXPECT_FALSE(remover.LastError().empty());
  EXPECT_TRUE(platform::PathExists(scratch / "victim/keep.txt"));
}

TEST(WorkingFolder, TheRemoverDeletesEverythingAndFailsQuietlyOnWhatIsMissing) {
  ScratchFolder scratch;
  platform::CreateDirectories(scratch / "w/sub");
  std::ofstream(scratch / "w/sub/f.txt") << "x";
  ASSERT_TRUE(platform::MakeSymbolicLink(scratch / "outside", scratch / "w/link"));
  platform::CreateDirectories(scratch / "outside");
  std::ofstream(scratch / "outside/g.txt") << "y";
  TSHFileOperation remover;
  remover.SourceFiles = {scratch / "w"};
  EXPECT_TRUE(remover.Execute());
  EXPECT_FALSE(platform::PathExists(scratch / "w"));
  EXPECT_TRUE(platform::PathExists(scratch / "outside/g.txt"));  // links inside are not followed
  EXPECT_FALSE(remover.Execute());
}

}  // namespace
}  // namespace pavona::app
