// What the chip-selection dialog's OK does with the chosen part: it becomes
// the selected chip, through its family's setter.
#pragma once

#include <cstddef>
#include <cstdint>

// Clears ObjectLoaded (data must be loaded again), sets ChipSelected, stores
// the vendor index and the part name, runs the vendor's setter and resets the
// data lengths to the chip's sizes. Every setter presets all control bytes,
// the SWE interface bit among them (set by name for MR88F only). A row
// outside the vendor's list changes nothing and returns false.
bool AcceptChipChoice(std::uint8_t vendorIndex, std::size_t row);
