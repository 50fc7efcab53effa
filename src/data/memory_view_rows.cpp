#include "data/memory_view_rows.h"

#include <algorithm>
#include <span>

#include "data/memory_areas.h"
#include "data/program_state.h"

namespace {

std::uint32_t RowsFor(std::uint64_t bytes) {
  return static_cast<std::uint32_t>((bytes + kViewerBytesPerRow - 1) / kViewerBytesPerRow);
}

}  // namespace

std::uint32_t HexViewerRowCount(std::uint32_t first, std::uint32_t last) {
  const std::uint32_t length = last - first + 1;
  return std::min(RowsFor(length), RowsFor(MainAreaBytes().size()));
}

std::optional<TRowSpan> MainViewerRowsOf(std::uint32_t fromAddr, std::uint32_t toAddr) {
  const std::uint32_t start = SelectedChip.MainStart;
  const std::uint32_t areaRows = RowsFor(MainAreaBytes().size());
  if (toAddr < start || fromAddr > toAddr || areaRows == 0) return std::nullopt;
  const std::uint32_t first = (std::max(fromAddr, start) - start) / kViewerBytesPerRow;
  const std::uint32_t last = std::min((toAddr - start) / kViewerBytesPerRow, areaRows - 1);
  if (first > last) return std::nullopt;
  return TRowSpan{first, last};
}

std::uint32_t EepViewerRowCount() { return static_cast<std::uint32_t>(EepAreaBytes().size() / kViewerBytesPerRow); }

bool EepRowsHoldData(std::uint32_t rows) {
  const std::span<const std::uint8_t> image(MemoryImages.EepImage);
  const std::span<const std::uint8_t> shown =
      image.first(std::min<std::size_t>(std::size_t{rows} * kViewerBytesPerRow, image.size()));
  return std::any_of(shown.begin(), shown.end(), [](std::uint8_t b) { return b != 0x00 && b != 0xFF; });
}
