#include <algorithm>
#include <span>

#include "chips/family_areas.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "platform/file_bytes.h"
#include "project/project_decoder.h"
#include "project/project_file.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

// VoltageFlags inside the chip-data block: block offset 4 of the parameter
// block, which keeps the control bytes from its offset 32.
constexpr std::size_t kBlockVoltageFlags = 4 + 32 + 1;

// The data at the image's start, the blank value after it.
void CopyAndBlankRest(std::span<const std::uint8_t> data, std::span<std::uint8_t> image, std::uint8_t blank) {
  std::fill(std::ranges::copy(data, image.begin()).out, image.end(), blank);
}

// The decoded file replaces the job: header fields, area bounds that the
// file does not store, the chip-data block and both images. Bytes past those
// stored are blanked with the project's blank value, so nothing of the
// previous job (or of start-up's 0xFF) is left for a later scan of the used
// length to take into the programmed range.
void Commit(const TProjectContent& c) {
  const TProjectHeader& h = c.Header;
  TSelectedChip& chip = SelectedChip;
  TObjectState& object = ObjectState;
  SessionTexts.ModelName = h.ModelName;
  SessionTexts.ChipName = h.ChipName;
  SessionTexts.ChipText2 = h.ChipText2;
  chip.ChipCode = h.ChipCode;
  object.ChipChecksum = h.ChipChecksum;
  object.FileChecksum = h.FileChecksum;
  object.EepFileSum = h.EepFileSum;
  object.ObjectStart = h.ObjectStart;
  object.ObjectEnd = h.ObjectEnd;
  ProgramSettings.SnGain = h.SnGain;
  ProgramSettings.ProjectOptionBits = h.ProjectOptionBits;
  chip.ChipFamilyIndex = h.ChipFamilyIndex;
  chip.MainSize = h.MainSize;
  chip.EepSize = h.EepSize;
  object.MainDataLength = h.MainDataLength;
  chip.MainStart = h.MainStart;
  chip.EepStart = h.EepStart;
  chip.OptionStart = h.OptionStart;
  chip.OptionEnd = FamilyOptionArea(h.ChipFamilyIndex).End;
  chip.AuxStart = h.AuxStart;
  chip.AuxEnd = kNoArea.End;
  object.MainSumLow = h.MainSumLow;
  object.MainSum16 = h.MainSum16;
  object.EepSumLow = h.EepSumLow;
  object.EepSum16 = h.EepSum16;
  object.OptionSum = h.OptionSum;
  object.OptionSum16 = h.OptionSum16;

  std::ranges::copy(c.ChipData, MemoryImages.ChipDataBlock);
  const std::uint8_t blank = ProjectBlankValue(c.ChipData[kBlockVoltageFlags]);
  CopyAndBlankRest(c.MainData, MemoryImages.MainFlashImage, blank);
  object.EepDataLength = c.EepDataLength;
  CopyAndBlankRest(c.EepData, MemoryImages.EepImage, blank);
}

}  // namespace

std::uint8_t ReadProjectFile(const std::string& fileName, const TMayPlace& mayPlace) {
  const TProjectDecoding decoding = DecodeProjectFile(ReadFileBytes(fileName, kProjectFileMaxSize));
  switch (decoding.Result) {
    case kProjectOpenOk:
      LogAndShow(Text(TTextId::ProjectOpenSuccessText));
      // A programmer may have started while the box was open.
      if (!mayPlace()) return kProjectNotPlaced;
      Commit(decoding.Content);
      break;
    case kProjectBadMagic:
      LogAndShow(Text(TTextId::ProjectNotValidText));
      break;
    case kProjectDamaged:
      LogAndShow({FormatText(TTextId::ProjectCheckFailedFormat, decoding.Reason.c_str()),
                  FormatText(TTextId::ProjectDamagedFormat, fileName.c_str())});
      break;
    default:
      LogAndShow(Text(TTextId::ProjectCorruptedText));
      break;
  }
  return decoding.Result;
}
