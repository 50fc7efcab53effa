#include "chips/constant_fill.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "data/integer_text.h"
#include "data/program_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMainStart = 0x08000000;
constexpr std::uint32_t kEepStart = 0x08100000;

class ConstantFill : public ::testing::Test {
 protected:
  // 64 KB of main flash and 4 KB of EEP; the images hold a pattern.
  void SetUp() override {
    ResetProgramState();
    SelectedChip.MainStart = kMainStart;
    SelectedChip.MainSize = 0x10000;
    SelectedChip.MainEnd = 0x0800FFFF;
    SelectedChip.EepStart = kEepStart;
    SelectedChip.EepSize = 0x1000;
    SelectedChip.EepEnd = 0x08100FFF;
    for (std::size_t i = 0; i < kMainFlashImageSize; ++i) MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(i * 7);
    for (std::size_t i = 0; i < kEepImageSize; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 13);
    main_ = Main(0, kMainFlashImageSize);
    eep_ = Eep(0, kEepImageSize);
  }
  void TearDown() override { ResetProgramState(); }

  static Bytes Main(std::size_t from, std::size_t to) {
    return {MemoryImages.MainFlashImage + from, MemoryImages.MainFlashImage + to};
  }
  static Bytes Eep(std::size_t from, std::size_t to) { return {MemoryImages.EepImage + from, MemoryImages.EepImage + to}; }
  void ExpectImagesUnchanged() const {
    EXPECT_TRUE(Main(0, kMainFlashImageSize) == main_);
    EXPECT_TRUE(Eep(0, kEepImageSize) == eep_);
  }

  Bytes main_, eep_;
};

TEST_F(ConstantFill, HexTokensKeepTheirLastTwoDigits) {
  struct Case {
    const char* Text;
    Bytes Tokens;
  };
  const Case cases[] = {
      {"12 34 56 ", {0x12, 0x34, 0x56}},
      {"12 34 56", {0x12, 0x34, 0x56}},  // the last token without a space after it
      {"  AB ", {0xAB}},
      {"   ", {}},
      {"", {}},
      {"123 G5 5", {0x23, 0x05, 0x05}},
      {"ab  cD", {0xAB, 0xCD}},
      {"1\xC3\x84", {0x10}},  // a letter of two UTF-8 bytes is one character that is no digit
  };
  for (const Case& c : cases) EXPECT_EQ(ConstantBytes(TConstantFormat::HexData, c.Text), c.Tokens) << c.Text;

  std::size_t pos = 0;
  EXPECT_EQ(ParseHexToken("  AB 12", pos), 0xAB);
  EXPECT_EQ(pos, 4u);  // on the space that ends the token
  EXPECT_EQ(ParseHexToken("  AB 12", pos), 0x12);
  EXPECT_EQ(pos, 7u);  // at the end of the text
  EXPECT_EQ(ParseHexToken("  AB 12", pos), std::nullopt);
}

TEST_F(ConstantFill, StoresTheConstantAtItsAddress) {
  struct Case {
    const char* Address;
    TConstantArea Area;
    TConstantFormat Format;
    const char* Data;
    std::size_t Index;  // where the bytes go in the area's image
    Bytes Written;
    std::uint32_t RefreshFrom, RefreshTo;  // main area only
  };
  const auto main = TConstantArea::Main;
  const auto eep = TConstantArea::Eep;
  const auto hex = TConstantFormat::HexData;
  const auto ascii = TConstantFormat::Ascii;
  const Case cases[] = {
      {"0x08000000", main, hex, "12 34 56 ", 0, {0x12, 0x34, 0x56}, 0x08000000, 0x08000010},
      {"0x08000000", main, hex, "12 34 56", 0, {0x12, 0x34, 0x56}, 0x08000000, 0x08000010},
      {"0x08000000", main, hex, "  AB ", 0, {0xAB}, 0x08000000, 0x08000010},
      {"0x08000040", main, hex, "   ", 0x40, {}, 0x08000040, 0x08000050},  // nothing, still refreshed
      {"0x08000013", main, hex, "01 02 03 04 05", 0x13, {1, 2, 3, 4, 5}, 0x08000010, 0x08000020},
      {"0x0800001F", main, hex, "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10 11", 0x1F,
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}, 0x08000010, 0x08000030},
      {"0x08000100", main, ascii, "SN01", 0x100, {0x53, 0x4E, 0x30, 0x31}, 0x08000100, 0x08000110},
      {"134217730", main, ascii, "a b", 2, {0x61, 0x20, 0x62}, 0x08000000, 0x08000010},
      {"$0800FFFF", main, ascii, "X", 0xFFFF, {0x58}, 0x0800FFF0, 0x08010000},  // the area's last byte
      {"0x0800FFFE", main, hex, "1 2", 0xFFFE, {1, 2}, 0x0800FFF0, 0x08010000},
      {"0x08100010", eep, hex, "5A A5", 0x10, {0x5A, 0xA5}, 0, 0},
      {"0x08100FFF", eep, ascii, "Z", 0xFFF, {0x5A}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Address << " \"" << c.Data << "\"");
    SetUp();
    const std::optional<TConstantStored> stored = StoreConstant({c.Address, c.Area, c.Format, c.Data});
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Area, c.Area);
    EXPECT_EQ(stored->Count, c.Written.size());
    Bytes mainExpected = main_;
    Bytes eepExpected = eep_;
    Bytes& image = c.Area == main ? mainExpected : eepExpected;
    std::copy(c.Written.begin(), c.Written.end(), image.begin() + static_cast<std::ptrdiff_t>(c.Index));
    EXPECT_TRUE(Main(0, kMainFlashImageSize) == mainExpected);
    EXPECT_TRUE(Eep(0, kEepImageSize) == eepExpected);
    if (c.Area == main) {
      EXPECT_EQ(stored->RefreshFrom, c.RefreshFrom);
      EXPECT_EQ(stored->RefreshTo, c.RefreshTo);
    }
  }
}

TEST_F(ConstantFill, AConstantOutsideItsAreaIsRefusedWithNothingWritten) {
  struct Case {
    const char* Why;
    const char* Address;
    TConstantArea Area;
    const char* Data;
  };
  const Case cases[] = {
      {"past the main area", "0x08010000", TConstantArea::Main, "01"},
      {"below the main area", "0x07FFFFFF", TConstantArea::Main, "01"},
      {"far below, where the index would wrap", "0", TConstantArea::Main, "01"},
      {"the last byte past the end", "0x0800FFFF", TConstantArea::Main, "01 02"},
      {"many bytes past the end", "0x0800FFF0", TConstantArea::Main, "0 1 2 3 4 5 6 7 8 9 A B C D E F 10"},
      {"past the EEP area", "0x08101000", TConstantArea::Eep, "01"},
      {"below the EEP area", "0x080FFFFF", TConstantArea::Eep, "01"},
      {"EEP data past its end", "0x08100FFE", TConstantArea::Eep, "01 02 03"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Why);
    SetUp();
    EXPECT_EQ(StoreConstant({c.Address, c.Area, TConstantFormat::HexData, c.Data}), std::nullopt);
    ExpectImagesUnchanged();
  }
}

TEST_F(ConstantFill, TheEepAreaOfAChipWithoutEepIsRefused) {
  SelectedChip.EepSize = 0;
  SelectedChip.EepStart = SelectedChip.EepEnd = 0xFFFFFFFF;
  EXPECT_EQ(ConstantAreaStart(TConstantArea::Eep), 0xFFFFFFFFu);  // what the dialog offers
  EXPECT_EQ(StoreConstant({"0xFFFFFFFF", TConstantArea::Eep, TConstantFormat::Ascii, "AB"}), std::nullopt);
  ExpectImagesUnchanged();
}

// A chip record (from a project, say) whose area is larger than the image:
// nothing beyond the image is written.
TEST_F(ConstantFill, NothingIsWrittenPastTheImage) {
  SelectedChip.MainStart = 0;
  SelectedChip.MainEnd = 0xFFFFFFFE;
  SelectedChip.MainSize = 0xFFFFFFFF;
  const auto last = static_cast<std::uint32_t>(kMainFlashImageSize - 1);
  EXPECT_EQ(StoreConstant({std::to_string(last + 1), TConstantArea::Main, TConstantFormat::Ascii, "A"}), std::nullopt);
  EXPECT_EQ(StoreConstant({std::to_string(last), TConstantArea::Main, TConstantFormat::Ascii, "AB"}), std::nullopt);
  ExpectImagesUnchanged();
  ASSERT_TRUE(StoreConstant({std::to_string(last), TConstantArea::Main, TConstantFormat::Ascii, "A"}));
  EXPECT_EQ(MemoryImages.MainFlashImage[last], 'A');
}

TEST_F(ConstantFill, AnAddressThatIsNoNumberThrowsWithNothingWritten) {
  EXPECT_THROW(StoreConstant({"0x0800G000", TConstantArea::Main, TConstantFormat::Ascii, "AB"}), EConvertError);
  EXPECT_THROW(StoreConstant({"", TConstantArea::Main, TConstantFormat::Ascii, "AB"}), EConvertError);
  ExpectImagesUnchanged();
}

}  // namespace
