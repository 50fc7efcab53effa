#include "data/object_load.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <span>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/binary_load.h"
#include "data/file_input.h"
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
constexpr std::uint64_t kWholeFile = std::numeric_limits<std::uint64_t>::max();

// The address, then the area's bounds.
using TOffsetRefusal = TTextFormat<std::uint32_t, std::uint32_t, std::uint32_t>;

std::uint8_t BlankValue() { return SelectedChip.BlankIsZero ? 0x00 : 0xFF; }

// Where a binary file goes: the address typed and the room from there.
struct TBinaryTarget {
  std::uint32_t Address = 0;
  TBinaryPlace Place{};
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
  target.Place = place;
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

// What reading a HEX or S-record file may change, kept so that a file the
// operator aborts, or one that places no data, leaves the job as it was.
class TKeptJob {
 public:
  TKeptJob()
      : main_(Copy(MemoryImages.MainFlashImage)),
        eep_(Copy(MemoryImages.EepImage)),
        aux_(Copy(MemoryImages.AuxAreaImage)),
        option_(Copy(MemoryImages.OptionImage)),
        object_(ObjectState) {}

  void Restore() const {
    std::ranges::copy(main_, MemoryImages.MainFlashImage);
    std::ranges::copy(eep_, MemoryImages.EepImage);
    std::ranges::copy(aux_, MemoryImages.AuxAreaImage);
    std::ranges::copy(option_, MemoryImages.OptionImage);
    ObjectState = object_;
  }

 private:
  template <std::size_t N>
  static std::vector<std::uint8_t> Copy(const std::uint8_t (&image)[N]) {
    return std::vector<std::uint8_t>(image, image + N);
  }

  std::vector<std::uint8_t> main_, eep_, aux_, option_;
  TObjectState object_;
};

// Reads a HEX or S-record file into the images, after blank() has blanked
// what the load blanks. The areas its data records went to; empty when the
// operator aborted it or it placed no data, which one log line (and for a
// file without data, one box) says, and then the job is as it was.
std::optional<TAreaSet> ReadRecordFile(const TAcceptedFile& accepted, const std::string& fileName,
                                       const std::function<void()>& blank, std::uint32_t& lowest,
                                       std::uint32_t& highest, std::uint32_t& sum) {
  const TKeptJob kept;
  blank();
  const std::string_view text = accepted.File.Bytes;
  TAreaSet placed = 0;
  const TObjectFileStatus status = accepted.Kind == TObjectFileKind::IntelHex
                                       ? LoadHexFile(text, lowest, highest, sum, placed)
                                       : LoadSRecFile(text, lowest, highest, sum, placed);
  if (status == TObjectFileStatus::Read && placed != 0) return placed;
  kept.Restore();
  if (status == TObjectFileStatus::Aborted) {
    AddLog(FormatText(TTextId::LoadAbortedFormat, fileName.c_str()));
  } else {
    LogAndShow(FormatText(TTextId::NoDataPlacedFormat, fileName.c_str()));
  }
  return std::nullopt;
}

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

bool BinaryRunsIntoEep() { return (SelectedChip.ControlBytes.EraseFlags & kBinaryIntoEep) != 0; }

// The binary path of an object file, once the file has been read.
void StoreMainBinary(const TFileContent& file, const TBinaryTarget& target) {
  const TSelectedChip& chip = SelectedChip;
  TObjectState& object = ObjectState;
  object.BinOffsetAddress = static_cast<std::int32_t>(target.Address - chip.MainStart);  // an image index from here on
  const TBinaryLoadStatus status =
      StoreBinaryAt(file, target.Address, target.Place, object.ObjectStart, object.ObjectEnd, object.FileChecksum);
  if (BinaryRunsIntoEep() && object.ObjectEnd > chip.MainEnd) CopyDataFlashPart();
  if (status == TBinaryLoadStatus::TooLong) LogAndShow(Text(TTextId::OutOfFlashText));
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

void BlankObjectImages() {
  FillBytes(MemoryImages.EepImage, kEepImageSize, BlankValue());
  FillBytes(MemoryImages.MainFlashImage, kMainFlashImageSize, BlankValue());
}

}  // namespace

bool LoadObjectData(const std::string& fileName, TObjectLoadMode mode, const TAskBinaryOffset& askBinaryOffset) {
  const TSelectedChip& chip = SelectedChip;
  const TBinaryPlace binaryPlace{chip.MainStart, BinaryRunsIntoEep() ? chip.EepEnd : chip.MainEnd,
                                 MemoryImages.MainFlashImage};
  const std::optional<TAcceptedFile> accepted = AcceptFile(fileName, ObjectFileKindOf(fileName), askBinaryOffset,
                                                           binaryPlace, TTextId::OffsetOutOfFlashFormat);
  if (!accepted) return false;

  TObjectState& object = ObjectState;
  // What every load starts from; a record file is read before anything is
  // said of it, since the operator may still abort it or it may place nothing.
  const auto start = [&] {
    if (mode == TObjectLoadMode::Fresh) BlankObjectImages();
    object.ObjectLoaded = 1;
    object.LoadedDataEnd = chip.MainStart;
  };
  if (accepted->Kind == TObjectFileKind::Binary) {
    AddLog(FormatText(TTextId::FileLoadedFormat, fileName.c_str()));
    AddMemoLine("");
    start();
    StoreMainBinary(accepted->File, accepted->Binary);
  } else {
    if (!ReadRecordFile(*accepted, fileName, start, object.ObjectStart, object.ObjectEnd, object.FileChecksum))
      return false;
    AddLog(FormatText(TTextId::FileLoadedFormat, fileName.c_str()));
    AddMemoLine("");
  }
  if (mode == TObjectLoadMode::Fresh) SessionTexts.ChipText2 = std::filesystem::path(fileName).filename().string();
  if (chip.ChipFamilyIndex == kCrcFamilyIndex) LogObjectCrc32();

  ComputeMainDataLength();
  AddMemoLine("");
  AddLog(FormatText(TTextId::ObjectStartFormat, object.ObjectStart));
  AddLog(FormatText(TTextId::ObjectEndFormat, object.ObjectEnd));
  AddLog(FormatText(TTextId::ObjectSumFormat, object.FileChecksum));
  LogProgrammedSize();
  return true;
}

std::optional<TAreaSet> LoadEepData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset) {
  const TSelectedChip& chip = SelectedChip;
  const std::optional<TAcceptedFile> accepted =
      AcceptFile(fileName, EepFileKindOf(fileName), askBinaryOffset, {chip.EepStart, chip.EepEnd, EepAreaBytes()},
                 TTextId::OffsetOutOfEepFormat);
  if (!accepted) return std::nullopt;

  const auto blank = [&] { FillBytes(MemoryImages.EepImage, chip.EepSize, BlankValue()); };
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  TAreaSet placed = AreaBit(TRecordArea::Eep);
  if (accepted->Kind == TObjectFileKind::Binary) {
    AddLog(FormatText(TTextId::EepFileLoadedFormat, fileName.c_str()));
    blank();
    const TBinaryTarget& binary = accepted->Binary;
    if (StoreBinaryAt(accepted->File, binary.Address, binary.Place, start, end, ObjectState.EepFileSum) ==
        TBinaryLoadStatus::TooLong)
      LogAndShow(Text(TTextId::OutOfEepText));
  } else {
    const std::optional<TAreaSet> read = ReadRecordFile(*accepted, fileName, blank, start, end, ObjectState.EepFileSum);
    if (!read) return std::nullopt;
    AddLog(FormatText(TTextId::EepFileLoadedFormat, fileName.c_str()));
    placed |= *read;
  }
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
