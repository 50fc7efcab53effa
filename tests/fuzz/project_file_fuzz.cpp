// A project file opened over a job (the chosen chip with its defaults): a
// refused file leaves every record of the job as it was, also one that passed
// and is refused at the end (as a programmer that started while its box was
// open refuses it); an accepted one is applied, saved again with the
// program's own writer and decodes to the same job. Byte 0 picks the chip of
// the job before; the rest is the file.
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "platform/file_bytes.h"
#include "project/project_decoder.h"
#include "project/project_file.h"
#include "project/project_format.h"
#include "fuzz_support.h"

namespace {

// The records a refused file must not touch (the images are checked apart).
struct TJobRecords {
  TSelectedChip Chip;
  TProgramSettings Settings;
  TObjectState Object;
  std::string ModelName, ChipName, ChipText2;
  std::vector<std::uint8_t> ChipData;

  static TJobRecords Take() {
    return {SelectedChip,          ProgramSettings,        ObjectState,
            SessionTexts.ModelName, SessionTexts.ChipName, SessionTexts.ChipText2,
            {std::begin(MemoryImages.ChipDataBlock), std::end(MemoryImages.ChipDataBlock)}};
  }
  bool operator==(const TJobRecords& o) const {
    return std::memcmp(&Chip, &o.Chip, sizeof Chip) == 0 && std::memcmp(&Settings, &o.Settings, sizeof Settings) == 0 &&
           std::memcmp(&Object, &o.Object, sizeof Object) == 0 && ModelName == o.ModelName &&
           ChipName == o.ChipName && ChipText2 == o.ChipText2 && ChipData == o.ChipData;
  }
};

// Saving the opened job gives a file that opens to the same data.
void CheckSavedAgain(const TProjectContent& opened) {
  const std::string again = FuzzFolder() + "again.pqx";
  if (!WriteProjectFile(again, 0)) return;  // a job the writer refuses to hold
  const TProjectDecoding saved = DecodeProjectFile(ReadFileBytes(again, kProjectFileMaxSize));
  FUZZ_CHECK(saved.Result == kProjectOpenOk);
  const TProjectHeader& a = opened.Header;
  const TProjectHeader& b = saved.Content.Header;
  FUZZ_CHECK(a.ChipName == b.ChipName && a.ChipText2 == b.ChipText2 && a.ChipFamilyIndex == b.ChipFamilyIndex);
  FUZZ_CHECK(a.MainSize == b.MainSize && a.EepSize == b.EepSize && a.MainDataLength == b.MainDataLength);
  FUZZ_CHECK(a.MainStart == b.MainStart && a.EepStart == b.EepStart);
  FUZZ_CHECK(opened.MainData == saved.Content.MainData && opened.EepData == saved.Content.EepData);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  const std::span<const std::uint8_t> file = in.Rest();
  const std::string path = WriteFuzzFile("job.pqx", file);

  // Refused at its end first; a file that passes then opens.
  const TJobRecords before = TJobRecords::Take();
  MarkImages();
  std::uint8_t result = ReadProjectFile(path, [] { return false; });
  FUZZ_CHECK(FuzzPrompts().Infos == 1);  // every result is told once
  FUZZ_CHECK(result != kProjectOpenOk && TJobRecords::Take() == before && ImagesStillMarked());
  if (result != kProjectNotPlaced) {
    CheckImagesOutsideAreas();
    return 0;
  }
  FuzzPrompts().Reset(0);
  result = ReadProjectFile(path, [] { return true; });
  FUZZ_CHECK(result == kProjectOpenOk && FuzzPrompts().Infos == 1);
  // The job now fills both whole images: its data, then its blank value.
  WidenTouchedAreas(kMainFlashImageSize, kEepImageSize);
  FUZZ_CHECK(ObjectState.MainDataLength <= kMainFlashImageSize);
  const TProjectDecoding opened = DecodeProjectFile(file);
  FUZZ_CHECK(opened.Result == kProjectOpenOk);
  const std::size_t mainData = opened.Content.MainData.size();
  FUZZ_CHECK(std::memcmp(MemoryImages.MainFlashImage, opened.Content.MainData.data(), mainData) == 0);
  ApplyChipDataBlock();
  FUZZ_CHECK(AllBytesAre(std::span(MemoryImages.MainFlashImage).subspan(mainData),
                         ProjectBlankValue(SelectedChip.ControlBytes.VoltageFlags)));
  CheckSavedAgain(opened.Content);
  CheckImagesOutsideAreas(kWritesChipData);
  return 0;
}
