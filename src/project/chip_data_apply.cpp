#include <algorithm>
#include <span>

#include "data/program_state.h"
#include "link/byte_order.h"
#include "project/project_file.h"

namespace {

constexpr std::uint8_t kWideOptionFamilyCode = 0xC0;  // keeps 256 option bytes in the block
constexpr std::uint8_t kEepProgramBits = 0x28;          // "Prog. Data Flash": ProgramStepFlags bits 3 and 5
constexpr std::uint8_t kEepEraseBit = 0x02;             // "Erase Data Flash": EraseFlags bit 1

}  // namespace

// Offsets into the 512-byte chip-data block, whose parameter block starts at 4.
void ApplyChipDataBlock() {
  const std::span<const std::uint8_t> b = MemoryImages.ChipDataBlock;
  TSelectedChip& chip = SelectedChip;
  TProgramSettings& settings = ProgramSettings;
  TObjectState& object = ObjectState;

  chip.OptionFormat = b[5];
  settings.DeviceAddress = b[6];
  chip.ChipCode = b[7];
  chip.ChipFamilyCode = b[8];
  chip.ChipSubType = b[9];
  settings.AutoDetect = b[11];
  chip.ChipSubParam1 = b[12];
  chip.ChipSubParam2 = b[13];

  chip.EepEnd = chip.EepStart + chip.EepSize - 1;
  chip.MainEnd = chip.MainStart + chip.MainSize - 1;

  chip.ControlBytes = {b[36], b[37], b[38], b[39], b[40], b[41], b[42], b[43]};
  // A chip without EEP has no EEP step, whatever a file written elsewhere
  // says: the window would tick its hidden box, and a download send EEP data.
  if (chip.EepSize == 0) {
    chip.ControlBytes.ProgramStepFlags &= static_cast<std::uint8_t>(~kEepProgramBits);
    chip.ControlBytes.EraseFlags &= static_cast<std::uint8_t>(~kEepEraseBit);
  }
  settings.PowerUpTime = b[44];
  settings.PowerDownTime = b[45];
  settings.ChipInTime = b[46];
  settings.ChipOutTime = b[47];
  chip.MainPageSize = GetLe16(b, 48);
  chip.EepPageSize = GetLe16(b, 50);
  object.MainSum16 = GetLe16(b, 52);
  object.MainSumLow = GetLe16(b, 54);
  object.EepSum16 = GetLe16(b, 56);
  object.EepSumLow = GetLe16(b, 58);
  object.OptionSum16 = GetLe16(b, 60);
  object.OptionSum = GetLe16(b, 62);
  chip.ChipExtParam1 = b[68];
  chip.ChipExtParam2 = b[69];
  settings.ChipExtWord = GetLe16(b, 70);
  settings.RunTime = GetLe16(b, 72);

  // The serial-number step stored at 90 is the gain of all programmers;
  // SnGain itself comes from the file's header.
  settings.SnFlags = b[84];
  settings.SnSize = b[85];
  settings.CountLimit = GetLe32(b, 86);
  settings.SnAddress = GetLe32(b, 92);
  settings.SnValue = GetLe32(b, 96);

  std::uint8_t* const options = MemoryImages.OptionImage;
  std::fill(options, options + kOptionImageSize, 0xFF);
  std::copy_n(b.begin() + 112, 128, options);
  if (chip.ChipFamilyCode == kWideOptionFamilyCode) std::copy_n(b.begin() + 304, 128, options + 128);
}
