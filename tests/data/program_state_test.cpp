#include <gtest/gtest.h>

#include <cstring>

#include "data/program_state.h"
#include "data/random.h"

namespace {

// The start-up sequence of the main window, without the window.
void StartUp() {
  ResetProgramState();
  InitChipViewDefaults();
  SelectedChip.ChipCode = 0x55;
  InitGlobalSettings();
}

TEST(ProgramState, StartUpValues) {
  SessionTexts.ChipName = "stale";
  ProgrammerState.ProgOpCode[3] = 25;
  StartUp();

  EXPECT_EQ(SessionTexts.ModelName, "Velmot200XX");
  EXPECT_EQ(SessionTexts.ChipName, "");
  EXPECT_EQ(SessionTexts.ChipText2, "");
  EXPECT_EQ(SelectedChip.ChipCode, 0x55);
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 0);
  EXPECT_EQ(SelectedChip.ChipFamilyCode, 0);
  EXPECT_EQ(SelectedChip.ChipSubType, 0);
  EXPECT_EQ(SelectedChip.MainSize, 0u);
  EXPECT_EQ(SelectedChip.EepSize, 0u);
  EXPECT_EQ(SelectedChip.MainPageSize, 0);
  EXPECT_EQ(SelectedChip.MainStart, 0u);
  EXPECT_EQ(SelectedChip.MainEnd, 0u);
  EXPECT_EQ(SelectedChip.EepStart, 0u);
  EXPECT_EQ(SelectedChip.EepEnd, 0u);
  EXPECT_EQ(SelectedChip.OptionStart, 0x1FFFF800u);
  EXPECT_EQ(SelectedChip.OptionEnd, 0u);
  const TControlBytes zero{};
  EXPECT_EQ(std::memcmp(&SelectedChip.ControlBytes, &zero, sizeof zero), 0);

  EXPECT_EQ(ProgramSettings.PowerUpTime, 10);
  EXPECT_EQ(ProgramSettings.PowerDownTime, 10);
  EXPECT_EQ(ProgramSettings.ChipInTime, 17);
  EXPECT_EQ(ProgramSettings.ChipOutTime, 17);
  EXPECT_EQ(ProgramSettings.AutoDetect, 0);
  EXPECT_EQ(ProgramSettings.SnAddress, 0xFFFFFFu);
  EXPECT_EQ(ProgramSettings.SnFlags, 0);
  EXPECT_EQ(ProgramSettings.CountLimit, 0u);

  EXPECT_EQ(ObjectState.MainDataLength, 0x20000u);
  EXPECT_EQ(ObjectState.ObjectLoaded, 0);
  EXPECT_EQ(ObjectState.ChipSelected, 0);
  EXPECT_EQ(SessionState.ReadLength, 64);
  EXPECT_EQ(SessionState.FoundDeviceCount, 0);
  EXPECT_EQ(SessionState.DownloadDoneCount, 0);

  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    SCOPED_TRACE(ch);
    EXPECT_EQ(ProgrammerState.ReplyTimeout[ch], 200);
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0);
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], 0);
    EXPECT_EQ(ProgrammerState.RxFill[ch], 0);
  }

  EXPECT_EQ(MemoryImages.MainFlashImage[0], 0xFF);
  EXPECT_EQ(MemoryImages.MainFlashImage[kMainFlashImageSize - 1], 0xFF);
  EXPECT_EQ(MemoryImages.EepImage[kEepImageSize - 1], 0xFF);
  EXPECT_EQ(MemoryImages.OptionImage[0], 0x00);
}

TEST(ProgramState, BindsPortsAndGaugesInOrder) {
  ResetProgramState();
  TProgrammerBindings bindings;
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    bindings.Ports[ch] = reinterpret_cast<TComm*>(0x1000 + ch * 16);
    bindings.Gauges[ch] = reinterpret_cast<TGauge*>(0x2000 + ch * 16);
  }
  InitGlobalSettings(bindings);
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    EXPECT_EQ(ProgrammerState.CommPorts[ch], bindings.Ports[ch]);
    EXPECT_EQ(ProgrammerState.ProgressGauges[ch], bindings.Gauges[ch]);
  }
}

TEST(Random, FixedSequenceAndReseed) {
  ResetRandom();
  std::uint32_t first[8];
  for (auto& v : first) {
    v = Random(1000);
    EXPECT_LT(v, 1000u);
  }
  ResetRandom();
  for (auto v : first) EXPECT_EQ(Random(1000), v);
  EXPECT_EQ(Random(0), 0u);
  SetRandomSeed(12345);
  const auto a = Random(65535);
  SetRandomSeed(12345);
  EXPECT_EQ(Random(65535), a);
}

struct LengthCase {
  const char* name;
  std::uint32_t mainSize;
  std::uint8_t blankIsZero;
  std::uint32_t baseOffset;
  std::vector<std::pair<std::uint32_t, std::uint8_t>> bytes;  // written over a blank image
  std::uint32_t expected;
};

class MainDataLength : public ::testing::TestWithParam<LengthCase> {};

TEST_P(MainDataLength, FromImage) {
  const LengthCase& c = GetParam();
  ResetProgramState();
  SelectedChip.MainSize = c.mainSize;
  SelectedChip.BlankIsZero = c.blankIsZero;
  SelectedChip.MainBaseOffset = c.baseOffset;
  std::memset(MemoryImages.MainFlashImage, c.blankIsZero ? 0x00 : 0xFF, kMainFlashImageSize);
  for (auto [index, value] : c.bytes) MemoryImages.MainFlashImage[index] = value;
  ComputeMainDataLength();
  EXPECT_EQ(ObjectState.MainDataLength, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainDataLength,
    ::testing::Values(
        LengthCase{"size0", 0, 0, 0, {{0, 0x12}}, 0},
        LengthCase{"size512_data_ignored", 512, 0, 0, {{100, 0x12}, {2000, 0x34}}, 512},
        LengthCase{"blank_above_1024", 0x20000, 0, 0, {{0, 0x00}, {1023, 0x55}}, 1024},
        LengthCase{"last_at_0x1234", 0x20000, 0, 0, {{0x1234, 0x00}}, 0x1300},
        LengthCase{"last_at_end", 0x20000, 0, 0, {{0x1FFFF, 0x01}}, 0x20000},
        LengthCase{"beyond_area_ignored", 0x20000, 0, 0, {{0x20000, 0x01}, {0x30000, 0x02}}, 1024},
        LengthCase{"blank_is_zero_ff_is_data", 0x20000, 1, 0, {{0x5000, 0xFF}}, 0x5100},
        LengthCase{"blank_is_zero_zero_is_blank", 0x20000, 1, 0, {}, 1024},
        // A main size that is no multiple of 256 is never exceeded.
        LengthCase{"unaligned_size_capped", 0x1050, 0, 0, {{0x1040, 0x01}}, 0x1050},
        LengthCase{"base_offset_shifts_scan", 0x10000, 0, 0x2000, {{0x2000 + 0x4321, 0x01}}, 0x4400},
        // A size and offset that reach past the image: the part outside reads as blank.
        LengthCase{"scan_stays_inside_image", 0xFFFFFFFF, 0, 0, {{kMainFlashImageSize - 1, 0x01}},
                   static_cast<std::uint32_t>(kMainFlashImageSize)},
        LengthCase{"offset_past_image", 0x20000, 0, 0xFFFFF000, {}, 1024}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
