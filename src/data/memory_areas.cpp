#include "data/memory_areas.h"

#include <algorithm>

#include "data/program_state.h"

std::span<std::uint8_t> MainAreaBytes() {
  const std::span<std::uint8_t> image(MemoryImages.MainFlashImage);
  const std::size_t base = SelectedChip.MainBaseOffset;
  if (base >= image.size()) return {};
  return image.subspan(base, std::min<std::size_t>(SelectedChip.MainSize, image.size() - base));
}

std::span<std::uint8_t> MainProgrammedBytes() {
  const std::span<std::uint8_t> area = MainAreaBytes();
  return area.first(std::min<std::size_t>(ObjectState.MainDataLength, area.size()));
}

std::span<std::uint8_t> EepAreaBytes() { return EepAreaBytes(MemoryImages.EepImage); }

std::span<std::uint8_t> EepAreaBytes(std::span<std::uint8_t> eepImage) {
  return eepImage.first(std::min<std::size_t>(SelectedChip.EepSize, eepImage.size()));
}
