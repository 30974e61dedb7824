#include "settings/comma_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pavona::settings {
namespace {

struct CommaCase {
  std::string text;
  std::vector<std::string> items;
};

TEST(CommaText, SplitsLikeTheSlideListReader) {
  const CommaCase cases[] = {
      {"", {}},
      {"   ", {}},
      {"a.jpg,b.jpg", {"a.jpg", "b.jpg"}},
      {"a.jpg, b.jpg", {"a.jpg", "b.jpg"}},
      {"a.jpg b.jpg", {"a.jpg", "b.jpg"}},
      {"my slide.jpg", {"my", "slide.jpg"}},
      {"\"my slide.jpg\",b.jpg", {"my slide.jpg", "b.jpg"}},
      {"a.jpg,", {"a.jpg", ""}},
      {"a.jpg, ", {"a.jpg"}},
      {"a,,b", {"a", "", "b"}},
      {",a", {"", "a"}},
      {"\"\"", {""}},
      {"\"a\"\"b\"", {"a\"b"}},
      {"\"a,b\"", {"a,b"}},
      {"\"abc", {"abc"}},
      {"\"a\"b", {"a", "b"}},
      {"x\"y\"", {"x\"y\""}},
      {"a,b,a", {"a", "b", "a"}},
      {"TRUE, YES, Y", {"TRUE", "YES", "Y"}},
      // Tabs, line breaks and other control characters separate like a space.
      {"a\tb\r\nc\x01" "d", {"a", "b", "c", "d"}},
      // A non-spacing mark right after a separator goes with it; inside a name it stays.
      {"a,\xCC\x81" "b e\xCC\x81", {"a", "b", "e\xCC\x81"}},
      {std::string("a,b\0c", 5), {"a", "b"}},
      {"  \"x y\"  ,  z  ", {"x y", "z"}},
  };
  for (const CommaCase& c : cases) {
    EXPECT_EQ(SplitCommaText(c.text), c.items) << "text: [" << c.text << "]";
  }
}

TEST(CommaText, MadeTextReadsBackTheSameItems) {
  const std::vector<std::vector<std::string>> lists = {
      {},
      {"a.jpg", "b.jpg"},
      {"my slide.jpg", "", "x\"y", "a,b", "tab\there", "\xCC\x81" "mark", "plain"},
      {""},
  };
  for (const auto& items : lists) {
    const std::string text = MakeCommaText(items);
    EXPECT_EQ(SplitCommaText(text), items) << "text: [" << text << "]";
  }
  EXPECT_EQ(MakeCommaText({"a.jpg", "my slide.jpg"}), "a.jpg,\"my slide.jpg\"");
}

}  // namespace
}  // namespace pavona::settings
