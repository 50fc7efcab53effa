#include "data/object_file.h"

#include <algorithm>
#include <array>

#include "data/program_state.h"

namespace {

// The value of every character, modulo 256 (which is all the 8-bit result keeps).
constexpr std::array<std::uint8_t, 256> kDigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  for (int c = 0; c < 256; ++c) {
    const int value = c >= 'A' && c <= 'Z' ? c - 55 : c >= 'a' && c <= 'z' ? c - 87 : c - 48;
    values[c] = static_cast<std::uint8_t>(value);
  }
  return values;
}();

}  // namespace

TAreaImages JobImages() {
  TMemoryImages& m = MemoryImages;
  return {m.OptionImage, m.MainFlashImage, m.EepImage, m.AuxAreaImage};
}

std::uint8_t HexPairToByte(char high, char low) {
  return static_cast<std::uint8_t>(kDigitValues[static_cast<unsigned char>(high)] * 16 +
                                   kDigitValues[static_cast<unsigned char>(low)]);
}

void FillBytes(std::span<std::uint8_t> buffer, std::uint32_t count, std::uint8_t value) {
  std::fill_n(buffer.begin(), std::min<std::size_t>(count, buffer.size()), value);
}
