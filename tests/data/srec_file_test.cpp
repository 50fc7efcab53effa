#include "data/srec_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "data/program_state.h"
#include "object_test_support.h"

namespace {

// The running state of one file, as LoadSRecFile keeps it, read into the job's images.
struct SRecParse {
  std::uint32_t address = 0;
  TRecordTotals totals;
  std::uint8_t operator()(const std::string& line) { return ParseSRecLine(line, address, totals, JobImages()); }
};

class SRecFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SelectChipAreas(); }
  ScriptedPrompts prompts;
  TempDir dir;
};

TEST_F(SRecFileTest, LineErrorCodes) {
  const std::string outside = SRecLine('1', 2, 0x0100, {7, 7});
  struct Case {
    std::string line;
    std::uint8_t code;
    int addressBoxes;
  };
  const Case cases[] = {
      {":1234", kLineBadStart, 0},
      {"s1030000FC", kLineBadStart, 0},
      {"S4030000FC", kLineBadType, 0},
      {"SX030000FC", kLineBadType, 0},
      {"S\x80" "030000FC", kLineBadType, 0},
      // Header, record counts (S6 too) and terminators: no checksum test.
      {"S0030000FF", kLineOk, 0},
      {"S5030000FF", kLineOk, 0},
      {"S604000000FF", kLineOk, 0},
      {"S70500000000FF", kLineOk, 0},
      {"S804000000FF", kLineOk, 0},
      {"S9030000FF", kLineOk, 0},
      {WithBadChecksum(SRecLine('3', 4, 0x08000000, {1, 2})), kLineBadChecksum, 0},
      {outside, kLineOutOfChip, 1},
      {WithBadChecksum(outside), kLineBadChecksum, 1},  // 4 wins over 7
      {"S1020000", kLineBadChecksum, 0},        // count smaller than address + checksum
      {"S300FF", kLineBadChecksum, 0},
      {SRecLine('1', 2, 0x0100, {}), kLineOk, 0},  // no data: only the checksum counts
      {WithBadChecksum(SRecLine('1', 2, 0x0100, {})), kLineBadChecksum, 0},
  };
  for (const auto& c : cases) {
    prompts.boxes.clear();
    SRecParse parse;
    EXPECT_EQ(parse(c.line), c.code) << c.line;
    EXPECT_EQ(static_cast<int>(prompts.boxes.size()), c.addressBoxes) << c.line;
    for (const auto& box : prompts.boxes) EXPECT_EQ(box, "info: Address \"0x00000100\" is out of Chip!");
  }
}

TEST_F(SRecFileTest, AddressWidthsAndRouting) {
  TChipAreas areas;
  areas.mainStart = 0, areas.mainEnd = 0x3FFFFF;
  areas.eepStart = 0x08000000, areas.eepEnd = 0x0800FFFF;
  SelectChipAreas(areas);
  SRecParse parse;
  EXPECT_EQ(parse(SRecLine('1', 2, 0x1234, {0x11, 0x12})), kLineOk);
  EXPECT_EQ(parse.address, 0x1234u);
  EXPECT_EQ(parse(SRecLine('2', 3, 0x345678, {0x21})), kLineOk);
  EXPECT_EQ(parse.address, 0x345678u);
  EXPECT_EQ(parse.totals.DataEnd, 0x345679u);
  EXPECT_EQ(parse(SRecLine('3', 4, 0x08000010, {0x31, 0x32, 0x33})), kLineOk);
  EXPECT_EQ(parse.address, 0x08000010u);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x1234], 0x11);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x1235], 0x12);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x345678], 0x21);
  EXPECT_EQ(0, std::memcmp(&MemoryImages.EepImage[0x10], "\x31\x32\x33", 3));
  EXPECT_EQ(parse.totals.Sum, 0x11u + 0x12 + 0x21 + 0x31 + 0x32 + 0x33);
  EXPECT_EQ(parse.totals.Lowest, 0x1234u);
  EXPECT_EQ(parse.totals.Highest, 0x08000012u);
}

// Unlike HEX, the bounds cover option records and records in no area; a
// record without data changes nothing.
TEST_F(SRecFileTest, BoundsCoverEveryDataRecord) {
  SRecParse parse;
  EXPECT_EQ(parse(SRecLine('3', 4, 0x1FFFF810, {1, 2, 3, 4})), kLineOk);
  EXPECT_EQ(parse.totals.Placed, AreaBit(TRecordArea::Option));
  EXPECT_EQ(MemoryImages.OptionImage[0x13], 4);
  EXPECT_EQ(parse.totals.DataEnd, 0u);
  EXPECT_EQ(parse.totals.Lowest, 0x1FFFF810u);
  EXPECT_EQ(parse.totals.Highest, 0x1FFFF813u);
  EXPECT_EQ(parse(SRecLine('3', 4, 0x00000100, {9, 9})), kLineOutOfChip);
  EXPECT_EQ(parse.totals.Lowest, 0x100u);
  EXPECT_EQ(parse(SRecLine('3', 4, 0x30000000, {})), kLineOk);  // no data, no area: no box either
  EXPECT_EQ(parse(SRecLine('3', 4, 0x00000010, {})), kLineOk);
  EXPECT_EQ(parse.totals.Lowest, 0x100u);
  EXPECT_EQ(parse.totals.Highest, 0x1FFFF813u);
  EXPECT_EQ(prompts.boxes.size(), 1u);
}

TEST_F(SRecFileTest, TruncatedLinesStoreNothing) {
  TChipAreas areas;
  areas.mainStart = 0, areas.mainEnd = 0xFFFFFFFE;
  SelectChipAreas(areas);
  const std::string lines[] = {
      SRecLine('1', 2, 0x0000, Bytes(32, 0x66)),
      SRecLine('2', 3, 0x000000, Bytes(7, 0x66)),
      SRecLine('3', 4, 0x00000000, Bytes(1, 0x66)),
  };
  for (const std::string& full : lines) {
    for (std::size_t length = 2; length < full.size(); ++length) {
      SRecParse parse;
      const std::string prefix = full.substr(0, length);
      EXPECT_EQ(parse(prefix), kLineBadChecksum) << prefix;
      EXPECT_EQ(parse.totals.Sum, 0u);
      EXPECT_EQ(parse.totals.Highest, 0u);
    }
  }
  EXPECT_EQ(MemoryImages.MainFlashImage[0], 0xFF);
  // The last bytes of the image, then far beyond it.
  SRecParse parse;
  EXPECT_EQ(parse(SRecLine('3', 4, kMainFlashImageSize - 1, Bytes(250, 0x66))), kLineOk);
  EXPECT_EQ(parse(SRecLine('3', 4, 0xFFFFFF00, Bytes(250, 0x66))), kLineOk);
  EXPECT_EQ(MemoryImages.MainFlashImage[kMainFlashImageSize - 1], 0x66);
  EXPECT_EQ(MemoryImages.EepImage[0], 0xFF);
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(SRecFileTest, LoadSkipsShortLinesAndTakesAnyTerminator) {
  const std::string file = dir.Path("test.s19");
  const std::string text = "S00600004844521B\r\n" + SRecLine('3', 4, 0x08000000, {1, 2, 3}) + "\r\n\r\nS\r\nS1\r\n" +
                           SRecLine('1', 2, 0x0010, {4}) + "\r\n" + "bad\r\n" + SRecLine('2', 3, 0x080000, {5}) +
                           "\r\nS9030000FC\r\nS804000000FB\r\nS70500000000FA";
  WriteFile(file, text);
  TRecordFileRead read = LoadSRecFile(ReadText(file), JobImages());
  EXPECT_EQ(read.Status, TObjectFileStatus::Read);
  EXPECT_EQ(prompts.boxes, (std::vector<std::string>{
                               "info: Address \"0x00000010\" is out of Chip!",
                               "ok/abort: Line 6 Data Error : 7.",
                               "ok/abort: Line 7 Data Error : 1.",
                               "info: Address \"0x00080000\" is out of Chip!",
                               "ok/abort: Line 8 Data Error : 7.",
                           }));
  EXPECT_EQ(read.Totals.Lowest, 0x10u);
  EXPECT_EQ(read.Totals.Highest, 0x08000002u);
  EXPECT_EQ(read.Totals.Sum, 1u + 2 + 3 + 4 + 5);

  prompts.boxes.clear();
  prompts.answers = {TPromptAnswer::Abort};
  read = LoadSRecFile(ReadText(file), JobImages());
  EXPECT_EQ(read.Status, TObjectFileStatus::Aborted);
  EXPECT_EQ(prompts.boxes.size(), 2u);
  EXPECT_EQ(read.Totals.Lowest, 0x08000000u);
  EXPECT_EQ(read.Totals.Highest, 0x08000002u);
}

}  // namespace
