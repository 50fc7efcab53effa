#include "record_file_fuzz.h"

#include <string>

#include "data/object_file_kind.h"
#include "data/object_load.h"
#include "data/program_state.h"
#include "fuzz_support.h"

// Byte 0 picks the chip, byte 1 the question that is answered Abort (0:
// none), byte 2 the extension and whether it is an EEP data load; the rest
// is the file.
int FuzzRecordFile(const std::uint8_t* data, std::size_t size, std::span<const std::string_view> extensions) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  FuzzPrompts().Reset(in.Byte());
  const std::uint8_t how = in.Byte();
  const bool eep = how & 0x80;
  const std::span<const std::uint8_t> file = in.Rest();
  const std::string path = WriteFuzzFile(std::string("load") += extensions[(how & 0x7F) % extensions.size()], file);

  const TObjectState& object = ObjectState;
  MarkObjectBoundsUnwritten();
  const std::uint32_t mainSize = SelectedChip.MainSize;
  const auto failBinary = [] { __builtin_trap(); };  // HEX and S-records never ask for an offset
  if (eep) {
    // EEP data never comes as S37.
    FUZZ_CHECK(LoadEepData(path, failBinary) == (EepFileKindOf(path) != TObjectFileKind::Unknown));
    if (file.empty()) FUZZ_CHECK(object.EepFileSum == kUnwritten);
  } else {
    FUZZ_CHECK(LoadObjectData(path, failBinary));
    FUZZ_CHECK(object.ObjectLoaded == 1 && object.MainDataLength <= mainSize);
    // An empty file changes neither the bounds nor the sum.
    if (file.empty())
      FUZZ_CHECK(object.ObjectStart == kUnwritten && object.ObjectEnd == kUnwritten && object.FileChecksum == kUnwritten);
  }
  FUZZ_CHECK(SelectedChip.MainSize == mainSize);
  CheckImagesOutsideAreas();
  return 0;
}
