// A clean program state, a memo that keeps its lines, a clock fixed at
// 10:21:07 and prompts that record every box; plus the two image sums
// computed here, independently of the program's.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "pattern_chip.h"

class TMemoLines final : public ILogMemo {
 public:
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};

class TStoppedClock final : public IClock {
 public:
  TClockTime Now() const override { return {2024, 5, 6, 10, 21, 7}; }
};

class TBoxes final : public IPrompts {
 public:
  void ShowInfo(const std::string& text) override { Shown.push_back(text); }
  void ShowWarning(const std::string& text) override { Shown.push_back(text); }
  TPromptAnswer AskOkAbort(const std::string& text) override { return Record(text); }
  TPromptAnswer AskYesAbort(const std::string& text) override { return Record(text); }
  std::vector<std::string> Shown;

 private:
  TPromptAnswer Record(const std::string& text) {
    ADD_FAILURE() << "unexpected question: " << text;
    Shown.push_back(text);
    return TPromptAnswer::Abort;
  }
};

// The byte sum and the shift/XOR checksum with constant 0x4A12, written out.
inline std::uint32_t ReferenceSum(std::span<const std::uint8_t> bytes) {
  std::uint32_t sum = 0;
  for (std::uint8_t b : bytes) sum += b;
  return sum;
}

inline std::uint16_t ReferenceChecksum16(std::span<const std::uint8_t> bytes) {
  std::uint16_t value = 0;
  for (std::uint8_t b : bytes) {
    const bool carry = value & 1;
    value = static_cast<std::uint16_t>((value >> 1) ^ b ^ (carry ? 0x4A12 : 0));
  }
  return value;
}

class WindowStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    InitChipViewDefaults();
    SessionTexts.InfoMemoRef = &memo;
    SetClock(&clock);
    SetPrompts(&boxes);
  }
  void TearDown() override {
    SetPrompts(nullptr);
    SetClock(nullptr);
    ResetProgramState();
  }

  // The pattern chip with its whole main image patterned.
  static void SelectPatternChip() { ::SelectPatternChip(kMainFlashImageSize); }

  static std::span<const std::uint8_t> Main(std::size_t first, std::size_t count) {
    return std::span<const std::uint8_t>(MemoryImages.MainFlashImage).subspan(first, count);
  }

  TMemoLines memo;
  TStoppedClock clock;
  TBoxes boxes;
};
