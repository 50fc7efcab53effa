#include "data/run_settings.h"

#include <algorithm>
#include <numeric>

#include "data/memory_areas.h"
#include "data/packet_checksum.h"

namespace {

bool LiesInMainArea(const TSerialNumberBytes& number, std::size_t areaSize) {
  return number.Size != 0 && number.Size <= sizeof number.Bytes && std::size_t{number.First} + number.Size <= areaSize;
}

// The programmed length grown to the number's last byte, rounded up to 256
// as ComputeMainDataLength rounds, never beyond the main size.
std::uint32_t LengthCovering(std::uint32_t length, const TSerialNumberBytes& number) {
  const std::uint32_t end = ((number.First + number.Size - 1) | 0xFFu) + 1;
  return std::max(length, std::min(end, SelectedChip.MainSize));
}

// The sums of the programmed bytes with the number in its place: the bytes
// before it, the number, the bytes after it, in turn.
void SumWithNumber(std::span<const std::uint8_t> programmed, const TSerialNumberBytes& number, TRunSettings& run) {
  const std::span<const std::uint8_t> pieces[] = {programmed.first(number.First),
                                                  std::span<const std::uint8_t>(number.Bytes, number.Size),
                                                  programmed.subspan(std::size_t{number.First} + number.Size)};
  std::uint16_t sum16 = 0;
  std::uint32_t sum = 0;
  for (const std::span<const std::uint8_t> piece : pieces) {
    sum16 = Checksum16Continued(sum16, piece);
    sum = std::accumulate(piece.begin(), piece.end(), sum);
  }
  run.MainSum16 = sum16;
  run.MainSumLow = static_cast<std::uint16_t>(sum);
}

}  // namespace

TRunSettings CurrentRunSettings(bool withSerialNumber) {
  const TObjectState& object = ObjectState;
  TRunSettings run{};
  run.Settings = ProgramSettings;
  run.ControlBytes = SelectedChip.ControlBytes;
  run.OptionSum16 = object.OptionSum16;
  run.OptionSum = object.OptionSum;
  run.MainDataLength = object.MainDataLength;
  run.MainSum16 = object.MainSum16;
  run.MainSumLow = object.MainSumLow;
  const TSerialNumberBytes& number = object.OnlineSerialNumber;
  const std::span<const std::uint8_t> area = MainAreaBytes();
  if (withSerialNumber && ProgramSettings.SnOnline && LiesInMainArea(number, area.size())) {
    run.SerialNumber = number;
    run.MainDataLength = LengthCovering(run.MainDataLength, number);
    SumWithNumber(area.first(std::min<std::size_t>(run.MainDataLength, area.size())), number, run);
  }
  return run;
}

void TakeRunSettings(int ch, bool withSerialNumber) {
  ProgrammerState.RunSettings[ch] = CurrentRunSettings(withSerialNumber);
}

const TRunSettings& RunSettingsOf(int ch) { return ProgrammerState.RunSettings[ch]; }

void PutSerialNumber(const TSerialNumberBytes& number, std::size_t blockStart, std::span<std::uint8_t> block) {
  for (std::size_t i = 0; i < number.Size && i < sizeof number.Bytes; ++i) {
    const std::size_t at = std::size_t{number.First} + i;
    if (at >= blockStart && at - blockStart < block.size()) block[at - blockStart] = number.Bytes[i];
  }
}
