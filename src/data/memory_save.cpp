#include "data/memory_save.h"

#include <span>

#include "data/binary_file.h"
#include "data/hex_file.h"
#include "data/program_state.h"
#include "data/srec_file.h"

void SaveMemoryToFile(const std::string& fileName, int filterIndex) {
  const std::span<const std::uint8_t> image(MemoryImages.MainFlashImage);
  const TSelectedChip& chip = SelectedChip;
  // The address that image index 0 stands for: address a is image[MainBaseOffset + a - MainStart].
  const std::uint32_t base = chip.MainStart - chip.MainBaseOffset;
  switch (static_cast<TMemoryFileKind>(filterIndex)) {
    case TMemoryFileKind::Binary:
      WriteBinaryFile(fileName, image, chip.MainBaseOffset, chip.MainBaseOffset + (chip.MainEnd - chip.MainStart));
      break;
    case TMemoryFileKind::IntelHex:
      WriteHexFile(fileName, image, base, chip.MainStart, chip.MainEnd);
      break;
    case TMemoryFileKind::SRecord:
      WriteSRecFile(fileName, image, base, chip.MainStart, chip.MainEnd);
      break;
  }
}
