#include "data/serial_number.h"

#include <algorithm>
#include <span>

#include "data/checksum_lines.h"
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

std::optional<TAreaSpan> WriteSerialNumberToImage() {
  const std::span<std::uint8_t> area = MainAreaBytes();
  const std::uint32_t address = ProgramSettings.SnAddress;
  const std::uint32_t size = ProgramSettings.SnSize;
  const std::uint64_t first = std::uint64_t{address} - SelectedChip.MainStart;
  if (size == 0 || address < SelectedChip.MainStart || first + size > area.size()) {
    ShowOutsideMain(address, size);
    return std::nullopt;
  }
  const bool bigEndian = (ProgramSettings.SnFlags & kBigEndianFlag) != 0;
  std::uint32_t value = ProgramSettings.SnValue;
  for (std::uint32_t i = 0; i < size; ++i) {
    const std::uint64_t index = bigEndian ? first + size - 1 - i : first + i;
    area[index] = static_cast<std::uint8_t>(value);
    value >>= 8;
  }
  const std::uint32_t oldLength = ObjectState.MainDataLength;
  ComputeMainDataLength();
  ObjectState.MainDataLength = std::max(ObjectState.MainDataLength, oldLength);
  UpdateMainSums16();
  return TAreaSpan{static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(first + size - 1)};
}

std::string SerialNumberText(std::uint32_t value, bool decimal) {
  return FormatText(decimal ? kSerialNumberDecimalFormat : kSerialNumberHexFormat, value);
}
