#include "link/firmware_fields.h"

#include <algorithm>
#include <cstring>

#include "data/program_state.h"

namespace {

std::span<const std::uint8_t> Take(std::span<const std::uint8_t> bytes, std::size_t count) {
  return bytes.first(std::min(count, bytes.size()));
}

}  // namespace

void AddBytesToSum(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count) {
  for (std::uint8_t b : Take(bytes, count)) sum += b;
}

std::string ReadMaskedText(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count,
                           std::uint8_t mask) {
  std::string text;
  for (std::uint8_t b : Take(bytes, count)) {
    sum += b;
    text += static_cast<char>(b == 0 ? 0 : b ^ mask);
  }
  return text;
}

void CopyVersionText(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count) {
  char (&version)[sizeof SessionState.FirmwareVersion] = SessionState.FirmwareVersion;
  std::memset(version, 0, sizeof version);
  const auto taken = Take(bytes, std::min(count, sizeof version - 1));
  std::memcpy(version, taken.data(), taken.size());
  AddBytesToSum(bytes, sum, count);
}

std::uint16_t ReadLe16Sum(std::span<const std::uint8_t> bytes, std::uint32_t& sum) {
  const auto taken = Take(bytes, 2);
  AddBytesToSum(taken, sum, taken.size());
  std::uint16_t value = 0;
  for (std::size_t i = 0; i < taken.size(); ++i) value = static_cast<std::uint16_t>(value | taken[i] << (8 * i));
  return value;
}
