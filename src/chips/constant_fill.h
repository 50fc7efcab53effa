// Writing a fixed constant (serial-number data) into the loaded data: the
// constant-filling dialog without its widgets. The constant is an ASCII text
// or a list of hex bytes separated by spaces, stored from an address on into
// the main flash image or the EEP image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class TConstantArea { Main, Eep };         // RadioGrpSN item 0, 1
enum class TConstantFormat { Ascii, HexData };  // RadioGroupFM item 0, 1

struct TConstantInput {
  std::string AddressText;  // AddrEditSN: decimal, or hex after "0x" or "$"
  TConstantArea Area = TConstantArea::Main;
  TConstantFormat Format = TConstantFormat::Ascii;
  std::string DataText;  // EditDataSN, UTF-8
};

// The first address of the area, as the dialog offers it.
std::uint32_t ConstantAreaStart(TConstantArea area);

// The hex token at or after pos: spaces before it are skipped, then every
// character up to the next space or the end adds one hex digit (any other
// character counts as 0), so the byte keeps the token's last two digits.
// pos is left on the space that ends the token, or at the end of the text.
// None when only spaces, or nothing, are left.
std::optional<std::uint8_t> ParseHexToken(std::string_view text, std::size_t& pos);

// The bytes the data text stands for in its format: the text's own bytes,
// or one byte per hex token.
std::vector<std::uint8_t> ConstantBytes(TConstantFormat format, std::string_view text);

// What a store wrote and what the window must show again: for the main
// area the viewer rows of chip addresses RefreshFrom .. RefreshTo, for the
// EEP area its sums and its whole viewer.
struct TConstantStored {
  TConstantArea Area;
  std::size_t Count;
  std::uint32_t RefreshFrom;
  std::uint32_t RefreshTo;
};

// Writes the constant at its address. None, with nothing written, when it
// would not lie wholly inside its area (and the area inside its image): an
// address below the area's start or above its end, data running past the
// end, or the EEP area of a chip without EEP. An address text that is no
// integer throws EConvertError, with nothing written.
std::optional<TConstantStored> StoreConstant(const TConstantInput& input);
