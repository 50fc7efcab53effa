// A selected chip with its data loaded, for the tests that send packets to a
// simulated unit: every image filled with a pattern that holds 0xC0 and 0xDB
// (so frames carry escapes), and a flash-driver directory whose sections the
// tests can recognise.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/program_state.h"
#include "link/byte_order.h"

struct TDriverSection {
  std::uint8_t Entry;  // directory entry in DriverImage
  std::uint16_t Offset, Length;
};

inline constexpr TDriverSection kDriverSections[] = {
    {0x20, 0x100, 40},  // blank check
    {0x24, 0x200, 24},  // checksum read
    {0x28, 0x300, 32},  // erase
    {0x2C, 0x400, 48},  // programming
    {0x30, 0x500, 16},  // option write, and the common section
};

// Without a flash driver; the tests switch UseFlashDriver on where they need it.
inline void SetLoadedChip() {
  TSelectedChip& chip = SelectedChip;
  chip = TSelectedChip{};
  chip.ChipCode = 0x53;
  chip.ChipFamilyCode = 0x01;  // carries no common section
  chip.ChipSubType = 0x02;
  chip.MainSize = 0x8000;
  chip.EepSize = 0x600;
  chip.MainStart = 0x08000000;
  chip.MainEnd = 0x08007FFF;
  chip.EepStart = 0x08100000;
  chip.EepEnd = 0x081005FF;
  chip.MainBaseOffset = 0x1000;
  chip.MainPageSize = 512;
  chip.EepPageSize = 64;
  ObjectState.MainDataLength = 5000;
  ObjectState.ObjectLoaded = 1;
  ObjectState.ChipSelected = 1;
  SessionState.DriverFileSize = 0x0567;
  SessionState.ReadStartAddress = 0x08000100;
  SessionState.ReadLength = 0x40;
  SessionTexts.ChipName = "AC7801MBTE";
  for (std::size_t i = 0; i < 0x20000; ++i) MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(i * 31 + (i >> 8));
  for (std::size_t i = 0; i < kEepImageSize; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 13 + 5);
  for (std::size_t i = 0; i < kOptionImageSize; ++i) MemoryImages.OptionImage[i] = static_cast<std::uint8_t>(i ^ 0x5C);
  for (std::size_t i = 0; i < kDriverImageSize; ++i) MemoryImages.DriverImage[i] = static_cast<std::uint8_t>(i * 3 + 1);
  for (const TDriverSection& s : kDriverSections) {
    PutLe16(MemoryImages.DriverImage, s.Entry, s.Offset);
    PutLe16(MemoryImages.DriverImage, s.Entry + 2u, s.Length);
  }
}
