#include "fuzz_support.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "chips/chip_choice.h"
#include "data/program_state.h"
#include "data/random.h"
#include "link/gauge.h"

namespace {

struct TFuzzChip {
  std::uint8_t Vendor;
  std::uint8_t Row;
};

constexpr TFuzzChip kChips[] = {
    {6, 3},   // BAT32G133GC20xx: 32 KB at 0, 1.5 KB EEP at 0x500000
    {3, 0},   // AU301LDF51xx: EEP and option bytes, binary files run on into the EEP, CRC-32 logged
    {5, 0},   // LCP037AKxxx: 32 KB at 0x08000000 and option bytes
    {4, 0},   // MR88F005BI: 64 KB and EEP at 0x1FFFE000
    {2, 0},   // ML630Q464: 32 KB at 0x10000000, EEP at 0x18000000
    {7, 0},   // SN32F774xx: blank is 0x00, an EEP of size 0
    {10, 2},  // SA32B12xx: 128 KB, 128 KB EEP at 0x20020000
};

constexpr std::uint8_t kStartupBlank = 0xFF;  // the main and EEP images outside the areas
constexpr std::size_t kRunOn = 256;           // a record may run on past its area's end
constexpr std::size_t kGuardWindow = 4096;
constexpr std::uint8_t kImageMark = 0xA5;  // neither blank value

class TCountingMemo final : public ILogMemo {
 public:
  void AddLine(const std::string&) override { ++Lines; }
  unsigned long Lines = 0;
};

class TFixedClock final : public IClock {
 public:
  TClockTime Now() const override { return {2024, 5, 6, 10, 21, 7}; }
};

TFuzzPrompts prompts;
TCountingMemo memo;
TFixedClock fixedClock;
TGauge gauges[kProgrammerMax];
std::size_t touchedMain = 0;  // bytes from index 0 of the images that the current chip's areas reach
std::size_t touchedEep = 0;
std::uint8_t outsideBlank = kStartupBlank;  // what the images hold outside the areas
unsigned long checks = 0;

std::size_t Capped(std::uint64_t n, std::size_t size) { return static_cast<std::size_t>(std::min<std::uint64_t>(n, size)); }

// Bytes of the main image a load may fill: the main area, or up to the EEP's
// end for a chip whose binary files run on into it, plus a record's run-on.
std::size_t MainReach() {
  const TSelectedChip& c = SelectedChip;
  std::uint64_t end = c.MainEnd;
  if ((c.ControlBytes.EraseFlags & 0x80) && c.EepEnd > end) end = c.EepEnd;
  return Capped(end - c.MainStart + 1 + kRunOn + c.MainBaseOffset, kMainFlashImageSize);
}

std::size_t EepReach() { return Capped(std::uint64_t{SelectedChip.EepSize} + kRunOn, kEepImageSize); }

void Reblank(std::uint8_t* image, std::size_t& touched, std::size_t reach, std::uint8_t blank) {
  if (touched > reach) std::memset(image + reach, kStartupBlank, touched - reach);
  std::memset(image, blank, reach);
  touched = reach;
}

void SetUpOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  ResetProgramState();
  std::memset(MemoryImages.MainFlashImage, kStartupBlank, kMainFlashImageSize);
  std::memset(MemoryImages.EepImage, kStartupBlank, kEepImageSize);
  SetPrompts(&prompts);
  SetClock(&fixedClock);
}

}  // namespace

std::uint8_t TFuzzInput::Byte() {
  if (data_.empty()) return 0;
  const std::uint8_t b = data_[0];
  data_ = data_.subspan(1);
  return b;
}

std::uint32_t TFuzzInput::Word32() {
  std::uint32_t w = 0;
  for (int i = 0; i < 4; ++i) w |= std::uint32_t{Byte()} << (8 * i);
  return w;
}

std::span<const std::uint8_t> TFuzzInput::Take(std::size_t count) {
  const std::span<const std::uint8_t> part = data_.first(std::min(count, data_.size()));
  data_ = data_.subspan(part.size());
  return part;
}

TFuzzPrompts& FuzzPrompts() { return prompts; }

std::size_t FuzzChipCount() { return std::size(kChips); }

void StartFuzzInput(std::uint8_t which) {
  SetUpOnce();
  std::memset(&SelectedChip, 0, sizeof SelectedChip);
  std::memset(&ProgramSettings, 0, sizeof ProgramSettings);
  std::memset(&ObjectState, 0, sizeof ObjectState);
  std::memset(&ProgrammerState, 0, sizeof ProgrammerState);
  std::memset(&SessionState, 0, sizeof SessionState);
  SessionTexts = TSessionTexts{};
  SessionTexts.AppDir = FuzzFolder();
  SessionTexts.InfoMemoRef = &memo;
  ResetRandom();
  prompts.Reset(0);
  for (TGauge& g : gauges) g = TGauge{};

  TProgrammerBindings bindings;
  for (int ch = 0; ch < kProgrammerMax; ++ch) bindings.Gauges[ch] = &gauges[ch];
  // What the window's chip-view set-up leaves, but for blanking the whole
  // images: only the areas are blanked below, the rest stays as it was.
  std::memset(MemoryImages.OptionImage, 0, kOptionImageSize);
  SessionState.ReadLength = 64;
  ProgramSettings.SnAddress = 0xFFFFFF;
  InitGlobalSettings(bindings);
  const TFuzzChip& chip = kChips[which % std::size(kChips)];
  FUZZ_CHECK(AcceptChipChoice(chip.Vendor, chip.Row));

  if (outsideBlank != kStartupBlank) {
    std::memset(MemoryImages.MainFlashImage, kStartupBlank, kMainFlashImageSize);
    std::memset(MemoryImages.EepImage, kStartupBlank, kEepImageSize);
    outsideBlank = kStartupBlank;
  }
  const std::uint8_t blank = SelectedChip.BlankIsZero ? 0x00 : 0xFF;
  Reblank(MemoryImages.MainFlashImage, touchedMain, MainReach(), blank);
  Reblank(MemoryImages.EepImage, touchedEep, EepReach(), blank);
  std::memset(MemoryImages.AuxAreaImage, blank, kAuxAreaImageSize);
  std::memset(MemoryImages.DriverImage, 0, kDriverImageSize);
  std::memset(MemoryImages.ChipDataBlock, 0, kChipDataBlockSize);
  std::memset(MemoryImages.FirmwareImage, 0, kFirmwareImageSize);
}

void CheckImagesOutsideAreas(unsigned writes) {
  const std::uint8_t* main = MemoryImages.MainFlashImage;
  const std::uint8_t* eep = MemoryImages.EepImage;
  const bool full = ++checks % 1024 == 0;
  const std::size_t mainEnd = full ? kMainFlashImageSize : std::min(touchedMain + kGuardWindow, kMainFlashImageSize);
  const std::size_t eepEnd = full ? kEepImageSize : std::min(touchedEep + kGuardWindow, kEepImageSize);
  FUZZ_CHECK(AllBytesAre({main + touchedMain, mainEnd - touchedMain}, outsideBlank));
  FUZZ_CHECK(AllBytesAre({eep + touchedEep, eepEnd - touchedEep}, outsideBlank));
  if (!full) return;
  if (!(writes & kWritesDriver)) FUZZ_CHECK(AllBytesAre(MemoryImages.DriverImage, 0));
  if (!(writes & kWritesChipData)) FUZZ_CHECK(AllBytesAre(MemoryImages.ChipDataBlock, 0));
  if (!(writes & kWritesFirmware)) FUZZ_CHECK(AllBytesAre(MemoryImages.FirmwareImage, 0));
}

bool AllBytesAre(std::span<const std::uint8_t> bytes, std::uint8_t value) {
  return bytes.empty() || (bytes[0] == value && std::memcmp(bytes.data(), bytes.data() + 1, bytes.size() - 1) == 0);
}

void ImagesBlankedWhole() { outsideBlank = SelectedChip.BlankIsZero ? 0x00 : 0xFF; }

void MarkImages() { MemoryImages.MainFlashImage[0] = MemoryImages.EepImage[0] = kImageMark; }

bool ImagesStillMarked() {
  return MemoryImages.MainFlashImage[0] == kImageMark && MemoryImages.EepImage[0] == kImageMark;
}

void MarkObjectBoundsUnwritten() {
  TObjectState& object = ObjectState;
  object.ObjectStart = object.ObjectEnd = object.FileChecksum = object.EepFileSum = kUnwritten;
}

void WidenTouchedAreas(std::size_t mainBytes, std::size_t eepBytes) {
  touchedMain = std::max(touchedMain, std::min(mainBytes, kMainFlashImageSize));
  touchedEep = std::max(touchedEep, std::min(eepBytes, kEepImageSize));
}

const std::string& FuzzFolder() {
  static const std::string folder = [] {
    // In memory where the machine has it: the file targets write every input.
    std::error_code error;
    std::string name = std::filesystem::is_directory("/dev/shm", error) ? "/dev/shm" : "/tmp";
    name += "/velmot-fuzz-XXXXXX";
    if (!mkdtemp(name.data())) std::abort();
    static const std::string path = name;
    std::atexit([] {
      std::error_code error;
      std::filesystem::remove_all(path, error);
    });
    return path + "/";
  }();
  return folder;
}

std::string WriteFuzzFile(std::string_view name, std::span<const std::uint8_t> bytes) {
  std::string path = FuzzFolder();
  path += name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  if (!bytes.empty()) FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  FUZZ_CHECK(std::fclose(f) == 0);
  return path;
}
