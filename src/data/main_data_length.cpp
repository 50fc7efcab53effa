#include <algorithm>
#include <cstdint>
#include <span>

#include "data/memory_areas.h"
#include "data/program_state.h"

// Used length of the main image: the last non-blank byte from index 1024 up,
// rounded up to 256, never more than the chip's main size. Only the main area
// inside the image is scanned; whatever MainSize and MainBaseOffset say,
// bytes beyond the image count as blank.
void ComputeMainDataLength() {
  const std::uint32_t size = SelectedChip.MainSize;
  if (size < 1024) {
    ObjectState.MainDataLength = size;
    return;
  }
  const std::uint8_t blank = SelectedChip.BlankIsZero ? 0x00 : 0xFF;
  const std::span<const std::uint8_t> area = MainAreaBytes();
  std::size_t used = area.size();  // one past the last byte that counts
  while (used > 1024 && area[used - 1] == blank) --used;
  used = std::max<std::size_t>(used, 1024);
  const std::size_t rounded = ((used - 1) | 0xFF) + 1;
  ObjectState.MainDataLength = static_cast<std::uint32_t>(std::min<std::size_t>(rounded, size));
}
