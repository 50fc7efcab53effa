#include "chips/spd117x_config_values.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "data/program_state.h"

namespace {

constexpr std::size_t kLock = 0;
constexpr std::size_t kWatchdog = 4;
constexpr std::size_t kSettingBytes = 4;

std::uint8_t* Image() { return MemoryImages.OptionImage; }

bool On(std::size_t offset) {
  return std::any_of(Image() + offset, Image() + offset + kSettingBytes, [](std::uint8_t b) { return b != 0xFF; });
}

}  // namespace

TSPD117xConfigValues SPD117xConfigValuesOfImage() { return {On(kLock), On(kWatchdog)}; }

void StoreSPD117xConfigValues(const TSPD117xConfigValues& values) {
  std::fill_n(Image(), kOptionImageSize, 0xFF);
  if (values.LockDebugInterface) std::fill_n(Image() + kLock, kSettingBytes, 0x55);
  if (values.WatchdogAtStartUp) std::fill_n(Image() + kWatchdog, kSettingBytes, 0x33);
}
