#include "data/hex_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "data/program_state.h"
#include "object_test_support.h"

namespace {

// The running state of one file, as LoadHexFile keeps it, read into the job's images.
struct HexParse {
  std::uint32_t linear = 0, segment = 0;
  TRecordTotals totals;
  std::uint8_t operator()(const std::string& line) { return ParseHexLine(line, linear, segment, totals, JobImages()); }
};

class HexFileTest : public ::testing::Test {
 protected:
  void SetUp() override { SelectChipAreas(); }
  ScriptedPrompts prompts;
  TempDir dir;
};

TEST(HexPairToByte, DigitsAndNonDigits) {
  struct Case {
    char high, low;
    std::uint8_t value;
  };
  const Case cases[] = {
      {'0', '0', 0x00}, {'F', 'F', 0xFF}, {'f', 'f', 0xFF}, {'a', 'B', 0xAB}, {'9', 'c', 0x9C},
      // No validation: the value is whatever the rule gives, kept in 8 bits.
      {'G', '0', 0x00}, {'0', 'g', 0x10}, {':', '0', 0xA0}, {' ', '1', 0x01}, {'\xC3', '0', 0x30},
  };
  for (const auto& c : cases) EXPECT_EQ(HexPairToByte(c.high, c.low), c.value) << c.high << c.low;
}

TEST_F(HexFileTest, LineErrorCodes) {
  const std::string inMain = HexLine(0x00, 0x0010, {1, 2, 3});  // linear part set to 0x0800 below
  const std::string outside = HexLine(0x00, 0x0000, {9, 9});    // linear part 0: address 0
  struct Case {
    std::string line;
    std::uint8_t code;
    int addressBoxes;
  };
  const Case cases[] = {
      {"020000040800F2", kLineBadStart, 0},
      {"", kLineBadStart, 0},
      {HexLine(0x04, 0x0001, {0x08, 0x00}), kLineBadExtAddress, 0},
      {HexLine(0x02, 0x1000, {0x10, 0x00}), kLineBadExtAddress, 0},
      {WithBadChecksum(HexLine(0x04, 0, {0x08, 0x00})), kLineBadChecksum, 0},
      {":0000000000", kLineOk, 0},                     // any count-0 record is ignored
      {WithBadChecksum(HexLine(0x01, 0, {0})), kLineOk, 0},    // types 01, 03, 05: no checksum test
      {WithBadChecksum(HexLine(0x03, 0, {1, 2, 3, 4})), kLineOk, 0},
      {WithBadChecksum(HexLine(0x05, 0, {1, 2, 3, 4})), kLineOk, 0},
      {HexLine(0x06, 0, {0}), kLineUnknownType, 0},
      {HexLine(0xFF, 0, {0}), kLineUnknownType, 0},
      {outside, kLineOutOfChip, 1},
      {WithBadChecksum(outside), kLineBadChecksum, 1},  // 4 wins over 7; the address box still shows
  };
  for (const auto& c : cases) {
    prompts.boxes.clear();
    HexParse parse;
    EXPECT_EQ(parse(c.line), c.code) << c.line;
    EXPECT_EQ(static_cast<int>(prompts.boxes.size()), c.addressBoxes) << c.line;
    for (const auto& box : prompts.boxes) EXPECT_EQ(box, "info: Address \"0x00000000\" is out of Chip!");
  }

  // A data record with a wrong checksum is stored, then reported.
  HexParse parse;
  EXPECT_EQ(parse(":020000040800F2"), kLineOk);
  EXPECT_EQ(parse(WithBadChecksum(inMain)), kLineBadChecksum);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x10], 1);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x12], 3);
}

TEST_F(HexFileTest, RoutesRecordsByStartAddress) {
  TChipAreas areas;
  areas.auxStart = 0x20000000, areas.auxEnd = 0x200003FF;
  SelectChipAreas(areas);
  HexParse parse;
  const Bytes data = {0xA1, 0xA2, 0xA3, 0xA4};
  std::uint32_t expectedSum = 0;
  for (std::uint8_t b : data) expectedSum += b;

  EXPECT_EQ(parse(HexLine(0x04, 0, {0x1F, 0xFF})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0xF804, data)), kLineOk);  // option area
  EXPECT_EQ(parse.totals.Placed, AreaBit(TRecordArea::Option));
  EXPECT_EQ(0, std::memcmp(&MemoryImages.OptionImage[4], data.data(), 4));
  EXPECT_EQ(parse.totals.Lowest, 0xFFFFFFFFu);  // option records leave the bounds and LoadedDataEnd alone
  EXPECT_EQ(parse.totals.Highest, 0u);
  EXPECT_EQ(parse.totals.DataEnd, 0u);

  EXPECT_EQ(parse(HexLine(0x04, 0, {0x08, 0x08})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0x0100, data)), kLineOk);  // EEP area 0x08080000
  EXPECT_EQ(0, std::memcmp(&MemoryImages.EepImage[0x100], data.data(), 4));
  EXPECT_EQ(parse.totals.DataEnd, 0x08080104u);
  EXPECT_EQ(parse.totals.Placed, AreaBit(TRecordArea::Option) | AreaBit(TRecordArea::Eep));

  EXPECT_EQ(parse(HexLine(0x04, 0, {0x20, 0x00})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0x0010, data)), kLineOk);  // auxiliary area
  EXPECT_EQ(0, std::memcmp(&MemoryImages.AuxAreaImage[0x10], data.data(), 4));

  // Main, 3 bytes before its end: the record runs on into the EEP addresses
  // but stays in the main image.
  EXPECT_EQ(parse(HexLine(0x04, 0, {0x08, 0x07})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0xFFFD, data)), kLineOk);
  EXPECT_EQ(0, std::memcmp(&MemoryImages.MainFlashImage[0x7FFFD], data.data(), 4));
  EXPECT_EQ(MemoryImages.EepImage[0], 0xFF);
  EXPECT_EQ(parse.totals.Lowest, 0x0807FFFDu);
  EXPECT_EQ(parse.totals.Highest, 0x20000013u);
  EXPECT_EQ(parse.totals.DataEnd, 0x08080001u);
  EXPECT_EQ(parse.totals.Sum, 4 * expectedSum);
  EXPECT_EQ(parse.totals.Placed, AreaBit(TRecordArea::Option) | AreaBit(TRecordArea::Main) | AreaBit(TRecordArea::Eep) |
                              AreaBit(TRecordArea::Aux));
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(HexFileTest, AbsentAreasTakeNoRecords) {
  TChipAreas areas;
  areas.mainStart = 0, areas.mainEnd = 0xFFFF;
  areas.eepStart = areas.eepEnd = 0xFFFFFFFF;
  SelectChipAreas(areas);
  HexParse parse;
  EXPECT_EQ(parse(HexLine(0x04, 0, {0xFF, 0xFF})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0xFFFF, {0x55})), kLineOutOfChip);
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{"info: Address \"0xFFFFFFFF\" is out of Chip!"});
  EXPECT_EQ(MemoryImages.EepImage[0], 0xFF);
  EXPECT_EQ(MemoryImages.AuxAreaImage[0], 0x00);
  EXPECT_EQ(parse.totals.Sum, 0x55u);  // summed all the same
}

TEST_F(HexFileTest, ExtendedSegmentAddsToLinear) {
  HexParse parse;
  EXPECT_EQ(parse(":020000040800F2"), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0x0004, {0x11})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x02, 0, {0x10, 0x00})), kLineOk);  // segment 0x1000 x 16
  EXPECT_EQ(parse(HexLine(0x00, 0x0004, {0x22})), kLineOk);
  EXPECT_EQ(parse(HexLine(0x04, 0, {0x08, 0x01})), kLineOk);  // does not clear the segment part
  EXPECT_EQ(parse(HexLine(0x00, 0x0008, {0x33})), kLineOk);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x00004], 0x11);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x10004], 0x22);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x20008], 0x33);
  EXPECT_EQ(parse.linear, 0x08010000u);
  EXPECT_EQ(parse.segment, 0x10000u);
}

// Whatever the address or count says, nothing is written beyond an image:
// the images lie next to each other in one record, so an overrun would land
// in the neighbour.
TEST_F(HexFileTest, StoresStayInsideTheImage) {
  TChipAreas areas;
  areas.mainStart = 0, areas.mainEnd = 0xFFFEFFFF;
  areas.optionStart = 0xFFFF0000, areas.optionEnd = 0xFFFFFFFE;
  areas.eepStart = areas.eepEnd = 0xFFFFFFFF;
  SelectChipAreas(areas);
  HexParse parse;
  const Bytes data(255, 0x5A);
  parse.linear = 0x00400000;  // 2 bytes before the end of the main image
  EXPECT_EQ(parse(HexLine(0x00, 0x0FFE, data)), kLineOk);
  EXPECT_EQ(MemoryImages.MainFlashImage[kMainFlashImageSize - 2], 0x5A);
  EXPECT_EQ(MemoryImages.MainFlashImage[kMainFlashImageSize - 1], 0x5A);
  EXPECT_EQ(MemoryImages.EepImage[0], 0xFF);
  EXPECT_EQ(parse.totals.DataEnd, 0x00400FFEu + 255);
  parse.linear = 0x7FFF0000;  // far beyond the image, inside the area
  EXPECT_EQ(parse(HexLine(0x00, 0, data)), kLineOk);
  parse.linear = 0xFFFF0000;  // the option image is 8 KB, its area almost 64 KB
  EXPECT_EQ(parse(HexLine(0x00, 0x1FFE, data)), kLineOk);
  EXPECT_EQ(parse(HexLine(0x00, 0xFFF0, data)), kLineOk);
  EXPECT_EQ(MemoryImages.OptionImage[kOptionImageSize - 1], 0x5A);
  EXPECT_EQ(MemoryImages.DriverImage[0], 0x00);
  EXPECT_EQ(parse.totals.Sum, 4u * 255 * 0x5A);
  EXPECT_TRUE(prompts.boxes.empty());
}

TEST_F(HexFileTest, TruncatedLinesStoreNothing) {
  const std::string lines[] = {
      HexLine(0x00, 0x0000, Bytes(16, 0x77)),
      HexLine(0x04, 0, {0x08, 0x00}),
      HexLine(0x02, 0, {0x10, 0x00}),
  };
  for (const std::string& full : lines) {
    for (std::size_t length = 1; length < full.size(); ++length) {
      HexParse parse;
      parse.linear = 0x08000000;
      const std::string prefix = full.substr(0, length);
      EXPECT_EQ(parse(prefix), kLineBadChecksum) << prefix;
      EXPECT_EQ(parse.totals.Sum, 0u);
      EXPECT_EQ(parse.linear, 0x08000000u) << prefix;
      EXPECT_EQ(parse.segment, 0u) << prefix;
    }
  }
  EXPECT_EQ(MemoryImages.MainFlashImage[0], 0xFF);
  // A count larger than the line holds.
  HexParse parse;
  EXPECT_EQ(parse(":FF00000000"), kLineBadChecksum);
  EXPECT_TRUE(prompts.boxes.empty());
}

// A file that exercises every code, answered OK throughout, then aborted.
class HexFileLoadTest : public HexFileTest {
 protected:
  void SetUp() override {
    HexFileTest::SetUp();
    const std::string lines[] = {
        ":020000040800F2",                                // 1
        HexLine(0x00, 0x0000, Bytes(16, 0x01)),           // 2
        "garbage",                                        // 3: code 1
        ":00000001FF",                                    // 4: skipped mid-file
        WithBadChecksum(HexLine(0x00, 0x0200, {0x02})),   // 5: stored, code 4
        ":02000004000DED",                                // 6: linear part 0x000D0000
        HexLine(0x00, 0x0000, {0x03}),                    // 7: no area, code 7
        WithBadChecksum(HexLine(0x00, 0x0000, {0x04})),   // 8: no area and bad checksum, code 4
        HexLine(0x06, 0x0000, {0x00}),                    // 9: code 5
        HexLine(0x04, 0x0001, {0x08, 0x00}),              // 10: code 3
        ":020000040800F2",                                // 11
        HexLine(0x00, 0x0100, Bytes(16, 0x05)),           // 12
        ":00000001FF",                                    // 13
        "",                                               // 14: skipped
    };
    for (const auto& line : lines) text += line + "\n";
    WriteFile(file, text);
  }
  std::string file = dir.Path("test.hex");
  std::string text;
  TRecordFileRead Load() const { return LoadHexFile(ReadText(file), JobImages()); }
};

TEST_F(HexFileLoadTest, EveryCodeAnsweredOk) {
  const TRecordFileRead read = Load();
  EXPECT_EQ(read.Status, TObjectFileStatus::Read);
  const std::vector<std::string> expected = {
      "ok/abort: Line 3 Data Error : 1.",
      "ok/abort: Line 5 Data Error : 4.",
      "info: Address \"0x000D0000\" is out of Chip!",
      "ok/abort: Line 7 Data Error : 7.",
      "info: Address \"0x000D0000\" is out of Chip!",
      "ok/abort: Line 8 Data Error : 4.",
      "ok/abort: Line 9 Data Error : 5.",
      "ok/abort: Line 10 Data Error : 3.",
  };
  EXPECT_EQ(prompts.boxes, expected);
  const TRecordTotals& t = read.Totals;
  EXPECT_EQ(t.Lowest, 0x08000000u);
  EXPECT_EQ(t.Highest, 0x08000200u);  // line 5 counts: it was stored before its checksum failed
  EXPECT_EQ(t.Sum, 16u * 1 + 2 + 3 + 4 + 16 * 5);
  EXPECT_EQ(t.Placed, AreaBit(TRecordArea::Main));  // the records that no area holds place nothing
  EXPECT_EQ(t.DataEnd, 0x08000110u);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x200], 0x02);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x10F], 0x05);
}

// The totals are those of the lines before the one aborted at.
TEST_F(HexFileLoadTest, AbortStopsAtTheLineAndKeepsEarlierTotals) {
  prompts.answers = {TPromptAnswer::Ok, TPromptAnswer::Abort};  // abort at line 5
  const TRecordFileRead read = Load();
  EXPECT_EQ(read.Status, TObjectFileStatus::Aborted);
  EXPECT_EQ(prompts.boxes.size(), 2u);
  EXPECT_EQ(read.Totals.Lowest, 0x08000000u);  // line 5's own bounds (0x08000200) are not taken
  EXPECT_EQ(read.Totals.Highest, 0x0800000Fu);
  EXPECT_EQ(read.Totals.Sum, 16u);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x200], 0x02);  // what was stored stays
  EXPECT_EQ(MemoryImages.MainFlashImage[0x100], 0xFF);
}

TEST_F(HexFileLoadTest, AbortOnTheFirstLineGivesNoBounds) {
  WriteFile(file, "\r\n" + WithBadChecksum(":020000040800F2") + "\r\n" + text);
  prompts.answers = {TPromptAnswer::Abort};
  const TRecordFileRead read = Load();
  EXPECT_EQ(read.Status, TObjectFileStatus::Aborted);
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{"ok/abort: Line 2 Data Error : 4."});
  EXPECT_EQ(read.Totals.Lowest, 0xFFFFFFFFu);
  EXPECT_EQ(read.Totals.Highest, 0u);
}

TEST_F(HexFileLoadTest, CrLfReadsAsLf) {
  const TRecordFileRead lf = Load();
  ASSERT_EQ(lf.Status, TObjectFileStatus::Read);
  const Bytes imageLf(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + 0x1000);
  const auto boxesLf = prompts.boxes;

  SelectChipAreas();
  prompts.boxes.clear();
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  crlf.resize(crlf.size() - 2);  // and no line end after the last line
  WriteFile(file, crlf);
  const TRecordFileRead read = Load();
  ASSERT_EQ(read.Status, TObjectFileStatus::Read);
  EXPECT_EQ(Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + 0x1000), imageLf);
  EXPECT_EQ(prompts.boxes, boxesLf);
  EXPECT_EQ(read.Totals.Lowest, lf.Totals.Lowest);
  EXPECT_EQ(read.Totals.Highest, lf.Totals.Highest);
  EXPECT_EQ(read.Totals.Sum, lf.Totals.Sum);
}

TEST_F(HexFileLoadTest, LineCounterWrapsAfter65535) {
  WriteFile(file, std::string(65537, '\n') + "bad\n");
  const TRecordFileRead read = Load();
  EXPECT_EQ(read.Status, TObjectFileStatus::Read);
  EXPECT_EQ(prompts.boxes, std::vector<std::string>{"ok/abort: Line 2 Data Error : 1."});
  EXPECT_EQ(read.Totals.Sum, 0u);
  EXPECT_EQ(read.Totals.Placed, 0);
  EXPECT_EQ(read.Totals.Lowest, 0xFFFFFFFFu);
}

}  // namespace
