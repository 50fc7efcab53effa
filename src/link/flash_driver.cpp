#include "link/flash_driver.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <span>
#include <string_view>
#include <system_error>

#include "data/binary_file.h"
#include "data/operator_io.h"
#include "data/packet_checksum.h"
#include "link/byte_order.h"
#include "text/text_id.h"
#include "text/format_text.h"

namespace {

constexpr std::string_view kDriverFolder = "QuorixDRVs/";
constexpr std::string_view kDriverExtension = ".VDR";

// File layout: plain magic, header and key; scrambled from 0x20 on (directory, data, closing bytes).
constexpr std::string_view kDriverMagic = "QVFLSDRV";
constexpr std::size_t kChecksumField = 0x0A;
constexpr std::size_t kLengthField = 0x0C;
constexpr std::size_t kKeyOffset = 0x10;
constexpr std::size_t kScrambledOffset = 0x20;
constexpr std::size_t kDataOffset = 0x40;
constexpr std::uint32_t kFileOverhead = 0x68;  // header, key, directory and closing bytes
constexpr std::uint8_t kScrambleByte = 0x6B;

struct TDriverFileRow {
  std::string_view Prefix;
  std::string_view FileName;
};

// Tried in this order; the first row whose prefix starts the part name
// (case-sensitive) wins. "BAT32A279" serves the listed BAT32A279 parts, which
// "BAT32A237" does not reach; like every BAT32 part they use LDR09.
constexpr TDriverFileRow kDriverFiles[] = {
    {"AC78", "LDR01"},      {"IND832", "LDR02"},   {"IND862", "LDR03"},   {"ML630Q46", "LDR04"},
    {"ML630Q448", "LDR05"}, {"MR88F", "LDR06"},    {"LCP037", "LDR07"},   {"LCM32F0", "LDR07"},
    {"SN32F75", "LDR08"},   {"SN32F76", "LDR08"},  {"SN32F77", "LDR08"},  {"BAT32G12", "LDR09"},
    {"BAT32G13", "LDR09"},  {"BAT32G15", "LDR09"}, {"BAT32G17", "LDR09"}, {"BAT32A237", "LDR09"},
    {"BAT32A239", "LDR09"}, {"BAT32A279", "LDR09"}, {"SPC1168", "LDR10"},  {"SPC1169", "LDR10"},  {"SPD1168", "LDR10"},
    {"SPD1169", "LDR10"},   {"SPD1176", "LDR10"},  {"SPD1179", "LDR10"},  {"LE501", "LDR02"},
    {"LE511", "LDR02"},     {"SA32B1", "LDR11"},
};

// Directory entries: offset and length (u16 each) of a section.
constexpr std::uint8_t kBlankCheckSectionEntry = 0x20;
constexpr std::uint8_t kChecksumSectionEntry = 0x24;
constexpr std::uint8_t kEraseSectionEntry = 0x28;
constexpr std::uint8_t kProgramSectionEntry = 0x2C;
constexpr std::uint8_t kOptionSectionEntry = 0x30;  // also the common section
constexpr std::uint8_t kCommonSectionEntry = kOptionSectionEntry;

struct TStateSection {
  std::uint8_t State;
  std::uint8_t Entry;
};

constexpr TStateSection kSectionOfState[] = {
    {kOpBlankCheck, kBlankCheckSectionEntry}, {kOpReadChecksum, kChecksumSectionEntry},
    {kOpErase, kEraseSectionEntry},           {kOpProgramMain, kProgramSectionEntry},
    {kOpProgramEep, kProgramSectionEntry},    {kOpWriteOption, kOptionSectionEntry},
};

struct TSection {
  std::uint16_t Offset;  // from the start of the file
  std::uint16_t Length;
};

std::span<std::uint8_t> Image() { return MemoryImages.DriverImage; }

// Directory entry of a state's section; 0 when the state has none.
std::uint8_t SectionEntryOf(std::uint8_t state) {
  const auto row = std::ranges::find(kSectionOfState, state, &TStateSection::State);
  return row == std::end(kSectionOfState) ? 0 : row->Entry;
}

TSection SectionAt(std::uint8_t entry) {
  if (entry == 0) return {0, 0};
  return {GetLe16(Image(), entry), GetLe16(Image(), entry + 2u)};
}

bool InsideImage(TSection section) { return std::size_t{section.Offset} + section.Length <= kDriverImageSize; }

std::uint16_t CopySection(std::uint8_t entry, std::uint16_t position, int ch) {
  const TSection section = SectionAt(entry);
  if (section.Length == 0 || !InsideImage(section)) return 0;
  if (std::size_t{position} + section.Length > kSectionLimit) return 0;
  std::memcpy(CommBuffers.PacketBuffers[ch] + position, MemoryImages.DriverImage + section.Offset, section.Length);
  return section.Length;
}

// Every 16-byte block from 0x20 on, up to the one holding the file's last
// byte, is XORed with the fixed byte, its block number and the key. The last
// blocks may reach past the file (into 0xFF bytes) but never past the image.
void Descramble(std::uint32_t lastIndex) {
  const std::span<std::uint8_t> image = Image();
  const std::uint32_t blocks = lastIndex / 16 + 1;
  for (std::uint32_t b = 0; b < blocks; ++b) {
    for (std::size_t i = 0; i < 16; ++i) {
      const std::size_t at = kScrambledOffset + 16 * b + i;
      if (at >= image.size()) return;
      image[at] ^= static_cast<std::uint8_t>(kScrambleByte ^ (b & 0xFF) ^ image[kKeyOffset + i]);
    }
  }
}

// The length field must match the file size before the checksum runs over
// that many bytes.
bool DataIntact(std::uint32_t fileSize) {
  const std::uint16_t length = GetLe16(Image(), kLengthField);
  if (fileSize < kFileOverhead || length != fileSize - kFileOverhead) return false;
  // An empty data range (length 0) sums to 0.
  const std::uint16_t sum = Checksum16Range(Image(), kDataOffset, kDataOffset + length - 1u);
  return sum == GetLe16(Image(), kChecksumField);
}

// Every section lies inside the image. An operation section may be longer
// than the room before the common section: the packet builders copy the
// common section over its end.
bool SectionsInsideImage() {
  for (std::uint8_t entry = kBlankCheckSectionEntry; entry <= kOptionSectionEntry; entry += 4) {
    const TSection section = SectionAt(entry);
    if (section.Length != 0 && !InsideImage(section)) return false;
  }
  return true;
}

}  // namespace

std::string DriverFileForChip(const std::string& chipName) {
  for (const TDriverFileRow& row : kDriverFiles) {
    if (chipName.starts_with(row.Prefix)) {
      std::string path = SessionTexts.AppDir;
      path.append(kDriverFolder).append(row.FileName).append(kDriverExtension);
      return path;
    }
  }
  Prompts().ShowInfo(Text(TTextId::NoDriverForChip));
  return {};
}

bool CheckDriverMagic() {
  SessionState.DriverHeaderByte8 = MemoryImages.DriverImage[8];
  SessionState.DriverHeaderByte9 = MemoryImages.DriverImage[9];
  return std::ranges::equal(kDriverMagic, Image().first(kDriverMagic.size()));
}

void LoadFlashDriver() {
  SessionState.DriverValid = 0;
  std::memset(MemoryImages.DriverImage, 0xFF, sizeof MemoryImages.DriverImage);

  const std::string path = DriverFileForChip(SessionTexts.ChipName);
  SessionTexts.DriverFilePath = path;
  if (path.empty()) {
    Prompts().ShowInfo(Text(TTextId::NoDriverFound));
    return;
  }
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    Prompts().ShowInfo(FormatText(TTextId::DriverFileMissingFormat, path.c_str()));
    return;
  }

  std::uint32_t lastIndex = kDriverImageSize;
  const std::size_t copied = ReadBinaryFile(path, Image(), lastIndex);
  // The reader leaves the file's last index in LoadedDataEnd, also when it
  // read only the first 16 KB of a longer file.
  SessionState.DriverFileSize = copied == 0 ? 0 : static_cast<std::uint16_t>(ObjectState.LoadedDataEnd + 1);
  // An empty file, or one longer than the image (the limit came back unchanged), is no driver.
  if (copied == 0 || lastIndex >= kDriverImageSize) {
    Prompts().ShowInfo(Text(TTextId::DriverCorrupt));
    return;
  }

  Descramble(lastIndex);
  if (!CheckDriverMagic() || !DataIntact(lastIndex + 1) || !SectionsInsideImage()) {
    Prompts().ShowInfo(Text(TTextId::DriverCorrupt));
    return;
  }
  SessionState.DriverValid = 1;
}

bool StateHasDriverSection(std::uint8_t state) { return SectionEntryOf(state) != 0; }

std::uint16_t AppendDriverSectionForOp(std::uint16_t position, int ch) {
  return CopySection(SectionEntryOf(ProgrammerState.ProgOpCode[ch]), position, ch);
}

std::uint16_t AppendDriverCommonSection(std::uint16_t position, int ch) {
  return CopySection(kCommonSectionEntry, position, ch);
}
