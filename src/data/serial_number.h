// The online serial number that the PC gives each chip it programs, and how
// "S/N Initial:" shows it.
#pragma once

#include <cstdint>
#include <string>

// The number the next chips get: the SnSize bytes of SnValue at SnAddress,
// most significant first when SnFlags bit 2 ("S/N Big Endian") is set, else
// least significant first, into ObjectState.OnlineSerialNumber. It goes
// only into what is sent and verified (data/run_settings.h): the image, its
// data length and its sums stay the file's.
// A number that would not lie wholly inside the main area and the image is
// refused: a box names the address and the area, nothing changes, and the
// result is false so that no programmer is started without it.
bool PrepareSerialNumber();

// "%u" for the decimal display, else "0x%0.8x".
std::string SerialNumberText(std::uint32_t value, bool decimal);
