#include "chips/lcmpx_option_values.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "chips/option_image.h"
#include "data/program_state.h"

namespace {

// Pair indexes: pair k is the value at offset 2k and its complement after it.
constexpr std::size_t kUser = 0;
constexpr std::size_t kData = 1;
constexpr std::size_t kWriteProtect = 4;
constexpr std::size_t kReadProtect = 8;
constexpr std::size_t kPairs = 20;
constexpr std::uint8_t kUserErased = 0xFB;
constexpr std::uint8_t kReadUnprotected = 0xAA;
constexpr std::uint8_t kReadProtected = 0x00;

// The value byte of pair k.
std::uint8_t& Value(std::size_t k) { return OptionImage()[2 * k]; }

}  // namespace

TLCMPxOptionValues LCMPxOptionValuesOfImage() {
  TLCMPxOptionValues values;
  const std::uint8_t user = Value(kUser);
  values.NBoot0 = (user & 1) != 0;
  values.NBoot1 = (user & 2) != 0;
  values.BootSel = (user & 4) != 0;
  values.WatchdogSoftware = (user & 8) != 0;
  for (std::size_t i = 0; i < values.Data.size(); ++i) values.Data[i] = Value(kData + i);
  for (std::size_t k = 0; k < values.WriteProtect.size(); ++k)
    for (std::size_t b = 0; b < 8; ++b) values.WriteProtect[k][b] = ((Value(kWriteProtect + k) >> b) & 1) == 0;
  for (std::size_t j = 0; j < values.ReadProtect.size(); ++j)
    values.ReadProtect[j] = Value(kReadProtect + j) != kReadUnprotected;
  return values;
}

bool StoreLCMPxOptionValues(const TLCMPxOptionValues& values) {
  if (std::any_of(values.Data.begin(), values.Data.end(), [](int v) { return v < 0 || v > 0xFF; })) return false;

  Value(kUser) = static_cast<std::uint8_t>((Value(kUser) & 0xF0) | (values.NBoot0 ? 1 : 0) | (values.NBoot1 ? 2 : 0) |
                                           (values.BootSel ? 4 : 0) | (values.WatchdogSoftware ? 8 : 0));
  bool modified = Value(kUser) != kUserErased;
  for (std::size_t i = 0; i < values.Data.size(); ++i) {
    Value(kData + i) = static_cast<std::uint8_t>(values.Data[i]);
    modified |= values.Data[i] != 0xFF;
  }
  for (std::size_t k = 0; k < values.WriteProtect.size(); ++k) {
    std::uint8_t wrp = 0xFF;
    for (std::size_t b = 0; b < 8; ++b)
      if (values.WriteProtect[k][b]) wrp = static_cast<std::uint8_t>(wrp & ~(1u << b));
    Value(kWriteProtect + k) = wrp;
    modified |= wrp != 0xFF;
  }
  for (std::size_t j = 0; j < values.ReadProtect.size(); ++j) {
    Value(kReadProtect + j) = values.ReadProtect[j] ? kReadProtected : kReadUnprotected;
    modified |= values.ReadProtect[j];
  }
  for (std::size_t k = 0; k < kPairs; ++k) OptionImage()[2 * k + 1] = static_cast<std::uint8_t>(~Value(k));
  ProgramSettings.OptionsModified = modified ? 1 : 0;
  return true;
}
