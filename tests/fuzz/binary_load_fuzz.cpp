// A binary object or EEP data file read to the address the offset dialog
// leaves: byte 0 picks the chip, byte 1 whether it is EEP data, how the
// address is made (near the area or any value), whether an object file is
// loaded fresh or on top and whether the check at the load's end refuses it
// (as a programmer that started meanwhile does), bytes 2..5 the address; the
// rest is the file. A refused load (no room at the address, an empty file,
// refused at its end) changes nothing.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "data/memory_areas.h"
#include "data/object_load.h"
#include "data/program_state.h"
#include "fuzz_support.h"

namespace {

struct TExpected {
  std::uint32_t AreaStart, AreaEnd;
  std::span<const std::uint8_t> Image;  // index 0 at AreaStart

  // Whether data can be placed at address: inside the area and the image.
  bool Holds(std::uint32_t address) const {
    return address >= AreaStart && address <= AreaEnd && address - AreaStart < Image.size();
  }
};

// What a load to address must have done with the file's bytes.
void CheckLoad(bool accepted, bool placeable, std::uint32_t address, const TExpected& place,
               std::span<const std::uint8_t> file, std::uint32_t first, std::uint32_t last, std::uint32_t sum) {
  FUZZ_CHECK(accepted == (place.Holds(address) && !file.empty() && placeable));
  if (!accepted) {
    FUZZ_CHECK(first == kUnwritten && last == kUnwritten && sum == kUnwritten);
    return;
  }
  const std::size_t index = address - place.AreaStart;
  const std::size_t room = std::min<std::uint64_t>(std::uint64_t{place.AreaEnd} - address + 1, place.Image.size() - index);
  const std::size_t n = std::min(file.size(), room);
  FUZZ_CHECK(first == address && last == address + n - 1);
  FUZZ_CHECK(sum == std::accumulate(file.begin(), file.begin() + n, std::uint32_t{0}));
  FUZZ_CHECK(std::memcmp(place.Image.data() + index, file.data(), n) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  const std::uint8_t how = in.Byte();
  const std::uint32_t value = in.Word32();
  const std::span<const std::uint8_t> file = in.Rest();
  const bool eep = how & 1;
  const std::string path = WriteFuzzFile(eep ? "eep.BIN" : "main.bin", file);

  const TSelectedChip& chip = SelectedChip;
  const bool intoEep = !eep && (chip.ControlBytes.EraseFlags & 0x80);
  const TExpected place = eep ? TExpected{chip.EepStart, chip.EepEnd, EepAreaBytes()}
                              : TExpected{chip.MainStart, intoEep ? chip.EepEnd : chip.MainEnd,
                                          MemoryImages.MainFlashImage};
  // Mostly an address near the area, where the data lands; sometimes any.
  const std::uint32_t span = place.AreaEnd - place.AreaStart + 64;
  const std::uint32_t address = how & 2 ? value : place.AreaStart - 32 + value % span;
  const auto dialog = [address] { ObjectState.BinOffsetAddress = static_cast<std::int32_t>(address); };
  const bool placeable = !(how & 8);
  const auto mayPlace = [placeable] { return placeable; };

  const TObjectState& object = ObjectState;
  MarkObjectBoundsUnwritten();
  MarkImages();
  bool accepted = false;
  if (eep) {
    // The EEP load keeps its bounds to itself; its sum tells what it read.
    accepted = LoadEepData(path, dialog, mayPlace).has_value();
    FUZZ_CHECK(accepted == (place.Holds(address) && !file.empty() && placeable));
    if (!accepted) FUZZ_CHECK(object.EepFileSum == kUnwritten);
    if (accepted) {
      const std::size_t index = address - place.AreaStart;
      const std::size_t n = std::min<std::size_t>(file.size(), place.Image.size() - index);
      FUZZ_CHECK(object.EepFileSum == std::accumulate(file.begin(), file.begin() + n, std::uint32_t{0}));
      FUZZ_CHECK(std::memcmp(place.Image.data() + index, file.data(), n) == 0);
    }
  } else {
    const TObjectLoadMode mode = how & 4 ? TObjectLoadMode::More : TObjectLoadMode::Fresh;
    accepted = LoadObjectData(path, mode, dialog, mayPlace);
    if (accepted && mode == TObjectLoadMode::Fresh) ImagesBlankedWhole();
    CheckLoad(accepted, placeable, address, place, file, object.ObjectStart, object.ObjectEnd, object.FileChecksum);
    FUZZ_CHECK(object.ObjectLoaded == accepted);
    if (accepted) FUZZ_CHECK(object.MainDataLength <= chip.MainSize);
  }
  if (!accepted) FUZZ_CHECK(ImagesStillMarked());
  CheckImagesOutsideAreas();
  return 0;
}
