#include "data/serial_number.h"

#include "data/memory_areas.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/settings_texts.h"

namespace {

constexpr std::uint8_t kBigEndianFlag = 0x04;

void ShowOutsideMain(std::uint32_t address, std::uint32_t size) {
  Prompts().ShowInfo(
      FormatText(TTextId::SerialNumberOutsideMainFormat, address, size, SelectedChip.MainStart, SelectedChip.MainEnd));
}

}  // namespace

bool PrepareSerialNumber() {
  const std::uint64_t areaSize = MainAreaBytes().size();
  const std::uint32_t address = ProgramSettings.SnAddress;
  const std::uint32_t size = ProgramSettings.SnSize;
  const std::uint64_t first = std::uint64_t{address} - SelectedChip.MainStart;
  TSerialNumberBytes number{};
  if (size == 0 || size > sizeof number.Bytes || address < SelectedChip.MainStart || first + size > areaSize) {
    ShowOutsideMain(address, size);
    return false;
  }
  const bool bigEndian = (ProgramSettings.SnFlags & kBigEndianFlag) != 0;
  number.First = static_cast<std::uint32_t>(first);
  number.Size = static_cast<std::uint8_t>(size);
  std::uint32_t value = ProgramSettings.SnValue;
  for (std::uint32_t i = 0; i < size; ++i) {
    number.Bytes[bigEndian ? size - 1 - i : i] = static_cast<std::uint8_t>(value);
    value >>= 8;
  }
  ObjectState.OnlineSerialNumber = number;
  return true;
}

std::string SerialNumberText(std::uint32_t value, bool decimal) {
  return FormatText(decimal ? kSerialNumberDecimalFormat : kSerialNumberHexFormat, value);
}
