#include "chips/spd117x_config_values.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "chips/option_image.h"

namespace {

constexpr std::size_t kLock = 0;
constexpr std::size_t kWatchdog = 4;
constexpr std::size_t kSettingBytes = 4;

bool On(std::size_t offset) {
  return std::ranges::any_of(OptionImage().subspan(offset, kSettingBytes), [](std::uint8_t b) { return b != 0xFF; });
}

}  // namespace

TSPD117xConfigValues SPD117xConfigValuesOfImage() { return {On(kLock), On(kWatchdog)}; }

void StoreSPD117xConfigValues(const TSPD117xConfigValues& values) {
  std::ranges::fill(OptionImage(), 0xFF);
  if (values.LockDebugInterface) std::ranges::fill(OptionImage().subspan(kLock, kSettingBytes), 0x55);
  if (values.WatchdogAtStartUp) std::ranges::fill(OptionImage().subspan(kWatchdog, kSettingBytes), 0x33);
}
