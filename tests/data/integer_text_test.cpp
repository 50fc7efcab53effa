#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/integer_text.h"

namespace {

TEST(StrToInt32, ReadsDecimalAndBothHexPrefixes) {
  const std::pair<const char*, std::uint32_t> cases[] = {
      {"0", 0},
      {"123", 123},
      {"0x1F", 0x1F},
      {"0X1f", 0x1F},
      {"$FF", 0xFF},
      {"$ff", 0xFF},
      {"0x0000FFF0", 0xFFF0},
      {"0x00000000", 0},
      {"0x000000001", 1},  // leading zeros are no width
      {"0xFFFFFFFF", 0xFFFFFFFF},
      {"4294967295", 0xFFFFFFFF},  // what the decimal S/N display shows
      {"2147483648", 0x80000000},
      {"-1", 0xFFFFFFFF},
      {"-2147483648", 0x80000000},
      {"+7", 7},
      {" 42 ", 42},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(StrToInt32(text), value) << text;
}

TEST(StrToInt32, ATextThatIsNoIntegerRaisesTheErrorNamingIt) {
  const char* const cases[] = {
      "", " ", "12a", "0x", "$", "-", "+", "--1", "0x-1", "1 2", "0xG1", "x10", "1.5", "0b101",
      "4294967296",   // one past 32 bits
      "0x100000000",  // 33 bits
      "-2147483649",
  };
  for (const char* text : cases) {
    try {
      StrToInt32(text);
      ADD_FAILURE() << "no error for '" << text << "'";
    } catch (const EConvertError& error) {
      EXPECT_EQ(std::string(error.what()), "'" + std::string(text) + "' is not a valid integer value");
    }
  }
  // The application's handler catches it as any other standard exception.
  EXPECT_THROW(StrToInt32("12a"), std::exception);
}

}  // namespace
