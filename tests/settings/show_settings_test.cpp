#include "settings/show_settings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/files.h"
#include "platform/stream.h"
#include "settings/int_text.h"

namespace pavona::settings {
namespace {

class ShowSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    FFolder = platform::JoinPath(::testing::TempDir(),
                                 "pavona-show-" + std::to_string(random()) + "-" +
                                     std::to_string(random()));
    ASSERT_TRUE(platform::CreateDirectories(FFolder));
  }
  void TearDown() override { platform::RemoveTree(FFolder); }

  std::string Write(const std::string& content) const {
    const std::string path = platform::JoinPath(FFolder, kSettingsFileName);
    platform::TFileStream file(path, platform::FileMode::Create);
    file.Write(content.data(), content.size());
    return path;
  }

  std::string FFolder;
};

TEST_F(ShowSettingsTest, ReadsTheViewersKeys) {
  const TShowSettings s = LoadShowSettings(std::string(PAVONA_TEST_DATA) + "/data/viewer.xml");
  EXPECT_EQ(s.ImageList, (std::vector<std::string>{"a.jpg", "my slide.jpg"}));
  EXPECT_FALSE(s.IsLooped);
  EXPECT_FALSE(s.Mouse);
  EXPECT_EQ(s.AdvancePeriodMs(), 5000u);
  EXPECT_EQ(s.Sound, "music.mp3");
}

TEST_F(ShowSettingsTest, DefaultsAndAdvance) {
  const struct {
    const char* what;
    std::string body;
    bool mouse;
    std::string seconds;
  } cases[] = {
      {"only a list", "<List>a.jpg,b.jpg</List>", true, ""},
      {"Mouse 0 is false", "<Mouse>0</Mouse><Seconds>3</Seconds>", false, "3"},
      {"Mouse maybe is false", "<Mouse>maybe</Mouse><Seconds>$A</Seconds>", false, "$A"},
      {"Mouse true: Seconds not read", "<Mouse>yes</Mouse><Seconds>3</Seconds>", true, ""},
      {"no Seconds element", "<Mouse>N</Mouse>", false, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TShowSettings s = LoadShowSettings(Write("<Info>" + c.body + "</Info>"));
    EXPECT_TRUE(s.IsLooped);
    EXPECT_EQ(s.Mouse, c.mouse);
    EXPECT_EQ(s.Seconds, c.seconds);
    EXPECT_EQ(s.Sound, "");
  }
}

TEST(ShowSettingsAdvance, ConvertsSecondsToAWrappingPeriod) {
  const struct {
    std::string seconds;
    std::uint32_t ms;
  } cases[] = {
      {"5", 5000},
      {"0", 0},
      {"$A", 10000},
      {"2147484", 2147484000u},  // past 2^31 ms: still a positive period
      {"4294968", 704},          // past 2^32 ms: wraps
      {"-1", 4294966296u},       // negative: a very long period
  };
  TShowSettings s;
  for (const auto& c : cases) {
    s.Seconds = c.seconds;
    EXPECT_EQ(s.AdvancePeriodMs(), c.ms) << c.seconds;
  }
  s.Seconds = "";
  try {
    s.AdvancePeriodMs();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'''' is not a valid integer value");
  }
}

TEST_F(ShowSettingsTest, LoadingNeverWritesTheFile) {
  const std::string content = "<Info><List>a.jpg</List></Info>";
  const std::string path = Write(content);
  LoadShowSettings(path);
  platform::TFileStream file(path, platform::FileMode::Read);
  std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
  file.ReadExact(bytes.data(), bytes.size());
  EXPECT_EQ(bytes, content);
  EXPECT_THROW(LoadShowSettings(Write("<Info><List>a</Lst></Info>")), ESimpleXMLError);
}

}  // namespace
}  // namespace pavona::settings
