// Motorola S-record object files: S1/S2/S3 data records read into the memory
// images by address, and written from an image.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/object_file.h"

// One record to its line error code. address receives the record's load
// address; totals are the file's running bounds, byte sum and the areas its
// data records went to, in images.
// Bounds cover every data record with data, whichever area holds it, and
// also one that no area holds. S0, S5, S6, S7, S8 and S9 are ignored.
std::uint8_t ParseSRecLine(std::string_view line, std::uint32_t& address, TRecordTotals& totals,
                           const TAreaImages& images);

// Reads a whole file from its text (see LoadRecordLines) into images; lines
// shorter than 3 characters are passed over.
TRecordFileRead LoadSRecFile(std::string_view text, const TAreaImages& images);

// Writes addresses first .. last, the byte of address a being image[a - base],
// as 32-byte records of one type chosen by last: S1 below 0x10000, S2 up to
// 0xFFFFFF, S3 above; then the matching S9, S8 or S7 record. No S0 record. An
// empty range, or one that leaves the image, gives only the closing record.
// Throws std::system_error when the file cannot be written.
void WriteSRecFile(const std::string& fileName, std::span<const std::uint8_t> image, std::uint32_t base,
                   std::uint32_t first, std::uint32_t last);
