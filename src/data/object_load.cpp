#include "data/object_load.h"

#include <algorithm>
#include <span>

#include "data/binary_load.h"
#include "data/hex_file.h"
#include "data/image_sums.h"
#include "data/log_lines.h"
#include "data/memory_areas.h"
#include "data/object_file.h"
#include "data/object_file_kind.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "data/srec_file.h"
#include "text/format_text.h"

namespace {

constexpr std::uint8_t kCrcFamilyIndex = 3;   // AU30x: the only family that logs the CRC-32
constexpr std::uint8_t kBinaryIntoEep = 0x80;  // EraseFlags: binary files run on into the data flash
constexpr std::uint32_t kCrcAddressMask = 0xFFFFF;

std::uint8_t BlankValue() { return SelectedChip.BlankIsZero ? 0x00 : 0xFF; }

// The part of the main image at the data flash's addresses into EepImage,
// for a binary file that ran on past the main flash.
void CopyDataFlashPart() {
  const TSelectedChip& chip = SelectedChip;
  if (chip.EepStart < chip.MainStart) return;
  const std::span<const std::uint8_t> main(MemoryImages.MainFlashImage);
  const std::size_t from = chip.EepStart - chip.MainStart;
  if (from >= main.size()) return;
  const std::span<std::uint8_t> eep = EepAreaBytes();
  std::copy_n(main.begin() + static_cast<std::ptrdiff_t>(from), std::min(eep.size(), main.size() - from),
              eep.begin());
}

// The binary path of an object file; false when the address was refused.
bool LoadMainBinary(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset) {
  const TSelectedChip& chip = SelectedChip;
  TObjectState& object = ObjectState;
  object.BinOffsetAddress = static_cast<std::int32_t>(chip.MainStart);
  askBinaryOffset();
  const auto address = static_cast<std::uint32_t>(object.BinOffsetAddress);
  object.BinOffsetAddress = static_cast<std::int32_t>(address - chip.MainStart);  // an image index from here on
  const bool intoEep = (chip.ControlBytes.EraseFlags & kBinaryIntoEep) != 0;
  const TBinaryPlace place{chip.MainStart, intoEep ? chip.EepEnd : chip.MainEnd, MemoryImages.MainFlashImage};
  const TBinaryLoadStatus status =
      LoadBinaryAt(fileName, address, place, object.ObjectStart, object.ObjectEnd, object.FileChecksum);
  if (status == TBinaryLoadStatus::OutsideArea) {
    LogAndShow(FormatText(TTextId::OffsetOutOfFlashFormat, address, place.AreaStart, place.AreaEnd));
    return false;
  }
  if (status == TBinaryLoadStatus::NothingRead) return true;
  if (intoEep && object.ObjectEnd > chip.MainEnd) CopyDataFlashPart();
  if (status == TBinaryLoadStatus::TooLong) LogAndShow(Text(TTextId::OutOfFlashText));
  return true;
}

// The binary path of an EEP data file; false when the address was refused.
bool LoadEepBinary(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset, std::uint32_t& start,
                   std::uint32_t& end) {
  const TSelectedChip& chip = SelectedChip;
  ObjectState.BinOffsetAddress = static_cast<std::int32_t>(chip.EepStart);
  askBinaryOffset();
  const auto address = static_cast<std::uint32_t>(ObjectState.BinOffsetAddress);
  const TBinaryPlace place{chip.EepStart, chip.EepEnd, EepAreaBytes()};
  const TBinaryLoadStatus status = LoadBinaryAt(fileName, address, place, start, end, ObjectState.EepFileSum);
  if (status == TBinaryLoadStatus::OutsideArea) {
    LogAndShow(FormatText(TTextId::OffsetOutOfEepFormat, address, chip.EepStart, chip.EepEnd));
    return false;
  }
  if (status == TBinaryLoadStatus::TooLong) LogAndShow(Text(TTextId::OutOfEepText));
  return true;
}

void LogObjectCrc32() {
  TObjectState& object = ObjectState;
  object.ObjectCrc32 =
      Crc32Range(MemoryImages.MainFlashImage, object.ObjectStart & kCrcAddressMask, object.ObjectEnd & kCrcAddressMask);
  AddLog(FormatText(TTextId::ObjectCrc32Format, object.ObjectCrc32));
}

}  // namespace

void BlankObjectImages() {
  FillBytes(MemoryImages.EepImage, kEepImageSize, BlankValue());
  FillBytes(MemoryImages.MainFlashImage, kMainFlashImageSize, BlankValue());
}

void BlankEepArea() { FillBytes(MemoryImages.EepImage, SelectedChip.EepSize, BlankValue()); }

bool LoadObjectData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset) {
  TObjectState& object = ObjectState;
  AddMemoLine("");
  object.ObjectLoaded = 1;
  object.LoadedDataEnd = SelectedChip.MainStart;
  switch (ObjectFileKindOf(fileName)) {
    case TObjectFileKind::IntelHex:
      LoadHexFile(fileName, object.ObjectStart, object.ObjectEnd, object.FileChecksum);
      break;
    case TObjectFileKind::SRecord:
      LoadSRecFile(fileName, object.ObjectStart, object.ObjectEnd, object.FileChecksum);
      break;
    case TObjectFileKind::Binary:
      if (!LoadMainBinary(fileName, askBinaryOffset)) object.ObjectLoaded = 0;
      break;
    case TObjectFileKind::Unknown:
      object.ObjectLoaded = 0;
      LogAndShow(Text(TTextId::FormatErrorText));
      break;
  }
  if (SelectedChip.ChipFamilyIndex == kCrcFamilyIndex) LogObjectCrc32();
  if (!object.ObjectLoaded) return false;

  ComputeMainDataLength();
  AddMemoLine("");
  AddLog(FormatText(TTextId::ObjectStartFormat, object.ObjectStart));
  AddLog(FormatText(TTextId::ObjectEndFormat, object.ObjectEnd));
  AddLog(FormatText(TTextId::ObjectSumFormat, object.FileChecksum));
  AddLog(FormatText(TTextId::ProgrammedSizeFormat, static_cast<int>(object.MainDataLength), object.MainDataLength - 1));
  return true;
}

bool LoadEepData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset) {
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  switch (EepFileKindOf(fileName)) {
    case TObjectFileKind::IntelHex:
      LoadHexFile(fileName, start, end, ObjectState.EepFileSum);
      break;
    case TObjectFileKind::SRecord:
      LoadSRecFile(fileName, start, end, ObjectState.EepFileSum);
      break;
    case TObjectFileKind::Binary:
      if (!LoadEepBinary(fileName, askBinaryOffset, start, end)) return false;
      break;
    case TObjectFileKind::Unknown:
      LogAndShow(Text(TTextId::FormatErrorText));
      return false;
  }
  AddMemoLine("");
  AddLog(FormatText(TTextId::EepFileStartFormat, start));
  AddLog(FormatText(TTextId::EepFileEndFormat, end));
  AddLog(FormatText(TTextId::EepFileSumFormat, ObjectState.EepFileSum));
  return true;
}

void ComputeChipChecksum() {
  TObjectState& object = ObjectState;
  object.ChipChecksum = object.MainSum + (SelectedChip.EepSize > 0 ? object.EepSum : 0);
  AddLog(FormatText(TTextId::ChipSumFormat, object.ChipChecksum));
}
