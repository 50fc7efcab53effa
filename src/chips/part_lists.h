// The part names the chip-selection dialog offers, one fixed list per
// vendor, with the vendor's caption in the dialog's vendor group.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "chips/vendor_index.h"

struct TPartList {
  const char* VendorCaption;
  std::span<const std::string_view> Names;  // in list order; a name is used exactly as it stands
};

// Vendor index 10 and above: the SA32B list.
const TPartList& PartListFor(std::uint8_t vendorIndex);
