#include "data/checksum_lines.h"

#include <cstdint>
#include <span>

#include "data/image_sums.h"
#include "data/log_lines.h"
#include "data/memory_areas.h"
#include "data/program_state.h"
#include "text/format_text.h"

namespace {

// SumBytes over all of bytes (0 for none).
std::uint32_t SumOf(std::span<const std::uint8_t> bytes) {
  return bytes.empty() ? 0 : SumBytes(bytes, 0, static_cast<std::uint32_t>(bytes.size() - 1));
}

// sum16 := Checksum16Buf and sumLow := the low half of SumBytes, both over
// all of bytes (0 for none); returns that SumBytes.
std::uint32_t SetSums16(std::span<const std::uint8_t> bytes, std::uint16_t& sum16, std::uint16_t& sumLow) {
  sum16 = bytes.empty() ? 0 : Checksum16Buf(bytes, 0, static_cast<std::uint32_t>(bytes.size() - 1));
  const std::uint32_t sum = SumOf(bytes);
  sumLow = static_cast<std::uint16_t>(sum);
  return sum;
}

}  // namespace

void ComputeMainChecksum() {
  TObjectState& object = ObjectState;
  object.MainSum = SetSums16(MainProgrammedBytes(), object.MainSum16, object.MainSumLow);
  if (SelectedChip.EepSize == 0) {
    object.EepSum = 0;
    object.EepSum16 = 0;
    object.EepSumLow = 0;
  }
  AddMemoLine("");
  AddLog(FormatText(TTextId::MainChecksumFormat, object.MainSum));
}

void ComputeEepChecksum() {
  TObjectState& object = ObjectState;
  object.EepSum = SetSums16(EepAreaBytes(), object.EepSum16, object.EepSumLow);
  AddLog(FormatText(TTextId::EepChecksumFormat, object.EepSum));
}

void ShowReadMainChecksum() {
  const std::uint32_t programmedSum = SumOf(MainProgrammedBytes());
  SetSums16(MainAreaBytes(), ObjectState.MainSum16, ObjectState.MainSumLow);
  AddLog(FormatText(TTextId::ReadMainChecksumFormat, programmedSum));
}

void ShowReadEepChecksum() {
  const std::uint32_t sum = SetSums16(EepAreaBytes(), ObjectState.EepSum16, ObjectState.EepSumLow);
  AddLog(FormatText(TTextId::ReadEepChecksumFormat, sum));
}
