// The part of the HEX and S-record readers that is the same for both: where a
// data record goes, the bounds, and the file loop with its line boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "data/object_file.h"

// The byte whose two hex digits stand at pos and pos + 1 of line.
inline std::uint8_t HexByteAt(std::string_view line, std::size_t pos) {
  return HexPairToByte(line[pos], line[pos + 1]);
}

// Decodes the count data bytes in hexData (2 x count characters) and adds each
// to recordSum and totals.Sum. The record goes by its start address alone to
// the first area of option, main, EEP and auxiliary that holds it, and runs on
// from there inside that area's image in images; bytes that would fall beyond
// the image are dropped. The area is added to totals.Placed, and a main, EEP
// or auxiliary record sets totals.DataEnd (one past the record). With no
// area, the address box is shown.
TRecordArea StoreDataRecord(std::uint32_t address, std::string_view hexData, std::uint32_t count,
                            std::uint8_t& recordSum, TRecordTotals& totals, const TAreaImages& images);

// The totals' bounds widened to cover count (>= 1) bytes from address.
void WidenBounds(std::uint32_t address, std::uint32_t count, TRecordTotals& totals);

// One line to its error code, adding to the file's totals.
using TLineParser = std::function<std::uint8_t(std::string_view line, TRecordTotals& totals)>;

// Reads a file's text line by line (LF or CR LF), counting every line in 16
// bits. Lines that skip() accepts are passed over; every other one goes to
// parse(). A non-zero code asks "Line %d Data Error : %d." with OK and Abort;
// Abort ends the reading at once.
TRecordFileRead LoadRecordLines(std::string_view text, bool (*skip)(std::string_view line), const TLineParser& parse);
