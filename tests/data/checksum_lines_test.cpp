#include <gtest/gtest.h>

#include "data/checksum_lines.h"
#include "text/format_text.h"
#include "window_state_fixture.h"

namespace {

class ChecksumLinesTest : public WindowStateTest {
 protected:
  void SetUp() override {
    WindowStateTest::SetUp();
    SelectPatternChip();
  }
  static std::span<const std::uint8_t> Eep(std::size_t count) {
    return std::span<const std::uint8_t>(MemoryImages.EepImage).first(count);
  }
};

TEST_F(ChecksumLinesTest, MainSumsCoverTheProgrammedRangeAndAreLogged) {
  ComputeMainChecksum();
  const std::uint32_t sum = ReferenceSum(Main(0, 0x1300));
  EXPECT_EQ(ObjectState.MainSum, sum);
  EXPECT_EQ(ObjectState.MainSumLow, static_cast<std::uint16_t>(sum));
  EXPECT_EQ(ObjectState.MainSum16, ReferenceChecksum16(Main(0, 0x1300)));
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{
                            "", FormatText("> 10:21:07 Chip Main Flash ACC32 CheckSum = 0x%08X.", sum)}));
}

TEST_F(ChecksumLinesTest, EepSumsCoverTheEepAreaAndAreLogged) {
  ComputeEepChecksum();
  const std::uint32_t sum = ReferenceSum(Eep(0x1000));
  EXPECT_EQ(ObjectState.EepSum, sum);
  EXPECT_EQ(ObjectState.EepSumLow, static_cast<std::uint16_t>(sum));
  EXPECT_EQ(ObjectState.EepSum16, ReferenceChecksum16(Eep(0x1000)));
  EXPECT_EQ(memo.Lines,
            std::vector<std::string>{FormatText("> 10:21:07 Chip EEP Data ACC32 CheckSum   = 0x%08X", sum)});
}

// A chip without EEP carries no EEP sum of an earlier chip into the chip checksum.
TEST_F(ChecksumLinesTest, WithoutEepTheEepSumsAreZero) {
  ObjectState.EepSum = 0x12345;
  ObjectState.EepSum16 = 0x6789;
  ObjectState.EepSumLow = 0x2345;
  SelectedChip.EepSize = 0;
  ComputeMainChecksum();
  EXPECT_EQ(ObjectState.EepSum, 0u);
  EXPECT_EQ(ObjectState.EepSum16, 0);
  EXPECT_EQ(ObjectState.EepSumLow, 0);
  ObjectState.EepSum = 0x12345;
  ComputeEepChecksum();
  EXPECT_EQ(ObjectState.EepSum, 0u);
  EXPECT_EQ(memo.Lines.back(), "> 10:21:07 Chip EEP Data ACC32 CheckSum   = 0x00000000");
  // With EEP the main sums leave the EEP sums alone.
  SelectedChip.EepSize = 0x1000;
  ObjectState.EepSum = 0x12345;
  ComputeMainChecksum();
  EXPECT_EQ(ObjectState.EepSum, 0x12345u);
}

TEST_F(ChecksumLinesTest, AMainReadBackLogsTheProgrammedRangeWhileTheSixteenBitSumsCoverTheArea) {
  ObjectState.MainSum = 0xCAFE;
  ShowReadMainChecksum();
  EXPECT_EQ(ObjectState.MainSum, 0xCAFEu);
  EXPECT_EQ(ObjectState.MainSum16, ReferenceChecksum16(Main(0, 0x20000)));
  EXPECT_EQ(ObjectState.MainSumLow, static_cast<std::uint16_t>(ReferenceSum(Main(0, 0x20000))));
  EXPECT_EQ(memo.Lines, std::vector<std::string>{FormatText("> 10:21:07 Read Chip Main Flash ACC32 CheckSum = 0x%08X.",
                                                            ReferenceSum(Main(0, 0x1300)))});
}

TEST_F(ChecksumLinesTest, AnEepReadBackDescribesTheDataReadAndKeepsEepSum) {
  ObjectState.EepSum = 0xCAFE;
  ShowReadEepChecksum();
  const std::uint32_t sum = ReferenceSum(Eep(0x1000));
  EXPECT_EQ(ObjectState.EepSum, 0xCAFEu);
  EXPECT_EQ(ObjectState.EepSum16, ReferenceChecksum16(Eep(0x1000)));
  EXPECT_EQ(ObjectState.EepSumLow, static_cast<std::uint16_t>(sum));
  EXPECT_EQ(memo.Lines,
            std::vector<std::string>{FormatText("> 10:21:07 Read Chip EEP Data ACC32 CheckSum = 0x%08X.", sum)});
}

// Lengths and sizes from a project or a family table never read outside the images.
TEST_F(ChecksumLinesTest, RangesAreCutToTheAreaAndTheImage) {
  struct Case {
    const char* what;
    std::uint32_t mainSize, base, dataLength, eepSize;
    std::size_t mainFirst, programmedCount, areaCount, eepCount;
  };
  constexpr std::uint32_t kNearEnd = kMainFlashImageSize - 0x100;
  const Case cases[] = {
      {"a length beyond the area", 0x20000, 0, 0xFFFFFFFF, 0x1000, 0, 0x20000, 0x20000, 0x1000},
      {"an area beyond the image", 0xFFFFFFFF, 0, 0xFFFFFFFF, 0xFFFFFFFF, 0, kMainFlashImageSize, kMainFlashImageSize,
       kEepImageSize},
      {"an offset near the end", 0x20000, kNearEnd, 0x20000, 0x1000, kNearEnd, 0x100, 0x100, 0x1000},
      {"an offset past the end", 0x20000, kMainFlashImageSize, 0x20000, 0x1000, 0, 0, 0, 0x1000},
      {"no data", 0x20000, 0, 0, 0x1000, 0, 0, 0x20000, 0x1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SelectedChip.MainSize = c.mainSize;
    SelectedChip.MainBaseOffset = c.base;
    ObjectState.MainDataLength = c.dataLength;
    SelectedChip.EepSize = c.eepSize;
    ComputeMainChecksum();
    EXPECT_EQ(ObjectState.MainSum, ReferenceSum(Main(c.mainFirst, c.programmedCount)));
    EXPECT_EQ(ObjectState.MainSum16, ReferenceChecksum16(Main(c.mainFirst, c.programmedCount)));
    ShowReadMainChecksum();
    EXPECT_EQ(ObjectState.MainSum16, ReferenceChecksum16(Main(c.mainFirst, c.areaCount)));
    ComputeEepChecksum();
    EXPECT_EQ(ObjectState.EepSum, ReferenceSum(Eep(c.eepCount)));
  }
}

}  // namespace
