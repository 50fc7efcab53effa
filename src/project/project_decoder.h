// A project file decoded apart from the program's state, with every check
// of the reader, so that a job is replaced only by a file that passes them.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "project/project_format.h"

struct TProjectHeader {
  std::uint8_t ChipCode;
  // Each text ends at its first zero.
  std::string ModelName;
  std::string ChipName;
  std::string ChipText2;
  std::uint32_t ChipChecksum;
  std::uint32_t FileChecksum;
  std::uint32_t EepFileSum;
  std::uint32_t ObjectStart;
  std::uint32_t ObjectEnd;
  std::uint16_t SnGain;
  std::uint8_t ProjectOptionBits;
  std::uint8_t ChipFamilyIndex;
  std::uint32_t MainSize;
  std::uint32_t EepSize;
  std::uint32_t MainDataLength;
  std::uint32_t MainStart;
  std::uint32_t EepStart;
  std::uint32_t OptionStart;
  std::uint32_t AuxStart;
  // The six sums, stored widened to 32 bits.
  std::uint16_t MainSumLow, MainSum16, EepSumLow, EepSum16, OptionSum, OptionSum16;
};

struct TProjectContent {
  TProjectHeader Header{};
  std::array<std::uint8_t, kCfgDataSize> ChipData{};  // the chip-data block and what follows it
  std::vector<std::uint8_t> MainData;                 // Header.MainDataLength bytes from image index 0
  std::uint32_t EepDataLength = 0;
  std::vector<std::uint8_t> EepData;                  // EepStoredLength(EepDataLength) bytes
};

struct TProjectDecoding {
  std::uint8_t Result = 0;  // ReadProjectFile's codes
  std::string Reason;       // with kProjectDamaged: which check failed
  TProjectContent Content;  // complete only when Result is 0
};

TProjectDecoding DecodeProjectFile(std::span<const std::uint8_t> file);
