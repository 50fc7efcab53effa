#include "chips/aucux_config_values.h"

#include <cstddef>
#include <cstdint>

#include "data/program_state.h"

namespace {

constexpr std::size_t kLifecycle = 0x00;
constexpr std::size_t kUart = 0x10;
constexpr std::size_t kJtag = 0x14;
constexpr std::size_t kUartBoot = 0x18;
constexpr std::size_t kInfoRegion1 = 0x20;

std::uint8_t* Image() { return MemoryImages.OptionImage; }

bool BitClear(std::size_t offset, int bit) { return ((Image()[offset] >> bit) & 1) == 0; }

// Bit 0 cleared when switched, all other bits 1.
std::uint8_t SwitchByte(bool on) { return on ? 0xFE : 0xFF; }

}  // namespace

TAUCUxConfigValues AUCUxConfigValuesOfImage() {
  TAUCUxConfigValues values;
  values.Lifecycle = BitClear(kLifecycle, 0);
  for (int bit = 0; bit < 3; ++bit) values.DisableUart[static_cast<std::size_t>(bit)] = BitClear(kUart, bit);
  values.DisableJtag = BitClear(kJtag, 0);
  values.DisableUartBoot = BitClear(kUartBoot, 0);
  values.LockInfoRegion1 = BitClear(kInfoRegion1, 0);
  return values;
}

void StoreAUCUxConfigValues(const TAUCUxConfigValues& values) {
  std::uint8_t* image = Image();
  image[kLifecycle] = SwitchByte(values.Lifecycle);
  std::uint8_t uart = SwitchByte(values.DisableUart[0]);
  for (int bit = 1; bit < 3; ++bit) {
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    uart = static_cast<std::uint8_t>(values.DisableUart[static_cast<std::size_t>(bit)] ? uart & ~mask : uart | mask);
  }
  image[kUart] = uart;
  // FUNC JTAG and the Info_rgn1 lock cannot be switched from here.
  image[kJtag] = 0xFF;
  image[kUartBoot] = SwitchByte(values.DisableUartBoot);
  image[kInfoRegion1] = 0xFF;
  ProgramSettings.OptionsModified = 1;
}
