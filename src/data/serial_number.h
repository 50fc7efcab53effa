// The serial number that the PC writes into the main image before a chip is
// programmed, and how "S/N Initial:" shows it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Index range into the main area (MainAreaBytes()), inclusive.
struct TAreaSpan {
  std::uint32_t First;
  std::uint32_t Last;
};

// Writes the SnSize bytes of SnValue at SnAddress into the main area, most
// significant byte first when SnFlags bit 2 ("S/N Big Endian") is set, else
// least significant first. MainDataLength then grows to cover the number
// (never shrinks) and MainSum16 and MainSumLow follow the new range.
// A number that would not lie wholly inside the main area and the image is
// not written: a box names the address and the area, nothing changes, and
// the result is empty so that no programmer is started without it.
// On success, the area indexes written.
std::optional<TAreaSpan> WriteSerialNumberToImage();

// "%u" for the decimal display, else "0x%0.8x".
std::string SerialNumberText(std::uint32_t value, bool decimal);
