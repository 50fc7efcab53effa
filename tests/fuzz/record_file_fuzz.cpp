#include "record_file_fuzz.h"

#include <string>

#include "data/object_file_kind.h"
#include "data/object_load.h"
#include "data/program_state.h"
#include "fuzz_support.h"

// Byte 0 picks the chip, byte 1 the question that is answered Abort (0:
// none; the check at the load's end counts as one more question, refused as
// a programmer that started meanwhile refuses it), byte 2 the extension,
// whether it is an EEP data load and whether an object file is loaded fresh
// or on top; the rest is the file. An empty file, one aborted at a line box
// or refused at its end and one that places no data are refused and change
// nothing.
int FuzzRecordFile(const std::uint8_t* data, std::size_t size, std::span<const std::string_view> extensions) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  FuzzPrompts().Reset(in.Byte());
  const std::uint8_t how = in.Byte();
  const bool eep = how & 0x80;
  const TObjectLoadMode mode = how & 0x40 ? TObjectLoadMode::More : TObjectLoadMode::Fresh;
  const std::span<const std::uint8_t> file = in.Rest();
  const std::string path = WriteFuzzFile(std::string("load") += extensions[(how & 0x3F) % extensions.size()], file);

  const TObjectState& object = ObjectState;
  MarkObjectBoundsUnwritten();
  MarkImages();
  const std::uint32_t mainSize = SelectedChip.MainSize;
  const auto failBinary = [] { __builtin_trap(); };  // HEX and S-records never ask for an offset
  unsigned placeAskedAt = 0;  // the question that the check at the end was
  const auto mayPlace = [&placeAskedAt] {
    const bool ok = FuzzPrompts().AskOkAbort("") == TPromptAnswer::Ok;
    placeAskedAt = FuzzPrompts().Questions;
    return ok;
  };
  bool loaded = false;
  if (eep) {
    // EEP data never comes as S37.
    loaded = LoadEepData(path, failBinary, mayPlace).has_value();
    if (loaded) FUZZ_CHECK(EepFileKindOf(path) != TObjectFileKind::Unknown && !file.empty());
    if (!loaded) FUZZ_CHECK(object.EepFileSum == kUnwritten);
  } else {
    loaded = LoadObjectData(path, mode, failBinary, mayPlace);
    if (loaded && mode == TObjectLoadMode::Fresh) ImagesBlankedWhole();
    if (loaded) FUZZ_CHECK(!file.empty());
    FUZZ_CHECK(object.ObjectLoaded == loaded && object.MainDataLength <= mainSize);
    if (!loaded)
      FUZZ_CHECK(object.ObjectStart == kUnwritten && object.ObjectEnd == kUnwritten && object.FileChecksum == kUnwritten);
  }
  const bool aborted = FuzzPrompts().AbortAfter != 0 && FuzzPrompts().Questions >= FuzzPrompts().AbortAfter;
  if (aborted) FUZZ_CHECK(!loaded);
  // A load that stands was checked once more after its last box.
  if (loaded) FUZZ_CHECK(placeAskedAt != 0 && placeAskedAt == FuzzPrompts().Questions);
  if (!loaded) FUZZ_CHECK(ImagesStillMarked());
  FUZZ_CHECK(SelectedChip.MainSize == mainSize);
  CheckImagesOutsideAreas();
  return 0;
}
