// A show with one entry larger than the free space of the temp folder's file system: a tmpfs of
// a few megabytes mounted over the test's temp folder (only where the test runs as root).
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <random>

#include "show_fixture.h"

namespace pavona::e2e {
namespace {

namespace vk = platform::vk;

class FullDisk : public ShowTest {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    const std::string mount = "mount -t tmpfs -o size=4m pavona-test '" + Temp() + "' 2>/dev/null";
    if (std::system(mount.c_str()) != 0) {
      GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    FMounted = true;
  }
  void TearDown() override {
    FForm.reset();
    if (FMounted) std::system(("umount '" + Temp() + "'").c_str());
  }

  // Bytes that do not compress, so the entry stays larger than the file system.
  void Noise(const std::string& name, std::size_t size) {
    std::mt19937 random(19);
    std::string bytes(size, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    TextFile(name, bytes);
  }

  bool FMounted = false;
};

TEST_F(FullDisk, AnEntryThatDoesNotFitIsSkippedWithoutATraceAndTheShowStillRuns) {
  Picture("a.png", kRed);
  Picture("b.png", kGreen);
  Noise("big.wav", 6u << 20);
  Pack("--sound big.wav a.png b.png");

  const std::string out = Temp() + "/out";
  const std::string errors = FScratch / "errors.txt";
  const int status = std::system(("'" PAVONA_TOOL "' extract '" + ShowPath() + "' '" + out +
                                  "' 2>'" + errors + "'").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::ifstream report(errors);
  const std::string reported((std::istreambuf_iterator<char>(report)), {});
  EXPECT_NE(reported.find("big.wav"), std::string::npos) << reported;
  EXPECT_NE(reported.find("space"), std::string::npos) << reported;
  EXPECT_EQ(platform::ListDirectory(out),
            (std::vector<std::string>{"a.png", "b.png", "pavona.xml"}));
  ASSERT_TRUE(platform::RemoveTree(out));

  Start();
  EXPECT_EQ(platform::ListDirectory(WorkingFolder()),
            (std::vector<std::string>{"a.png", "b.png", "pavona.xml"}));
  ASSERT_TRUE(FForm->ImageList);
  EXPECT_EQ(FForm->ImageList->size(), 2u);
  EXPECT_EQ(Shown(), kRed);
  Press(vk::Right);
  EXPECT_EQ(Shown(), kGreen);

  FBackend.PressKey(vk::Escape);
  EXPECT_TRUE(FBackend.RunUntilIdle());
  EXPECT_EQ(FBackend.Loop().ExitCode(), 0);
  FForm.reset();
  EXPECT_TRUE(platform::ListDirectory(Temp()).empty());
}

}  // namespace
}  // namespace pavona::e2e
