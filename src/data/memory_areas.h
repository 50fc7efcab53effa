// The stretches of the memory images that the sums, the viewers and the
// serial-number writer work on, each cut to its image: whatever the chip
// record or a project says, nothing outside an image is ever touched.
#pragma once

#include <cstdint>
#include <span>

// The main area: MainSize bytes of MainFlashImage from MainBaseOffset on.
std::span<std::uint8_t> MainAreaBytes();

// The programmed main range: the first MainDataLength bytes of the main area.
std::span<std::uint8_t> MainProgrammedBytes();

// The EEP area: EepImage[0 .. EepSize - 1]; empty when the chip has no EEP.
std::span<std::uint8_t> EepAreaBytes();
// The same part of an EEP image of this size that is not the job's (a load's copy).
std::span<std::uint8_t> EepAreaBytes(std::span<std::uint8_t> eepImage);
