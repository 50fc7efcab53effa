// Numbers typed into the window's edit fields and dialogs: decimal, or
// hexadecimal after "0x" or "$", read as 32-bit integers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// A text that is not an integer; what() names the text.
class EConvertError : public std::runtime_error {
 public:
  explicit EConvertError(const std::string& text);
};

// The value of text as 32 bits: decimal up to 4294967295 (the decimal S/N
// display reads back), or "0x"/"0X"/"$" and up to 32 bits of hex digits;
// a leading '-' gives the two's complement, down to -2147483648. Blanks
// around the number are ignored. Anything else, including a value that
// does not fit 32 bits, throws EConvertError. Callers cut the value to
// their field's width.
std::uint32_t StrToInt32(const std::string& text);

// The text without the blanks and tabs around it.
std::string_view Trimmed(std::string_view text);
