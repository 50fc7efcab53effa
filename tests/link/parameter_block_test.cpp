#include "link/parameter_block.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "data/random.h"
#include "data/run_settings.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr int kCh = 2;

Bytes Le(std::uint32_t v, int n) {
  Bytes b;
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return b;
}

std::uint32_t GetLe(const std::uint8_t* p, int n) {
  std::uint32_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = v << 8 | p[i];
  return v;
}

std::uint8_t* Packet() { return CommBuffers.PacketBuffers[kCh]; }

// Every source field a distinct value. The blocks are built from these as
// they stand (CurrentRunSettings), as a download started now would take them.
void SetDistinctState() {
  ResetProgramState();
  SelectedChip.OptionFormat = 0x01;
  ProgramSettings.DeviceAddress = 0x02;
  SelectedChip.ChipCode = 0x03;
  SelectedChip.ChipFamilyCode = 0x04;
  SelectedChip.ChipSubType = 0x05;
  ProgramSettings.AutoDetect = 0x07;
  SelectedChip.ChipSubParam1 = 0x08;
  SelectedChip.ChipSubParam2 = 0x09;
  ObjectState.MainDataLength = 0x13121110;
  SelectedChip.EepSize = 0x17161514;
  SelectedChip.MainStart = 0x1B1A1918;
  SelectedChip.EepStart = 0x1F1E1D1C;
  SelectedChip.ControlBytes = {0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27};
  ProgramSettings.PowerUpTime = 0x28;
  ProgramSettings.PowerDownTime = 0x29;
  ProgramSettings.ChipInTime = 0x2A;
  ProgramSettings.ChipOutTime = 0x2B;
  SelectedChip.MainPageSize = 0x2D2C;
  SelectedChip.EepPageSize = 0x2F2E;
  ObjectState.MainSum16 = 0x3130;
  ObjectState.MainSumLow = 0x3332;
  ObjectState.EepSum16 = 0x3534;
  ObjectState.EepSumLow = 0x3736;
  ObjectState.OptionSum16 = 0x3938;
  ObjectState.OptionSum = 0x3B3A;
  SelectedChip.ChipExtParam1 = 0x40;
  SelectedChip.ChipExtParam2 = 0x41;
  ProgramSettings.ChipExtWord = 0x4342;
  ProgramSettings.RunTime = 0x4544;
  // Fields that the blocks do not carry.
  SelectedChip.MainSize = 0xDEADBEEF;
  ObjectState.EepDataLength = 0xDEADBEEF;
}

std::uint8_t NextRandom(std::uint32_t seed, std::uint32_t bound) {
  SetRandomSeed(seed);
  return static_cast<std::uint8_t>(Random(bound));
}

TEST(ParameterBlock, Layout) {
  SetDistinctState();
  std::memset(Packet(), 0xEE, kPacketBufferSize);
  const std::uint8_t randomByte = NextRandom(77, 255);
  SetRandomSeed(77);
  BuildParameterBlock(20, 0xA55A, CurrentRunSettings(false), kCh);

  Bytes expected(80, 0);
  auto put = [&](std::size_t at, const Bytes& b) { std::copy(b.begin(), b.end(), expected.begin() + at); };
  put(1, {0x01, 0x02, 0x03, 0x04, 0x05, randomByte, 0x07, 0x08, 0x09});
  put(10, {0x5A, 0xA5});
  put(16, Le(0x13121110, 4));
  put(20, Le(0x17161514, 4));
  put(24, Le(0x1B1A1918, 4));
  put(28, Le(0x1F1E1D1C, 4));
  put(32, {0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A, 0x2B});
  put(44, {0x2C, 0x2D, 0x2E, 0x2F, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3A, 0x3B});
  put(64, {0x40, 0x41, 0x42, 0x43, 0x44, 0x45});
  EXPECT_EQ(Bytes(Packet() + 20, Packet() + 100), expected);
  EXPECT_EQ(Packet()[19], 0xEE);
  EXPECT_EQ(Packet()[100], 0xEE);
}

TEST(ParameterBlock, RandomByteIsFreshEveryBlock) {
  SetDistinctState();
  std::vector<std::uint8_t> drawn;
  for (int i = 0; i < 32; ++i) {
    BuildParameterBlock(8, 0, CurrentRunSettings(false), kCh);
    drawn.push_back(Packet()[8 + 6]);
    EXPECT_EQ(Packet()[8 + 10], 0);
    EXPECT_EQ(Packet()[8 + 11], 0);
  }
  std::sort(drawn.begin(), drawn.end());
  EXPECT_GT(std::unique(drawn.begin(), drawn.end()) - drawn.begin(), 16);
  EXPECT_LE(drawn.back(), 254);
}

TEST(ParameterBlock, NoWriteOutsideThePacketBuffer) {
  SetDistinctState();
  std::memset(CommBuffers.PacketBuffers[kCh + 1], 0xEE, kPacketBufferSize);
  BuildParameterBlock(static_cast<std::uint16_t>(kPacketBufferSize - 79), 0, CurrentRunSettings(false), kCh);
  PutPaddedString("ABC", static_cast<std::uint16_t>(kPacketBufferSize - 2), 16, kCh);
  EXPECT_EQ(CommBuffers.PacketBuffers[kCh + 1][0], 0xEE);
}

TEST(PutPaddedString, Fields) {
  struct Case {
    const char* name;
    std::string text;
    std::uint16_t width;
    std::string stored;  // before the zero padding
  };
  const Case cases[] = {
      {"empty_is_question_mark", "", 16, "?"},
      {"short", "AC7801", 16, "AC7801"},
      {"exact", "ABCDEFGHIJKLMNOP", 16, "ABCDEFGHIJKLMNOP"},
      {"cut", "ABCDEFGHIJKLMNOPQRST", 16, "ABCDEFGHIJKLMNOP"},
      {"cut_48", std::string(60, 'f'), 48, std::string(48, 'f')},
      {"cut_before_split_character", "ABCDEFGHIJKLMNO\xC3\xA9", 16, "ABCDEFGHIJKLMNO"},
      {"three_byte_character_kept_whole", "ABCDEFGHIJKLM\xE4\xB8\xAD", 16, "ABCDEFGHIJKLM\xE4\xB8\xAD"},
      {"cut_before_three_byte_character", "ABCDEFGHIJKLMN\xE4\xB8\xAD", 16, "ABCDEFGHIJKLMN"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::memset(Packet(), 0xEE, kPacketBufferSize);
    PutPaddedString(c.text, 240, c.width, kCh);
    Bytes expected(c.stored.begin(), c.stored.end());
    expected.resize(c.width, 0);
    EXPECT_EQ(Bytes(Packet() + 240, Packet() + 240 + c.width), expected);
    EXPECT_EQ(Packet()[240 + c.width], 0xEE);
  }
}

class ChipDataBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDistinctState();
    ProgramSettings.SnFlags = 0x81;
    ProgramSettings.SnSize = 4;
    ProgramSettings.CountLimit = 0x00012345;
    ProgramSettings.SnAddress = 0x0800FFF0;
    ObjectState.FileChecksum = 0xCAFEBABE;
    SessionTexts.ChipName = "AC7801MBTE";
    SessionTexts.ChipText2 = "app.hex";
    for (std::size_t i = 0; i < kOptionImageSize; ++i)
      MemoryImages.OptionImage[i] = static_cast<std::uint8_t>(i ^ 0x5C);
    std::memset(Packet(), 0xEE, kPacketBufferSize);  // the reserved bytes must not keep this
  }
  static const std::uint8_t* Block() { return Packet() + 8; }
};

TEST_F(ChipDataBlockTest, Layout) {
  const std::uint32_t seed = 1234;
  SetRandomSeed(seed);
  const std::uint16_t argument = static_cast<std::uint16_t>(Random(65535));
  const std::uint8_t randomByte = static_cast<std::uint8_t>(Random(255));
  SetRandomSeed(seed);
  BuildChipDataBlock(CurrentRunSettings(false), kCh);

  const std::uint8_t* b = Block();
  EXPECT_EQ(Bytes(b, b + 4), (Bytes{0x52, 0x4F, 0x5A, 0x49}));
  // The parameter block inside, with the random argument.
  SetRandomSeed(seed);
  Random(65535);
  BuildParameterBlock(1000, argument, CurrentRunSettings(false), kCh);
  EXPECT_EQ(Bytes(b + 4, b + 84), Bytes(Packet() + 1000, Packet() + 1080));
  EXPECT_EQ(GetLe(b + 14, 2), argument);
  EXPECT_EQ(b[4 + 6], randomByte);

  EXPECT_EQ(b[84], 0x81);
  EXPECT_EQ(b[85], 4);
  EXPECT_EQ(GetLe(b + 86, 4), 0x00012345u);
  EXPECT_EQ(GetLe(b + 92, 4), 0x0800FFF0u);
  EXPECT_EQ(GetLe(b + 100, 2), 0x3332u);
  EXPECT_EQ(GetLe(b + 102, 4), 0xCAFEBABEu);
  EXPECT_EQ(Bytes(b + 106, b + 112), Bytes(6, 0));
  EXPECT_TRUE(std::equal(b + 112, b + 240, MemoryImages.OptionImage));
  Bytes name(16, 0);
  std::memcpy(name.data(), "AC7801MBTE", 10);
  EXPECT_EQ(Bytes(b + 240, b + 256), name);
  Bytes file(48, 0);
  std::memcpy(file.data(), "app.hex", 7);
  EXPECT_EQ(Bytes(b + 256, b + 304), file);
  EXPECT_TRUE(std::equal(b + 304, b + 508, MemoryImages.OptionImage + 128));
}

// A receiver verifies the block by recomputing both closing fields.
TEST_F(ChipDataBlockTest, ChecksumAndSumClose) {
  BuildChipDataBlock(CurrentRunSettings(false), kCh);
  const std::span<const std::uint8_t> block(Block(), 512);
  EXPECT_EQ(GetLe(Block() + 508, 2), Checksum16(block, 508));
  const unsigned sum = std::accumulate(block.begin(), block.begin() + 510, 0u);
  EXPECT_EQ(GetLe(Block() + 510, 2), sum % 65536);
  EXPECT_EQ(Packet()[8 + 512], 0xEE);
  EXPECT_EQ(Packet()[7], 0xEE);
}

TEST_F(ChipDataBlockTest, EmptyNamesAreQuestionMarks) {
  SessionTexts.ChipName.clear();
  SessionTexts.ChipText2.clear();
  BuildChipDataBlock(CurrentRunSettings(false), kCh);
  Bytes name(16, 0), file(48, 0);
  name[0] = file[0] = '?';
  EXPECT_EQ(Bytes(Block() + 240, Block() + 256), name);
  EXPECT_EQ(Bytes(Block() + 256, Block() + 304), file);
}

// Each programmer's first number and the common step interleave the numbers.
TEST_F(ChipDataBlockTest, SerialNumbersPerProgrammer) {
  struct Case {
    std::uint32_t value;
    std::uint16_t gain;
    std::uint8_t programmers;
    int ch;
    std::uint32_t first;
    std::uint16_t step;
  };
  const Case cases[] = {
      {1000, 1, 3, 0, 1000, 3},
      {1000, 1, 3, 1, 1001, 3},
      {1000, 1, 3, 2, 1002, 3},
      {1000, 7, 10, 9, 1063, 70},
      {5, 0x8000, 4, 3, 5 + 3 * 0x8000, 0x0000},   // the step is a 16-bit product
      {0xFFFFFFF0, 0x10, 2, 1, 0x00000000, 0x20},  // the first number wraps at 32 bits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ch);
    ProgramSettings.SnValue = c.value;
    ProgramSettings.SnGain = c.gain;
    SessionState.ProgrammerCount = c.programmers;
    BuildChipDataBlock(CurrentRunSettings(false), c.ch);
    const std::uint8_t* b = CommBuffers.PacketBuffers[c.ch] + 8;
    EXPECT_EQ(GetLe(b + 96, 4), c.first);
    EXPECT_EQ(GetLe(b + 90, 2), c.step);
  }
}

}  // namespace
