#include "data/checksum_lines.h"

#include <cstdint>
#include <span>

#include "data/image_sums.h"
#include "data/log_lines.h"
#include "data/memory_areas.h"
#include "data/program_state.h"
#include "text/checksum_texts.h"
#include "text/format_text.h"

namespace {

// SumBytes and Checksum16Buf over all of bytes (0 for none).
std::uint32_t SumOf(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? 0 : SumBytes(bytes, 0, static_cast<std::uint32_t>(bytes.size() - 1));
}

std::uint16_t Checksum16Of(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? 0 : Checksum16Buf(bytes, 0, static_cast<std::uint32_t>(bytes.size() - 1));
}

std::uint16_t Low16(std::uint32_t value) { return static_cast<std::uint16_t>(value); }

void SetMainSums16(std::span<const std::uint8_t> bytes) {
  ObjectState.MainSum16 = Checksum16Of(bytes);
  ObjectState.MainSumLow = Low16(SumOf(bytes));
}

}  // namespace

void ComputeMainChecksum() {
  const std::span<const std::uint8_t> bytes = MainProgrammedBytes();
  ObjectState.MainSum16 = Checksum16Of(bytes);
  ObjectState.MainSum = SumOf(bytes);
  ObjectState.MainSumLow = Low16(ObjectState.MainSum);
  if (SelectedChip.EepSize == 0) {
    ObjectState.EepSum = 0;
    ObjectState.EepSum16 = 0;
    ObjectState.EepSumLow = 0;
  }
  AddMemoLine("");
  AddLog(FormatText(kMainChecksumFormat, ObjectState.MainSum));
}

void ComputeEepChecksum() {
  const std::span<const std::uint8_t> bytes = EepAreaBytes();
  ObjectState.EepSum16 = Checksum16Of(bytes);
  ObjectState.EepSum = SumOf(bytes);
  ObjectState.EepSumLow = Low16(ObjectState.EepSum);
  AddLog(FormatText(kEepChecksumFormat, ObjectState.EepSum));
}

void ShowReadMainChecksum() {
  const std::uint32_t programmedSum = SumOf(MainProgrammedBytes());
  SetMainSums16(MainAreaBytes());
  AddLog(FormatText(kReadMainChecksumFormat, programmedSum));
}

void ShowReadEepChecksum() {
  const std::span<const std::uint8_t> bytes = EepAreaBytes();
  ObjectState.EepSum16 = Checksum16Of(bytes);
  const std::uint32_t sum = SumOf(bytes);
  ObjectState.EepSumLow = Low16(sum);
  AddLog(FormatText(kReadEepChecksumFormat, sum));
}

void UpdateMainSums16() { SetMainSums16(MainProgrammedBytes()); }
