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

// The images that a file's data records are stored in, index 0 of each
// standing for its area's start: a load's working copy of the job's images
// (job_copy.h), or the job's own.
struct TAreaImages {
  std::span<std::uint8_t> Option, Main, Eep, Aux;
};

// The job's own images, those the programmers are sent.
TAreaImages JobImages();

// What the data records of a HEX or S-record file came to.
struct TRecordTotals {
  std::uint32_t Lowest = 0xFFFFFFFF;  // the bounds each reader keeps
  std::uint32_t Highest = 0;
  std::uint32_t Sum = 0;              // of every data byte, stored or not
  TAreaSet Placed = 0;                // the areas records were stored in
  // One past the last record stored in the main, EEP or auxiliary area
  // (LoadedDataEnd); set only when there was one.
  std::uint32_t DataEnd = 0;
};

// A whole file read: how it ended and, when Read, the totals of all its
// lines; when Aborted, those of the lines before the one aborted at.
struct TRecordFileRead {
  TObjectFileStatus Status = TObjectFileStatus::Read;
  TRecordTotals Totals;
};

// Two hex digits to a byte, without validation: 'A'..'Z' give c - 55,
// 'a'..'z' c - 87, anything else c - 48; a character that is no digit gives
// some other value, which the record checksum then catches.
std::uint8_t HexPairToByte(char high, char low);

// Sets the first count bytes of buffer to value, never past its end.
void FillBytes(std::span<std::uint8_t> buffer, std::uint32_t count, std::uint8_t value);
