#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "data/integer_text.h"
#include "data/serial_number.h"
#include "window_state_fixture.h"

namespace {

class SerialNumberTest : public WindowStateTest {
 protected:
  void SetUp() override {
    WindowStateTest::SetUp();
    SelectPatternChip();
    ProgramSettings.SnSize = 4;
    ProgramSettings.SnValue = 0x12345678;
  }
};

TEST_F(SerialNumberTest, BigAndLittleEndianAcrossARowBoundary) {
  struct Case {
    const char* what;
    std::uint8_t flags;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"big endian", 0x05, {0x12, 0x34, 0x56, 0x78}},
      {"little endian", 0x01, {0x78, 0x56, 0x34, 0x12}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramSettings.SnFlags = c.flags;
    ProgramSettings.SnAddress = 0x0800FFFE;
    const std::vector<std::uint8_t> before(Main(0xFFFC, 8).begin(), Main(0xFFFC, 8).end());
    const std::optional<TAreaSpan> written = WriteSerialNumberToImage();
    ASSERT_TRUE(written);
    EXPECT_EQ(written->First, 0xFFFEu);
    EXPECT_EQ(written->Last, 0x10001u);
    const std::vector<std::uint8_t> expected = {before[0], before[1], c.bytes[0], c.bytes[1],
                                                c.bytes[2], c.bytes[3], before[6], before[7]};
    EXPECT_EQ(std::vector<std::uint8_t>(Main(0xFFFC, 8).begin(), Main(0xFFFC, 8).end()), expected);
  }
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(SerialNumberTest, ANumberNotWhollyInsideTheMainAreaIsRefusedWithOneBoxAndNothingChanges) {
  const std::vector<std::uint8_t> image(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage));
  ObjectState.MainSum16 = 0x1111;
  ObjectState.MainSumLow = 0x2222;
  const std::uint32_t refused[] = {0x07FFFFFF, 0x07FFFFFE, 0x0801FFFD, 0x08020000, 0x0000FFF0, 0xFFFFFFFE};
  for (std::uint32_t address : refused) {
    SCOPED_TRACE(address);
    boxes.Shown.clear();
    ProgramSettings.SnAddress = address;
    EXPECT_FALSE(WriteSerialNumberToImage());
    char text[128];
    std::snprintf(text, sizeof text,
                  "S/N Address 0x%08X (4 Bytes) is out of Main Flash 0x08000000 - 0x0801FFFF, no chip is programmed!",
                  address);
    EXPECT_EQ(boxes.Shown, std::vector<std::string>{text});
  }
  EXPECT_TRUE(std::equal(image.begin(), image.end(), std::begin(MemoryImages.MainFlashImage)));
  EXPECT_EQ(ObjectState.MainDataLength, 0x1300u);
  EXPECT_EQ(ObjectState.MainSum16, 0x1111);
  EXPECT_EQ(ObjectState.MainSumLow, 0x2222);
  // The last four bytes of the area are accepted.
  ProgramSettings.SnAddress = 0x0801FFFC;
  EXPECT_TRUE(WriteSerialNumberToImage());
}

TEST_F(SerialNumberTest, ANumberAboveTheDataRaisesTheProgrammedLengthAndTheSixteenBitSumsFollow) {
  ObjectState.MainSum = 0xCAFE;
  struct Case {
    std::uint32_t address;
    std::uint32_t lengthBefore, lengthAfter;
  };
  const Case cases[] = {
      {0x08010000, 0x1300, 0x10100},  // above the data: the number is programmed too
      {0x08000100, 0x1300, 0x1300},   // inside it: unchanged
      {0x08000100, 0x8000, 0x10100},  // other data lies above a shorter range
      {0x08000100, 0x20000, 0x20000},  // a longer range is never cut
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    // Data up to 0x1300, blank above; the earlier number is taken out again
    // except where a case keeps it.
    std::fill(std::begin(MemoryImages.MainFlashImage) + 0x1300, std::end(MemoryImages.MainFlashImage), 0xFF);
    if (c.lengthBefore == 0x8000) MemoryImages.MainFlashImage[0x10000] = 0x00;
    ObjectState.MainDataLength = c.lengthBefore;
    ProgramSettings.SnAddress = c.address;
    ASSERT_TRUE(WriteSerialNumberToImage());
    EXPECT_EQ(ObjectState.MainDataLength, c.lengthAfter);
    EXPECT_EQ(ObjectState.MainSum16, ReferenceChecksum16(Main(0, c.lengthAfter)));
    EXPECT_EQ(ObjectState.MainSumLow, static_cast<std::uint16_t>(ReferenceSum(Main(0, c.lengthAfter))));
  }
  EXPECT_EQ(ObjectState.MainSum, 0xCAFEu);
}

TEST(SerialNumberText, DecimalOrEightHexDigitsAndTheDecimalOfTheLargestReadsBack) {
  EXPECT_EQ(SerialNumberText(0xFFFFFFFF, true), "4294967295");
  EXPECT_EQ(SerialNumberText(42, true), "42");
  EXPECT_EQ(SerialNumberText(0xFFFFFFFF, false), "0xFFFFFFFF");
  EXPECT_EQ(SerialNumberText(0xAB, false), "0x000000AB");
  for (std::uint32_t value : {0u, 42u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    EXPECT_EQ(StrToInt32(SerialNumberText(value, true)), value);
    EXPECT_EQ(StrToInt32(SerialNumberText(value, false)), value);
  }
}

}  // namespace
