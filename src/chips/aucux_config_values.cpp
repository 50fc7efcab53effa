#include "chips/aucux_config_values.h"

#include <cstddef>
#include <cstdint>

#include "chips/option_image.h"
#include "data/program_state.h"

namespace {

constexpr std::size_t kLifecycle = 0x00;
constexpr std::size_t kUart = 0x10;
constexpr std::size_t kJtag = 0x14;
constexpr std::size_t kUartBoot = 0x18;
constexpr std::size_t kInfoRegion1 = 0x20;

bool BitClear(std::size_t offset, std::size_t bit) { return ((OptionImage()[offset] >> bit) & 1) == 0; }

// Bit 0 cleared when switched, all other bits 1.
std::uint8_t SwitchByte(bool on) { return on ? 0xFE : 0xFF; }

}  // namespace

TAUCUxConfigValues AUCUxConfigValuesOfImage() {
  TAUCUxConfigValues values;
  values.Lifecycle = BitClear(kLifecycle, 0);
  for (std::size_t bit = 0; bit < values.DisableUart.size(); ++bit) values.DisableUart[bit] = BitClear(kUart, bit);
  values.DisableJtag = BitClear(kJtag, 0);
  values.DisableUartBoot = BitClear(kUartBoot, 0);
  values.LockInfoRegion1 = BitClear(kInfoRegion1, 0);
  return values;
}

void StoreAUCUxConfigValues(const TAUCUxConfigValues& values) {
  const auto image = OptionImage();
  image[kLifecycle] = SwitchByte(values.Lifecycle);
  std::uint8_t uart = 0xFF;
  for (std::size_t bit = 0; bit < values.DisableUart.size(); ++bit)
    if (values.DisableUart[bit]) uart = static_cast<std::uint8_t>(uart & ~(1u << bit));
  image[kUart] = uart;
  // FUNC JTAG and the Info_rgn1 lock cannot be switched from here.
  image[kJtag] = 0xFF;
  image[kUartBoot] = SwitchByte(values.DisableUartBoot);
  image[kInfoRegion1] = 0xFF;
  ProgramSettings.OptionsModified = 1;
}
