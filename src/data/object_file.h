// What the Intel HEX and S-record readers share with their callers.
#pragma once

#include <cstdint>
#include <span>

// Line error codes of ParseHexLine and ParseSRecLine; 0: the line was
// accepted or ignored. A line too short for its own fields gives
// kLineBadChecksum, before anything of it is stored.
enum : std::uint8_t {
  kLineOk = 0,
  kLineBadStart = 1,        // no ':' (HEX) or 'S' (S-record) first
  kLineBadType = 2,         // S4 or a type character other than a digit
  kLineBadExtAddress = 3,   // HEX type 02 or 04 whose address field is not 0000
  kLineBadChecksum = 4,     // also wins over kLineOutOfChip
  kLineUnknownType = 5,     // HEX type 06 and above
  kLineOutOfChip = 7,       // data record whose start address lies in no area
};

// How a HEX or S-record load ended: every line read, or Abort chosen in a
// line's error box.
enum class TObjectFileStatus { Read, Aborted };

// Where a record goes: the first area of option, main, EEP and auxiliary
// that holds its start address, or none.
enum class TRecordArea { Option, Main, Eep, Aux, None };

// The areas that a file's data records were placed in, a bit per area.
using TAreaSet = std::uint8_t;
constexpr TAreaSet AreaBit(TRecordArea area) { return static_cast<TAreaSet>(1u << static_cast<unsigned>(area)); }

// Two hex digits to a byte, without validation: 'A'..'Z' give c - 55,
// 'a'..'z' c - 87, anything else c - 48; a character that is no digit gives
// some other value, which the record checksum then catches.
std::uint8_t HexPairToByte(char high, char low);

// Sets the first count bytes of buffer to value, never past its end.
void FillBytes(std::span<std::uint8_t> buffer, std::uint32_t count, std::uint8_t value);
