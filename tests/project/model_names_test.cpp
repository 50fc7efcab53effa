#include <gtest/gtest.h>

#include <map>
#include <string>

#include "project/project_file.h"

namespace {

bool HasModelForm(const std::string& name) {
  const std::string word = "Velmot200";
  if (name.rfind(word, 0) != 0) return false;
  const std::string rest = name.substr(word.size());
  if (rest.size() < 2 || rest.size() > 3) return false;
  for (const char c : rest)
    if (!(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9')) return false;
  return true;
}

// 29 codes from 3 to 85 with 26 names, three of them for two codes each;
// every other code gets the default name. Every name is "Velmot200" and two
// or three capitals or digits.
TEST(ModelNameForCode, TableHasItsShape) {
  const std::string fallback = ModelNameForCode(0);
  EXPECT_TRUE(HasModelForm(fallback)) << fallback;
  std::map<std::string, int> codesPerName;
  for (int code = 0; code < 256; ++code) {
    const std::string name = ModelNameForCode(static_cast<std::uint8_t>(code));
    EXPECT_TRUE(HasModelForm(name)) << code << ": " << name;
    if (name == fallback) continue;
    EXPECT_GE(code, 3);
    EXPECT_LE(code, 85);
    ++codesPerName[name];
  }
  int codes = 0, shared = 0;
  for (const auto& [name, count] : codesPerName) {
    codes += count;
    shared += count == 2;
    EXPECT_LE(count, 2) << name;
  }
  EXPECT_EQ(codes, 29);
  EXPECT_EQ(codesPerName.size(), 26u);
  EXPECT_EQ(shared, 3);
  EXPECT_NE(ModelNameForCode(0x55), fallback) << "the code every chip sends has a name";
}

}  // namespace
