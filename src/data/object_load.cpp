#include "data/object_load.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>

#include "data/binary_load.h"
#include "data/file_input.h"
#include "data/hex_file.h"
#include "data/image_sums.h"
#include "data/job_copy.h"
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
constexpr std::uint64_t kWholeFile = std::numeric_limits<std::uint64_t>::max();

// The address, then the area's bounds.
using TOffsetRefusal = TTextFormat<std::uint32_t, std::uint32_t, std::uint32_t>;

std::uint8_t BlankValue() { return SelectedChip.BlankIsZero ? 0x00 : 0xFF; }

bool BinaryRunsIntoEep() { return (SelectedChip.ControlBytes.EraseFlags & kBinaryIntoEep) != 0; }

// Where a binary object file may go, in a main image (the job's or a copy's):
// the main area, or on to EepEnd for a chip whose binary files run on into
// its data flash.
TBinaryPlace MainBinaryPlace(std::span<std::uint8_t> main) {
  const TSelectedChip& chip = SelectedChip;
  return {chip.MainStart, BinaryRunsIntoEep() ? chip.EepEnd : chip.MainEnd, main};
}

// Where a binary EEP data file may go, in an EEP image: the EEP area.
TBinaryPlace EepBinaryPlace(std::span<std::uint8_t> eep) {
  return {SelectedChip.EepStart, SelectedChip.EepEnd, EepAreaBytes(eep)};
}

// Where a binary file goes: the address typed and the room from there.
struct TBinaryTarget {
  std::uint32_t Address = 0;
  std::uint32_t Room = 0;
};

// A file that passed the checks every load makes before it changes anything.
struct TAcceptedFile {
  TObjectFileKind Kind;
  TBinaryTarget Binary;  // of a binary file
  TFileContent File;     // all of a HEX or S-record file, the room's worth of a binary one
};

// Offers the place's start in the offset dialog and takes the address it
// leaves; refused (false) when the place has no room there.
bool AskBinaryTarget(const TAskBinaryOffset& askBinaryOffset, const TBinaryPlace& place, TOffsetRefusal refusal,
                     TBinaryTarget& target) {
  ObjectState.BinOffsetAddress = static_cast<std::int32_t>(place.AreaStart);
  askBinaryOffset();
  target.Address = static_cast<std::uint32_t>(ObjectState.BinOffsetAddress);
  target.Room = BinaryRoom(target.Address, place);
  if (target.Room > 0) return true;
  LogAndShow(FormatText(refusal, target.Address, place.AreaStart, place.AreaEnd));
  return false;
}

// The checks, in this order: a reader for the extension, room at the binary
// address typed, a file that can be read (else the system's reason) and is
// not empty. Empty when refused.
std::optional<TAcceptedFile> AcceptFile(const std::string& fileName, TObjectFileKind kind,
                                        const TAskBinaryOffset& askBinaryOffset, const TBinaryPlace& binaryPlace,
                                        TOffsetRefusal refusal) {
  if (kind == TObjectFileKind::Unknown) {
    LogAndShow(Text(TTextId::FormatErrorText));
    return std::nullopt;
  }
  TAcceptedFile accepted{kind, {}, {}};
  std::uint64_t maxBytes = kWholeFile;
  if (kind == TObjectFileKind::Binary) {
    if (!AskBinaryTarget(askBinaryOffset, binaryPlace, refusal, accepted.Binary)) return std::nullopt;
    maxBytes = accepted.Binary.Room;
  }
  TFileContent& file = accepted.File;
  file = ReadFileContent(fileName, maxBytes);
  if (file.Error) {
    LogAndShow(std::system_error(file.Error, fileName).what());
    return std::nullopt;
  }
  if (file.Size == 0) {
    LogAndShow(FormatText(TTextId::EmptyFileFormat, fileName.c_str()));
    return std::nullopt;
  }
  return accepted;
}

// A box inside a load; the load then asks again whether it may change the job.
bool ToldAndMayPlace(const std::string& text, const TMayPlace& mayPlace) {
  LogAndShow(text);
  return mayPlace();
}

// Reads a HEX or S-record file into the copy, with the line and address boxes
// the file calls for, and takes the fields its records set there. Its totals;
// empty when the operator aborted it or it placed no data, which one log line
// (and for a file without data, one box) says, or when mayPlace refused it.
std::optional<TRecordTotals> ReadRecordFile(const TAcceptedFile& accepted, const std::string& fileName,
                                            TJobCopy& copy, const TMayPlace& mayPlace) {
  const std::string_view text = accepted.File.Bytes;
  const TRecordFileRead read = accepted.Kind == TObjectFileKind::IntelHex ? LoadHexFile(text, copy.Images())
                                                                          : LoadSRecFile(text, copy.Images());
  const TRecordTotals& totals = read.Totals;
  if (read.Status == TObjectFileStatus::Aborted) {
    AddLog(FormatText(TTextId::LoadAbortedFormat, fileName.c_str()));
    // Nothing is loaded either way; a programmer that started during the
    // line box is still named, as at the end of every load.
    mayPlace();
    return std::nullopt;
  }
  if (totals.Placed == 0) {
    LogAndShow(FormatText(TTextId::NoDataPlacedFormat, fileName.c_str()));
    return std::nullopt;
  }
  if (!mayPlace()) return std::nullopt;
  TObjectState& object = copy.Object();
  if (totals.Placed & AreaBit(TRecordArea::Option)) object.OptionLoaded = 1;
  if (totals.Placed & ~AreaBit(TRecordArea::Option)) object.LoadedDataEnd = totals.DataEnd;
  return totals;
}

// The part of a main image at the data flash's addresses into the EEP image,
// for a binary file that ran on past the main flash.
void CopyDataFlashPart(const TAreaImages& images) {
  const TSelectedChip& chip = SelectedChip;
  if (chip.EepStart < chip.MainStart) return;
  const std::span<const std::uint8_t> main = images.Main;
  const std::size_t from = chip.EepStart - chip.MainStart;
  if (from >= main.size()) return;
  const std::span<std::uint8_t> eep = EepAreaBytes(images.Eep);
  std::copy_n(main.begin() + static_cast<std::ptrdiff_t>(from), std::min(eep.size(), main.size() - from),
              eep.begin());
}

// A binary file into the copy at the address typed; the fields it sets there.
TBinaryStore StoreBinary(const TAcceptedFile& accepted, const TBinaryPlace& place, TJobCopy& copy) {
  const TBinaryStore stored = StoreBinaryAt(accepted.File, accepted.Binary.Address, place);
  copy.Object().LoadedDataEnd = LastByteIndex(accepted.File.Size);
  return stored;
}

// The binary path of an object file into the copy, once the file has been
// read; false when mayPlace refused it after the box of a file too long.
bool StoreMainBinary(const TAcceptedFile& accepted, TJobCopy& copy, const TMayPlace& mayPlace) {
  const TSelectedChip& chip = SelectedChip;
  TObjectState& object = copy.Object();
  const TAreaImages images = copy.Images();
  object.BinOffsetAddress = static_cast<std::int32_t>(accepted.Binary.Address - chip.MainStart);  // an image index
  const TBinaryStore stored = StoreBinary(accepted, MainBinaryPlace(images.Main), copy);
  object.ObjectStart = stored.First;
  object.ObjectEnd = stored.Last;
  object.FileChecksum = stored.Sum;
  if (BinaryRunsIntoEep() && object.ObjectEnd > chip.MainEnd) CopyDataFlashPart(images);
  return stored.Status == TBinaryLoadStatus::Read || ToldAndMayPlace(Text(TTextId::OutOfFlashText), mayPlace);
}

void LogObjectCrc32() {
  TObjectState& object = ObjectState;
  object.ObjectCrc32 =
      Crc32Range(MemoryImages.MainFlashImage, object.ObjectStart & kCrcAddressMask, object.ObjectEnd & kCrcAddressMask);
  AddLog(FormatText(TTextId::ObjectCrc32Format, object.ObjectCrc32));
}

void LogProgrammedSize() {
  const std::uint32_t length = ObjectState.MainDataLength;
  AddLog(FormatText(TTextId::ProgrammedSizeFormat, static_cast<int>(length), length - 1));
}

}  // namespace

bool LoadObjectData(const std::string& fileName, TObjectLoadMode mode, const TAskBinaryOffset& askBinaryOffset,
                    const TMayPlace& mayPlace) {
  const TSelectedChip& chip = SelectedChip;
  const std::optional<TAcceptedFile> accepted = AcceptFile(
      fileName, ObjectFileKindOf(fileName), askBinaryOffset, MainBinaryPlace(JobImages().Main),
      TTextId::OffsetOutOfFlashFormat);
  if (!accepted) return false;

  // What every load starts from, in the copy.
  TJobCopy copy;
  if (mode == TObjectLoadMode::Fresh) {
    const TAreaImages images = copy.Images();
    FillBytes(images.Eep, kEepImageSize, BlankValue());
    FillBytes(images.Main, kMainFlashImageSize, BlankValue());
  }
  copy.Object().ObjectLoaded = 1;
  copy.Object().LoadedDataEnd = chip.MainStart;
  if (accepted->Kind == TObjectFileKind::Binary) {
    // A programmer may have started while the offset dialog was open.
    if (!mayPlace()) return false;
    AddLog(FormatText(TTextId::FileLoadedFormat, fileName.c_str()));
    AddMemoLine("");
    if (!StoreMainBinary(*accepted, copy, mayPlace)) return false;
  } else {
    // Read before anything is said of it: the operator may still abort it at
    // a line box, or it may place nothing.
    const std::optional<TRecordTotals> totals = ReadRecordFile(*accepted, fileName, copy, mayPlace);
    if (!totals) return false;
    TObjectState& object = copy.Object();
    object.ObjectStart = totals->Lowest;
    object.ObjectEnd = totals->Highest;
    object.FileChecksum = totals->Sum;
    AddLog(FormatText(TTextId::FileLoadedFormat, fileName.c_str()));
    AddMemoLine("");
  }
  copy.PutInPlace();
  if (mode == TObjectLoadMode::Fresh) SessionTexts.ChipText2 = std::filesystem::path(fileName).filename().string();
  if (chip.ChipFamilyIndex == kCrcFamilyIndex) LogObjectCrc32();

  const TObjectState& object = ObjectState;
  ComputeMainDataLength();
  AddMemoLine("");
  AddLog(FormatText(TTextId::ObjectStartFormat, object.ObjectStart));
  AddLog(FormatText(TTextId::ObjectEndFormat, object.ObjectEnd));
  AddLog(FormatText(TTextId::ObjectSumFormat, object.FileChecksum));
  LogProgrammedSize();
  return true;
}

std::optional<TAreaSet> LoadEepData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset,
                                    const TMayPlace& mayPlace) {
  const TSelectedChip& chip = SelectedChip;
  const std::optional<TAcceptedFile> accepted = AcceptFile(
      fileName, EepFileKindOf(fileName), askBinaryOffset, EepBinaryPlace(JobImages().Eep), TTextId::OffsetOutOfEepFormat);
  if (!accepted) return std::nullopt;

  // What every EEP load starts from, in the copy.
  TJobCopy copy;
  const TAreaImages images = copy.Images();
  FillBytes(images.Eep, chip.EepSize, BlankValue());
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  TAreaSet placed = AreaBit(TRecordArea::Eep);
  if (accepted->Kind == TObjectFileKind::Binary) {
    // A programmer may have started while the offset dialog was open.
    if (!mayPlace()) return std::nullopt;
    AddLog(FormatText(TTextId::EepFileLoadedFormat, fileName.c_str()));
    const TBinaryStore stored = StoreBinary(*accepted, EepBinaryPlace(images.Eep), copy);
    start = stored.First;
    end = stored.Last;
    copy.Object().EepFileSum = stored.Sum;
    if (stored.Status == TBinaryLoadStatus::TooLong && !ToldAndMayPlace(Text(TTextId::OutOfEepText), mayPlace))
      return std::nullopt;
  } else {
    const std::optional<TRecordTotals> totals = ReadRecordFile(*accepted, fileName, copy, mayPlace);
    if (!totals) return std::nullopt;
    start = totals->Lowest;
    end = totals->Highest;
    copy.Object().EepFileSum = totals->Sum;
    AddLog(FormatText(TTextId::EepFileLoadedFormat, fileName.c_str()));
    placed |= totals->Placed;
  }
  copy.PutInPlace();
  AddMemoLine("");
  AddLog(FormatText(TTextId::EepFileStartFormat, start));
  AddLog(FormatText(TTextId::EepFileEndFormat, end));
  AddLog(FormatText(TTextId::EepFileSumFormat, ObjectState.EepFileSum));
  // Records in the main area change what gets programmed there.
  if (placed & AreaBit(TRecordArea::Main)) {
    ComputeMainDataLength();
    LogProgrammedSize();
  }
  return placed;
}

void ComputeChipChecksum() {
  TObjectState& object = ObjectState;
  object.ChipChecksum = object.MainSum + (SelectedChip.EepSize > 0 ? object.EepSum : 0);
  AddLog(FormatText(TTextId::ChipSumFormat, object.ChipChecksum));
}
