#include "chips/option_presets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "data/program_state.h"

namespace {

std::vector<std::uint8_t> ImageBytes(std::size_t from, std::size_t to) {
  return {MemoryImages.OptionImage + from, MemoryImages.OptionImage + to};
}

bool AllBytesFrom(std::size_t from, std::uint8_t value) {
  return std::all_of(MemoryImages.OptionImage + from, MemoryImages.OptionImage + kOptionImageSize,
                     [value](std::uint8_t b) { return b == value; });
}

class OptionPresets : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    std::memset(MemoryImages.OptionImage, 0x5A, kOptionImageSize);  // what a dialog left
  }
};

TEST_F(OptionPresets, LCMPxDefaultWordsAndTheirCopy) {
  ResetLCMPxOptionImage();
  const std::vector<std::uint8_t> first48 = {
      0xFB, 0x04, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00,
      0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
      0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
  };
  EXPECT_EQ(ImageBytes(0, 48), first48);
  EXPECT_EQ(ImageBytes(256, 512), ImageBytes(0, 256));
  EXPECT_TRUE(std::all_of(MemoryImages.OptionImage + 48, MemoryImages.OptionImage + 256,
                          [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(AllBytesFrom(512, 0xFF));
}

TEST_F(OptionPresets, AC78xxBeginsWithTheWordAndItsComplement) {
  ResetAC78xOptionImage();
  EXPECT_EQ(ImageBytes(0, 4), (std::vector<std::uint8_t>{0xAC, 0xFF, 0x53, 0xFF}));
  EXPECT_TRUE(AllBytesFrom(4, 0xFF));
}

TEST_F(OptionPresets, PlainFills) {
  const struct {
    void (*Preset)();
    std::uint8_t Fill;
  } cases[] = {
      {ResetAUCUxConfigImage, 0xFF}, {ResetSpctrolOptionImage, 0xFF}, {ClearLapisOptionImage, 0x00},
      {ClearIndieOptionImage, 0x00}, {ClearSonicOptionImage, 0x00},   {ClearBAT32OptionImage, 0x00},
  };
  for (const auto& c : cases) {
    std::memset(MemoryImages.OptionImage, 0x5A, kOptionImageSize);
    c.Preset();
    EXPECT_TRUE(AllBytesFrom(0, c.Fill)) << int{c.Fill};
  }
}

}  // namespace
