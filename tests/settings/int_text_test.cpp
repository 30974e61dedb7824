#include "settings/int_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace pavona::settings {
namespace {

TEST(IntText, ConvertsBySecondsRules) {
  const struct {
    std::string text;
    std::optional<std::int32_t> value;
  } cases[] = {
      {"5", 5},
      {"0", 0},
      {"007", 7},
      {"  42", 42},
      {"+5", 5},
      {"-5", -5},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"$A", 10},
      {"xff", 255},
      {"X10", 16},
      {"0x1f", 31},
      {"0X1F", 31},
      {"-$A", -10},
      {"$FFFFFFFF", -1},
      {"$80000000", INT32_MIN},
      {"$7fffffff", 2147483647},
      {"$100000000", std::nullopt},  // nine digits
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"$G", std::nullopt},
      {"5 ", std::nullopt},
      {" 5 ", std::nullopt},
      {"5s", std::nullopt},
      {"1.5", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"+", std::nullopt},
      {"--5", std::nullopt},
      {"+-5", std::nullopt},
      {"\t5", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TryStrToInt(c.text), c.value) << "text: [" << c.text << "]";
  }
}

TEST(IntText, FailureNamesTheText) {
  try {
    StrToInt("5 ");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "''5 '' is not a valid integer value");
  }
  EXPECT_THROW(StrToInt(""), EConvertError);
  EXPECT_EQ(StrToInt("$A"), 10);
}

}  // namespace
}  // namespace pavona::settings
