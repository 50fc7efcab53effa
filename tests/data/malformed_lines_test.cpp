// Lines of every kind of damage through both line parsers, with every area
// open, so that the sanitizer builds catch any read or write out of bounds.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "data/hex_file.h"
#include "data/program_state.h"
#include "data/srec_file.h"
#include "object_test_support.h"

namespace {

class MalformedLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TChipAreas areas;
    areas.optionStart = 0x00000000, areas.optionEnd = 0x000000FF;
    areas.mainStart = 0x00000100, areas.mainEnd = 0x7FFFFFFF;
    areas.eepStart = 0x80000000, areas.eepEnd = 0xBFFFFFFF;
    areas.auxStart = 0xC0000000, areas.auxEnd = 0xFFFFFFFE;
    SelectChipAreas(areas);
  }

  // A valid record, then damaged: cut short, a character replaced, or a
  // count byte that claims anything.
  std::string Damaged(std::string line) {
    switch (generator() % 4) {
      case 0:
        line.resize(generator() % (line.size() + 1));
        break;
      case 1:
        line[generator() % line.size()] = static_cast<char>(generator());
        break;
      case 2:
        if (line.size() > 3) line[1 + generator() % 2] = "0123456789ABCDEFZ"[generator() % 17];
        break;
      default:
        line[2 + generator() % 2] = "0123456789ABCDEF"[generator() % 16];
        break;
    }
    return line;
  }

  Bytes SomeBytes() {
    Bytes data(generator() % 256);
    for (auto& b : data) b = static_cast<std::uint8_t>(generator());
    return data;
  }

  std::mt19937 generator{20240611};
  ScriptedPrompts prompts;
};

TEST_F(MalformedLinesTest, HexLinesNeverLeaveTheImages) {
  const std::set<int> codes = {kLineOk, kLineBadStart, kLineBadExtAddress, kLineBadChecksum, kLineUnknownType,
                               kLineOutOfChip};
  std::uint32_t linear = 0, segment = 0;
  TRecordTotals totals;
  for (int i = 0; i < 20000; ++i) {
    const auto type = static_cast<std::uint8_t>(generator() % 8);
    const auto address = static_cast<std::uint16_t>(generator());
    Bytes data = SomeBytes();
    if (type == 2 || type == 4) data.resize(2);
    const std::string line = Damaged(HexLine(type, address, data));
    const int code = ParseHexLine(line, linear, segment, totals, JobImages());
    ASSERT_TRUE(codes.count(code)) << line << " gave " << code;
  }
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.DriverImage), std::end(MemoryImages.DriverImage),
                          [](auto b) { return b == 0; }));
}

TEST_F(MalformedLinesTest, SRecLinesNeverLeaveTheImages) {
  const std::set<int> codes = {kLineOk, kLineBadStart, kLineBadType, kLineBadChecksum, kLineOutOfChip};
  std::uint32_t address = 0;
  TRecordTotals totals;
  for (int i = 0; i < 20000; ++i) {
    const int addressBytes = 2 + static_cast<int>(generator() % 3);
    Bytes data = SomeBytes();
    if (data.size() > 250) data.resize(250);
    const std::string line = Damaged(SRecLine(static_cast<char>('0' + addressBytes - 1), addressBytes,
                                              static_cast<std::uint32_t>(generator()), data));
    const int code = ParseSRecLine(line, address, totals, JobImages());
    ASSERT_TRUE(codes.count(code)) << line << " gave " << code;
  }
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.DriverImage), std::end(MemoryImages.DriverImage),
                          [](auto b) { return b == 0; }));
}

}  // namespace
