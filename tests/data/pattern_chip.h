// A chosen chip with its data loaded, for the tests of the window's sums,
// viewers, serial numbers and memory save.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/program_state.h"

// 128 KB of main flash at 0x08000000 and 4 KB of EEP at 0x08100000, data
// loaded up to 0x1300. The main image holds a pattern in its first
// patternedBytes and is blank above; the EEP image holds a pattern throughout.
inline void SelectPatternChip(std::size_t patternedBytes) {
  SelectedChip.MainStart = 0x08000000;
  SelectedChip.MainSize = 0x20000;
  SelectedChip.MainEnd = 0x0801FFFF;
  SelectedChip.EepStart = 0x08100000;
  SelectedChip.EepSize = 0x1000;
  SelectedChip.EepEnd = 0x08100FFF;
  ObjectState.MainDataLength = 0x1300;
  ObjectState.ChipSelected = 1;
  ObjectState.ObjectLoaded = 1;
  for (std::size_t i = 0; i < kMainFlashImageSize; ++i)
    MemoryImages.MainFlashImage[i] = i < patternedBytes ? static_cast<std::uint8_t>(i * 7 + (i >> 9)) : 0xFF;
  for (std::size_t i = 0; i < kEepImageSize; ++i) MemoryImages.EepImage[i] = static_cast<std::uint8_t>(i * 13 + 5);
}
