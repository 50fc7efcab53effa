// ProjectOptionBits: the three window settings a project keeps beside the
// chip-data block, one bit each; bits 3..7 stay 0.
#pragma once

#include <cstdint>

struct TProjectOptions {
  bool SnDecimal;       // bit 0: "S/N Decimal Display"
  bool OnlineSn;        // bit 1: "Enable Online SN"
  bool UseFlashDriver;  // bit 2
};

constexpr std::uint8_t ProjectOptionBits(const TProjectOptions& options) {
  return static_cast<std::uint8_t>((options.SnDecimal ? 1 : 0) | (options.OnlineSn ? 2 : 0) |
                                   (options.UseFlashDriver ? 4 : 0));
}

constexpr TProjectOptions ProjectOptionsOf(std::uint8_t bits) {
  return {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
}
