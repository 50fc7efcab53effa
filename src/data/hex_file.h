// Intel HEX object files: one record per line, read into the memory images
// by address, and written from an image.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "data/object_file.h"

// One record to its line error code. linear and segment are the file's
// extended address parts (types 04 and 02; they add up); totals are its
// running bounds, byte sum and the areas its data records went to, in
// images. Bounds cover only records stored in the main, EEP and auxiliary
// areas.
std::uint8_t ParseHexLine(std::string_view line, std::uint32_t& linear, std::uint32_t& segment,
                          TRecordTotals& totals, const TAreaImages& images);

// Reads a whole file from its text (see LoadRecordLines) into images.
TRecordFileRead LoadHexFile(std::string_view text, const TAreaImages& images);

// Writes addresses first .. last, the byte of address a being image[a - base].
// Up to last 0xFFFF: 16-byte records, no extended address record. Above:
// 32-byte records that never cross 64 KB, each window opened by a type 04
// record. Ends with ":00000001FF". An empty range, or one that leaves the
// image, gives only the closing record (after the first type 04 record in the
// 32-bit form). Throws std::system_error when the file cannot be written.
void WriteHexFile(const std::string& fileName, std::span<const std::uint8_t> image, std::uint32_t base,
                  std::uint32_t first, std::uint32_t last);
