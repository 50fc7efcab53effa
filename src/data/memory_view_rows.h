// Which rows of 16 bytes the two hex viewers show. Rows are counted from the
// start of their area (row 0 is the first data row, below the header) and
// never reach past the area or its image.
#pragma once

#include <cstdint>
#include <optional>

constexpr std::uint32_t kViewerBytesPerRow = 16;

// The rows of a main-viewer fill over first .. last: the length
// last - first + 1 (32-bit, so first = last + 1 is no length) in rows,
// rounded up, at most the main area's rows. Only the count comes from first
// and last: the rows always begin at the main area's start.
std::uint32_t HexViewerRowCount(std::uint32_t first, std::uint32_t last);

struct TRowSpan {
  std::uint32_t First;
  std::uint32_t Last;
};

// The main-viewer rows that hold the chip addresses fromAddr .. toAddr and
// lie inside the main area; none when no such address does.
std::optional<TRowSpan> MainViewerRowsOf(std::uint32_t fromAddr, std::uint32_t toAddr);

// EepSize div 16, at most the EEP image's rows.
std::uint32_t EepViewerRowCount();

// Whether the first rows of the EEP image hold a byte that is neither 0x00
// nor 0xFF: EEP data worth programming.
bool EepRowsHoldData(std::uint32_t rows);
