// The number formats of the lines that list option and configuration bytes
// in the log (their headings are rows of the text table). The LCP037 rows
// name the chip's option registers, the same in both language builds.
#pragma once

// AC78xx: one line of eight 16-bit words.
inline constexpr const char* kOptionWordFormat = " %04X";

// AU30x: sixteen lines of sixteen bytes, each led by its address.
inline constexpr const char* kConfigLineAddressFormat = "  0x03802%03X :";  // offset in the area
inline constexpr const char* kOptionByteFormat = " %02X";

// LCP037/LCM32F037.
inline constexpr const char* kChipOptionDataIndent = "     ";
inline constexpr const char* kUserByteFormat = "    USER = 0x%02X. ";
inline constexpr const char* kDataByteFormat = "DATA%d = 0x%02X. ";  // index, byte
inline constexpr const char* kRopByteFormat = "    ROP  = 0x%02X";
inline constexpr const char* kRop2ByteFormat = "  ROP2= 0x%02X";
inline constexpr const char* kWrpIndent = "    ";
inline constexpr const char* kWrpByteFormat = "WRP%d = 0x%02X. ";  // index, byte
