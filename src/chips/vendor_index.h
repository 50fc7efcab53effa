// The vendor index (ChipFamilyIndex) chooses a chip family's part list,
// setter, window adapter and option displays. Every table of this folder has
// one row per vendor, in this order; any index above the last is the SA32B
// family.
#pragma once

#include <cstddef>
#include <cstdint>

enum TVendor : std::uint8_t {
  kVendorAC78xx,
  kVendorIndie,
  kVendorLapis,
  kVendorAUCUx,
  kVendorMR88F,
  kVendorLCMPx,
  kVendorBAT32,
  kVendorSonic,
  kVendorSpctrol,
  kVendorLE5x10,
  kVendorSA32B,
};

inline constexpr std::uint8_t kVendorCount = kVendorSA32B + 1;

// The table row that serves a vendor index.
constexpr std::size_t VendorRow(std::uint8_t vendorIndex) {
  return vendorIndex < kVendorCount ? std::size_t{vendorIndex} : std::size_t{kVendorSA32B};
}
