// Number formats of the settings collection and the serial numbers.
#pragma once

// The eight control bytes that follow the chip control line of the log.
inline constexpr const char* kControlBytesFormat = "%02X,%02X,%02X, %02X,%02X,%02X, %02X,%02X.";

// How "S/N Initial:" shows the serial number.
inline constexpr const char* kSerialNumberDecimalFormat = "%u";
inline constexpr const char* kSerialNumberHexFormat = "0x%08X";
