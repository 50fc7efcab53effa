#include "data/object_file.h"

#include <algorithm>

namespace {

int DigitValue(char c) {
  const int u = static_cast<unsigned char>(c);
  if (u >= 'A' && u <= 'Z') return u - 55;
  if (u >= 'a' && u <= 'z') return u - 87;
  return u - 48;
}

}  // namespace

std::uint8_t HexPairToByte(char high, char low) {
  return static_cast<std::uint8_t>(DigitValue(high) * 16 + DigitValue(low));
}

void FillBytes(std::span<std::uint8_t> buffer, std::uint32_t count, std::uint8_t value) {
  std::fill_n(buffer.begin(), std::min<std::size_t>(count, buffer.size()), value);
}
