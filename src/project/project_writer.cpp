#include <algorithm>
#include <array>
#include <span>

#include "data/log_lines.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "data/random.h"
#include "data/run_settings.h"
#include "link/parameter_block.h"
#include "platform/file_bytes.h"
#include "project/project_bytes.h"
#include "project/project_file.h"
#include "project/project_format.h"
#include "project/project_sizes.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

// Why the job cannot be saved; empty when it can.
std::string JobRefusal() {
  const TSelectedChip& chip = SelectedChip;
  const std::string sizes =
      CheckProjectSizes({chip.MainSize, chip.EepSize, ObjectState.MainDataLength, chip.MainStart});
  if (!sizes.empty()) return sizes;
  return CheckEepFits(MemoryImages.EepImage, ObjectState.EepDataLength,
                      ProjectBlankValue(chip.ControlBytes.VoltageFlags));
}

void WriteHeader(TProjectWriter& w, std::uint8_t modelCode, std::span<const std::uint8_t> pad) {
  const TSelectedChip& chip = SelectedChip;
  const TProgramSettings& settings = ProgramSettings;
  const TObjectState& object = ObjectState;
  w.PrjWriteString(kProjectMagic, 0, 0);
  w.PrjWriteByte(kProjectVersion);
  w.PrjWriteByte(chip.ChipCode);
  w.PrjWriteString(ModelNameForCode(modelCode), kModelNameWidth, kProjectTextKey);
  w.PrjWriteString(SessionTexts.ChipName, kChipNameWidth, kProjectTextKey);
  w.PrjWriteString(SessionTexts.ChipText2, kChipText2Width, kProjectTextKey);
  w.PrjWriteZeros(32, 0);
  w.PrjWriteLongWord(object.ChipChecksum);
  w.PrjWriteLongWord(object.FileChecksum);
  w.PrjWriteLongWord(object.EepFileSum);
  w.PrjWriteZeros(20, 0);
  w.PrjWriteLongWord(settings.CountLimit);
  w.PrjWriteLongWord(object.ObjectStart);
  w.PrjWriteLongWord(object.ObjectEnd);
  w.PrjWriteWord(settings.SnGain);
  w.PrjWriteZeros(86, 0);
  w.PrjWriteByte(settings.ProjectOptionBits);
  w.PrjWriteByte(chip.ChipFamilyIndex);
  w.PrjWriteLongWord(chip.MainSize);
  w.PrjWriteLongWord(chip.EepSize);
  w.PrjWriteLongWord(object.MainDataLength);
  w.PrjWriteZeros(10, 0);
  w.PrjWriteLongWord(chip.MainStart);
  w.PrjWriteLongWord(chip.EepStart);
  w.PrjWriteLongWord(chip.OptionStart);
  w.PrjWriteLongWord(chip.AuxStart);
  w.PrjWriteZeros(10, 0);
  for (const std::uint16_t sum : {object.MainSumLow, object.MainSum16, object.EepSumLow, object.EepSum16,
                                  object.OptionSum, object.OptionSum16})
    w.PrjWriteLongWord(sum);
  w.PrjWriteZeros(24, 0);
  for (const std::uint8_t b : pad.first(kProjectPadStored)) w.PrjWriteByte(b);
}

// The chip-data block as programmer 1 would receive it in a download
// started now, then 512 zero bytes.
void WriteCfgSection(TProjectWriter& w, std::span<const std::uint8_t> pad) {
  w.PrjWriteString(kCfgTag, 0, kCfgTagKey);
  const std::uint8_t kc = RandomByte();
  w.PrjWriteByte(kc);
  BuildChipDataBlock(CurrentRunSettings(false), 0);
  std::array<std::uint8_t, kCfgDataSize> cfg{};
  std::copy_n(CommBuffers.PacketBuffers[0] + kChipDataBlockPosition, kChipDataBlockFormatSize, cfg.begin());
  for (std::size_t i = 0; i < cfg.size(); ++i) w.PrjWriteByte(cfg[i] ^ pad[i] ^ kc);
}

std::vector<std::uint8_t> EncodeJob(std::uint8_t modelCode) {
  std::array<std::uint8_t, kProjectPadSize> pad;
  for (std::uint8_t& b : pad) b = RandomByte();
  const std::span<const std::uint8_t> main(MemoryImages.MainFlashImage, ObjectState.MainDataLength);
  const std::uint32_t eepDataLength = ObjectState.EepDataLength;
  const std::span<const std::uint8_t> eep(MemoryImages.EepImage, EepStoredLength(eepDataLength));

  TProjectWriter w;
  w.Reserve(ProjectFileSize(main.size(), eep.size()));
  WriteHeader(w, modelCode, pad);
  WriteCfgSection(w, pad);
  w.PrjWriteString(kMfmTag, 0, kMfmTagKey);
  PrjWriteRunCoded(w, main, pad);
  w.PrjWriteString(kEepTag, 0, kEepTagKey);
  w.PrjWriteLongWord(eepDataLength);
  if (eepDataLength != 0) PrjWriteRunCoded(w, eep, pad);
  // The sum covers every byte before it, not itself.
  const std::uint32_t sum = w.ProjectSum();
  w.PrjWriteLongWord(sum);
  w.PrjWriteRandom(kProjectTailSize);
  return w.TakeBytes();
}

}  // namespace

bool WriteProjectFile(const std::string& fileName, std::uint8_t modelCode) {
  if (const std::string refusal = JobRefusal(); !refusal.empty()) {
    const std::string message = FormatText(TTextId::ProjectNotSavedFormat, refusal.c_str());
    Prompts().ShowInfo(message);
    AddLog(message);
    return false;
  }
  ReplaceFileBytes(fileName, EncodeJob(modelCode));
  const std::string message = Text(TTextId::ProjectCreatedText) + fileName;
  Prompts().ShowInfo(message);
  AddLog(message);
  return true;
}
