#include <cstdint>

#include "data/program_state.h"

// Used length of the main image: the last non-blank byte from index 1024 up,
// rounded up to 256, never more than the chip's main size. The scan stays
// inside the image whatever MainSize and MainBaseOffset say; bytes beyond the
// image count as blank.
void ComputeMainDataLength() {
  const std::uint8_t blank = SelectedChip.BlankIsZero ? 0x00 : 0xFF;
  const std::uint64_t size = SelectedChip.MainSize;
  if (size < 1024) {
    ObjectState.MainDataLength = SelectedChip.MainSize;
    return;
  }
  const std::uint64_t base = SelectedChip.MainBaseOffset;
  // Start at the last index that lies inside both the area and the image.
  std::uint64_t i = 1023;
  if (base < kMainFlashImageSize) {
    const std::uint64_t lastInImage = kMainFlashImageSize - 1 - base;
    i = size - 1 < lastInImage ? size - 1 : lastInImage;
  }
  while (i >= 1024 && MemoryImages.MainFlashImage[base + i] == blank) --i;
  if (i < 1023) i = 1023;
  const std::uint64_t rounded = (i | 0xFF) + 1;
  ObjectState.MainDataLength = static_cast<std::uint32_t>(rounded < size ? rounded : size);
}
