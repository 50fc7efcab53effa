// The text table's rows: both texts of every row, unique keys, and Chinese
// texts that read only arguments the English text's callers pass.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "text/format_text.h"
#include "text/text_placeholders.h"
#include "text/text_rows.h"

namespace {

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) > 0x7F) return false;
  return true;
}

// Well-formed UTF-8: each lead byte with its continuation bytes, no
// overlong two-byte form and nothing beyond U+10FFFF.
bool IsUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t extra = 0;
    if (lead >= 0xC2 && lead < 0xE0) {
      extra = 1;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      extra = 2;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      extra = 3;
    } else if (lead >= 0x80) {
      return false;
    }
    if (extra >= text.size() - i) return false;
    for (std::size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

TEST(TextTable, EveryRowHasBothTextsAndAUniqueEnglishKey) {
  std::set<std::string_view> keys;
  for (const TTextRow& row : kTextRows) {
    SCOPED_TRACE(row.Name);
    EXPECT_FALSE(std::string_view(row.English).empty());
    EXPECT_FALSE(std::string_view(row.Chinese).empty());
    EXPECT_TRUE(IsAscii(row.English));
    EXPECT_TRUE(IsUtf8(row.Chinese));
    EXPECT_TRUE(keys.insert(row.English).second) << "key used twice: " << row.English;
  }
  EXPECT_EQ(keys.size(), kTextCount);
}

TEST(TextTable, EveryChineseTextReadsALeadingPartOfTheEnglishArguments) {
  for (const TTextRow& row : kTextRows) {
    EXPECT_TRUE(ScanPlaceholders(row.English).Valid) << row.Name << ": " << row.English;
    EXPECT_TRUE(PlaceholdersFit(row.English, row.Chinese)) << row.Name << ": " << row.English << " / " << row.Chinese;
  }
}

TEST(TextPlaceholders, AShownTextFitsOnlyWhatTheFullTextPasses) {
  struct TCase {
    const char* Full;
    const char* Shown;
    bool Fits;
  };
  const TCase cases[] = {
      {"%dBytes/0x%08X.", "%dBytes.", true},           // fewer, in order
      {"Programmer %ds done", "done", true},           // none at all
      {"%d of %s", "%d of %s", true},                  //
      {"0x%08X", "0x%.8X", true},                      // width and precision do not matter
      {"%d", "%u", false},                             // another kind
      {"%X", "%d", false},                             //
      {"%d %s", "%s", false},                          // not the leading part
      {"%d", "%d %d", false},                          // more than passed
      {"100%% %d", "%d%%", true},                      // %% reads nothing
      {"%ld", "%ld", false},                           // a length this program does not use
      {"%*d", "", false},                              // a width from the arguments
      {"%d", "50%", false},                            // a stray % at the end
  };
  for (const TCase& c : cases) EXPECT_EQ(PlaceholdersFit(c.Full, c.Shown), c.Fits) << c.Full << " / " << c.Shown;
}

TEST(TextPlaceholders, ArgumentsFitByKindAndSize) {
  static_assert(ArgumentsFit<int, unsigned, const char*>("%d %08X %s"));
  static_assert(ArgumentsFit<std::uint8_t, std::uint16_t>("%.2X %u"));
  static_assert(!ArgumentsFit<int>("%d %d"));                // too few
  static_assert(!ArgumentsFit<int, int>("%d"));              // too many
  static_assert(!ArgumentsFit<std::size_t>("%u"));           // wider than int
  static_assert(!ArgumentsFit<const char*>("%d"));           // a text for a number
  static_assert(!ArgumentsFit<int>("%s"));                   // a number for a text
  static_assert(!ArgumentsFit<bool>("%d"));                  //
  static_assert(!ArgumentsFit<double>("%d"));                //
  SUCCEED();
}

}  // namespace
