// Texts of the settings collection and the serial numbers.
#pragma once

// A text in a number field that is not an integer.
inline constexpr const char* kNotAnIntegerFormat = "'%s' is not a valid integer value";

// The chip control bytes of the last collection, in two halves: the chip's
// codes and used length, then the eight control bytes (typo is the program's own).
inline constexpr const char* kChipControlSettingFormat = "> Chip Control Settting : %02X,%02X,%02X, %02X,%02X,%04X, ";
inline constexpr const char* kControlBytesFormat = "%02X,%02X,%02X, %02X,%02X,%02X, %02X,%02X.";

// How "S/N Initial:" shows the serial number.
inline constexpr const char* kSerialNumberDecimalFormat = "%u";
inline constexpr const char* kSerialNumberHexFormat = "0x%08X";

// A serial number that would not lie wholly inside the main flash area: the
// chips are not programmed without it.
inline constexpr const char* kSerialNumberOutsideMainFormat =
    "S/N Address 0x%08X (%u Bytes) is out of Main Flash 0x%08X - 0x%08X, no chip is programmed!";
