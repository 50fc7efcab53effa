#include <gtest/gtest.h>

#include <algorithm>

#include "data/memory_view_rows.h"
#include "window_state_fixture.h"

namespace {

class MemoryViewRowsTest : public WindowStateTest {
 protected:
  void SetUp() override {
    WindowStateTest::SetUp();
    SelectPatternChip();  // 128 KB at 0x08000000: 8192 rows
  }
};

TEST_F(MemoryViewRowsTest, AFillShowsTheLengthInRowsRoundedUpButNeverPastTheArea) {
  struct Case {
    std::uint32_t first, last, rows;
  };
  const Case cases[] = {
      {0, 999, 63},  // 62 full rows and 8 bytes
      {0, 1023, 64},
      {0x100, 0x100 + 1023, 64},  // only the length counts
      {0x08000000, 0x0801FFFF, 8192},
      {0, 0, 1},
      {0, 0xFFFFFFFF, 0},           // an empty programmed range (length 0)
      {0, 0x7FFFFFFF, 8192},        // a length from a project far beyond the area
      {0x10, 0x0F, 0},              // first = last + 1: no length
  };
  for (const Case& c : cases) EXPECT_EQ(HexViewerRowCount(c.first, c.last), c.rows) << c.first << ".." << c.last;

  SelectedChip.MainBaseOffset = kMainFlashImageSize - 40;  // the area's rest of the image: 3 rows
  EXPECT_EQ(HexViewerRowCount(0, 1023), 3u);
  SelectedChip.MainBaseOffset = kMainFlashImageSize;
  EXPECT_EQ(HexViewerRowCount(0, 1023), 0u);
}

TEST_F(MemoryViewRowsTest, ChangedAddressesGiveTheirRowsInsideTheArea) {
  struct Case {
    const char* what;
    std::uint32_t from, to;
    std::optional<TRowSpan> rows;
  };
  const Case cases[] = {
      {"one byte", 0x08000011, 0x08000011, TRowSpan{1, 1}},
      {"across a row boundary", 0x0800FFFE, 0x08010001, TRowSpan{0xFFF, 0x1000}},
      {"the last byte", 0x0801FFFF, 0x0801FFFF, TRowSpan{8191, 8191}},
      {"running past the end", 0x0801FFF8, 0x0802000F, TRowSpan{8191, 8191}},
      {"beginning below the start", 0x07FFFFF0, 0x08000005, TRowSpan{0, 0}},
      {"below the start", 0x07000000, 0x07FFFFFF, std::nullopt},
      {"past the end", 0x08020000, 0x08020003, std::nullopt},
      {"from after to", 0x08000020, 0x08000010, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::optional<TRowSpan> rows = MainViewerRowsOf(c.from, c.to);
    ASSERT_EQ(rows.has_value(), c.rows.has_value());
    if (rows) {
      EXPECT_EQ(rows->First, c.rows->First);
      EXPECT_EQ(rows->Last, c.rows->Last);
    }
  }
}

TEST_F(MemoryViewRowsTest, EepRowsAndWhetherTheyHoldDataWorthProgramming) {
  EXPECT_EQ(EepViewerRowCount(), 0x100u);
  SelectedChip.EepSize = 0xFFFFFFFF;
  EXPECT_EQ(EepViewerRowCount(), kEepImageSize / 16);
  SelectedChip.EepSize = 15;
  EXPECT_EQ(EepViewerRowCount(), 0u);

  std::fill(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage), 0xFF);
  EXPECT_FALSE(EepRowsHoldData(0x100));
  for (std::size_t i = 0; i < kEepImageSize; i += 2) MemoryImages.EepImage[i] = 0x00;
  EXPECT_FALSE(EepRowsHoldData(0x100));
  MemoryImages.EepImage[0xFFF] = 0x5A;
  EXPECT_TRUE(EepRowsHoldData(0x100));
  EXPECT_FALSE(EepRowsHoldData(0xFF));  // a byte past the rows shown does not count
  EXPECT_FALSE(EepRowsHoldData(0));
  EXPECT_TRUE(EepRowsHoldData(0xFFFFFFFF));  // cut to the image
}

}  // namespace
