// The boxes of the Intel HEX and S-record readers.
#pragma once

// A data record whose start address lies in no area of the chip.
inline constexpr const char* kAddressOutOfChipFormat = "Address \"0x%08X\" is out of Chip!";
// A line with an error code: the line number (counted in 16 bits), then the code.
inline constexpr const char* kLineDataErrorFormat = "Line %d Data Error : %d.";
