#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "data/integer_text.h"
#include "data/run_settings.h"
#include "data/serial_number.h"
#include "window_state_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes NumberBytes(const TSerialNumberBytes& n) { return Bytes(n.Bytes, n.Bytes + n.Size); }

class SerialNumberTest : public WindowStateTest {
 protected:
  void SetUp() override {
    WindowStateTest::SetUp();
    SelectPatternChip();
    ProgramSettings.SnSize = 4;
    ProgramSettings.SnValue = 0x12345678;
  }
  static Bytes Image() { return Bytes(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage)); }
};

// The number goes into what is sent, in the order its bytes stand in the
// chip; the image keeps the file's data.
TEST_F(SerialNumberTest, BothByteOrdersAndTheImageKeepsTheFilesData) {
  struct Case {
    const char* what;
    std::uint8_t flags;
    Bytes bytes;
  };
  const Case cases[] = {
      {"big endian", 0x05, {0x12, 0x34, 0x56, 0x78}},
      {"little endian", 0x01, {0x78, 0x56, 0x34, 0x12}},
  };
  const Bytes image = Image();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ProgramSettings.SnFlags = c.flags;
    ProgramSettings.SnAddress = 0x0800FFFE;
    ASSERT_TRUE(PrepareSerialNumber());
    EXPECT_EQ(ObjectState.OnlineSerialNumber.First, 0xFFFEu);
    EXPECT_EQ(NumberBytes(ObjectState.OnlineSerialNumber), c.bytes);
  }
  EXPECT_EQ(Image(), image);
  EXPECT_EQ(ObjectState.MainDataLength, 0x1300u);
  EXPECT_TRUE(boxes.Shown.empty());
}

TEST_F(SerialNumberTest, ANumberNotWhollyInsideTheMainAreaIsRefusedWithOneBoxAndNothingChanges) {
  ProgramSettings.SnAddress = 0x08000010;
  ASSERT_TRUE(PrepareSerialNumber());
  const TSerialNumberBytes given = ObjectState.OnlineSerialNumber;
  const std::uint32_t refused[] = {0x07FFFFFF, 0x07FFFFFE, 0x0801FFFD, 0x08020000, 0x0000FFF0, 0xFFFFFFFE};
  for (std::uint32_t address : refused) {
    SCOPED_TRACE(address);
    boxes.Shown.clear();
    ProgramSettings.SnAddress = address;
    EXPECT_FALSE(PrepareSerialNumber());
    char text[128];
    std::snprintf(text, sizeof text,
                  "S/N Address 0x%08X (4 Bytes) is out of Main Flash 0x08000000 - 0x0801FFFF, no chip is programmed!",
                  address);
    EXPECT_EQ(boxes.Shown, std::vector<std::string>{text});
    EXPECT_EQ(ObjectState.OnlineSerialNumber.First, given.First);
    EXPECT_EQ(NumberBytes(ObjectState.OnlineSerialNumber), NumberBytes(given));
  }
  // The last four bytes of the area are accepted.
  ProgramSettings.SnAddress = 0x0801FFFC;
  EXPECT_TRUE(PrepareSerialNumber());
}

// A run with the number programs it with the rest of the data: its length
// reaches the number, and its sums are those of the image with the number
// in place. Without online S/N, or for the download, the run is the file's.
TEST_F(SerialNumberTest, ARunWithTheNumberCoversItAndSumsItWhereItStands) {
  ObjectState.MainSum16 = 0x1111;
  ObjectState.MainSumLow = 0x2222;
  ProgramSettings.SnFlags = 0x05;
  struct Case {
    std::uint32_t address;
    std::uint32_t lengthBefore, lengthAfter;
  };
  const Case cases[] = {
      {0x08010000, 0x1300, 0x10100},   // above the data: the number is programmed too
      {0x08000100, 0x1300, 0x1300},    // inside it: unchanged
      {0x0801FFFC, 0x1300, 0x20000},   // at the end of the flash: never beyond it
      {0x08000100, 0x20000, 0x20000},  // a longer range is never cut
  };
  const Bytes image = Image();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    ObjectState.MainDataLength = c.lengthBefore;
    ProgramSettings.SnAddress = c.address;
    ASSERT_TRUE(PrepareSerialNumber());
    Bytes withNumber = image;
    std::ranges::copy(NumberBytes(ObjectState.OnlineSerialNumber), withNumber.begin() + (c.address - 0x08000000));
    const std::span<const std::uint8_t> programmed(withNumber.data(), c.lengthAfter);

    ProgramSettings.SnOnline = 1;
    const TRunSettings run = CurrentRunSettings(true);
    EXPECT_EQ(run.MainDataLength, c.lengthAfter);
    EXPECT_EQ(run.MainSum16, ReferenceChecksum16(programmed));
    EXPECT_EQ(run.MainSumLow, static_cast<std::uint16_t>(ReferenceSum(programmed)));
    EXPECT_EQ(NumberBytes(run.SerialNumber), NumberBytes(ObjectState.OnlineSerialNumber));

    for (const bool online : {false, true}) {
      ProgramSettings.SnOnline = online;
      const TRunSettings file = CurrentRunSettings(!online);
      EXPECT_EQ(file.MainDataLength, c.lengthBefore);
      EXPECT_EQ(file.MainSum16, 0x1111);
      EXPECT_EQ(file.MainSumLow, 0x2222);
      EXPECT_EQ(file.SerialNumber.Size, 0);
    }
    EXPECT_EQ(ObjectState.MainDataLength, c.lengthBefore);
  }
  EXPECT_EQ(Image(), image);
}

// A number given for an earlier, larger chip does not reach the chip now selected.
TEST_F(SerialNumberTest, ANumberOutsideTheSelectedChipsAreaStaysOutOfTheRun) {
  ProgramSettings.SnAddress = 0x08010000;
  ASSERT_TRUE(PrepareSerialNumber());
  ProgramSettings.SnOnline = 1;
  SelectedChip.MainSize = 0x10000;
  SelectedChip.MainEnd = 0x0800FFFF;
  const TRunSettings run = CurrentRunSettings(true);
  EXPECT_EQ(run.SerialNumber.Size, 0);
  EXPECT_EQ(run.MainDataLength, 0x1300u);
}

// Each block sent or compared gets the bytes of the number that fall in it,
// also when the number crosses from one block into the next.
TEST(PutSerialNumber, OnlyTheBytesInsideTheBlock) {
  const TSerialNumberBytes number{0x0FFE, 4, {0xA1, 0xA2, 0xA3, 0xA4}};
  struct Case {
    std::size_t blockStart, blockSize;
    std::vector<std::pair<std::size_t, std::uint8_t>> written;  // block index, byte
  };
  const Case cases[] = {
      {0x0000, 0x1000, {{0xFFE, 0xA1}, {0xFFF, 0xA2}}},
      {0x1000, 0x1000, {{0, 0xA3}, {1, 0xA4}}},
      {0x1000, 1, {{0, 0xA3}}},  // a short last block
      {0x2000, 0x1000, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.blockStart);
    Bytes block(c.blockSize, 0x00);
    PutSerialNumber(number, c.blockStart, block);
    Bytes expected(c.blockSize, 0x00);
    for (const auto& [at, byte] : c.written) expected[at] = byte;
    EXPECT_EQ(block, expected);
  }
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
