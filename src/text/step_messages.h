// The number formats of the dumps of the reads on programmer 1 (their
// headings are rows of the text table).
#pragma once

// Chip information: a heading, then 32 rows of 16 bytes.
inline constexpr const char* kChipInfoRowFormat = "  0x0380%.4X :";
inline constexpr const char* kChipInfoByteFormat = " %.2X";

// Memory-range read: a heading, then rows of 16 bytes from the start address.
inline constexpr const char* kMemoryDumpRowFormat = "0x%.8X : ";
inline constexpr const char* kMemoryDumpByteFormat = "%.2X ";
