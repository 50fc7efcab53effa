#include "link/firmware_file.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <vector>

#include "data/binary_file.h"
#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/firmware_fields.h"
#include "text/format_text.h"

namespace {

// File layout.
constexpr char kMarker[] = "VlmFmWr";
constexpr std::size_t kMarkerLength = 7;
constexpr std::uint8_t kMarkerMask = 0x80;
constexpr std::size_t kVersionOffset = 7;
constexpr std::size_t kVersionLength = 8;
constexpr std::size_t kHeaderKeyOffset = 15;
constexpr std::size_t kHeaderWordsOffset = 17;  // end, word 3, word 4, data length
constexpr std::size_t kHeaderEnd = 25;
constexpr std::size_t kKeyTableOffset = 25;
constexpr std::size_t kKeyTableLength = 3290;
constexpr std::size_t kImageOffset = 3315;
constexpr std::size_t kTailLength = 876;  // summed, not used
constexpr std::size_t kSumLength = 4;

// The key position runs through 4 KB and starts again.
constexpr std::size_t kKeyAreaSize = 4096;

struct TDamageReason {
  TFirmwareCheck Check;
  TTextId Reason;
};

constexpr TDamageReason kDamageReasons[] = {
    {TFirmwareCheck::NoMarker, TTextId::FirmwareNoMarkerText},
    {TFirmwareCheck::CutShort, TTextId::FirmwareCutShortText},
    {TFirmwareCheck::BadBlocks, TTextId::FirmwareBadBlocksText},
    {TFirmwareCheck::SumMismatch, TTextId::FirmwareSumMismatchText},
};

std::uint32_t RoundUpTo16(std::uint32_t n) { return (n + 15) & ~15u; }

// Unscrambles dataSize bytes (a multiple of 16) from the file into image[0..].
void Unscramble(std::span<const std::uint8_t> scrambled, const std::uint8_t* key, std::span<std::uint8_t> image) {
  for (std::size_t i = 0; i < scrambled.size(); i += 4) {
    const std::size_t j = i & (kKeyAreaSize - 1);
    image[i] = scrambled[i] ^ key[j];
    image[i + 1] = scrambled[i + 1] ^ key[j + 1];
    image[i + 2] = scrambled[i + 2] ^ key[j];
    image[i + 3] = scrambled[i + 3] ^ key[j + 1];
  }
}

// The blocks are sent from the image, which holds 32 of them; the last may
// reach past the stored data into what else the file held.
bool BlocksInsideImage() {
  const int blocks = FirmwareBlockCount();
  return blocks >= 1 && static_cast<std::uint32_t>(blocks) * kFirmwareBlockImageBytes <= kFirmwareImageSize;
}

}  // namespace

std::string FirmwareFilePath() { return SessionTexts.AppDir + kFirmwareFileName; }

int FirmwareBlockCount() {
  return (static_cast<int>(SessionState.FirmwareEnd) - static_cast<int>(SessionState.FirmwareStart)) /
             kFirmwareBlockSpan +
         1;
}

TFirmwareCheck LoadFirmwareFile(const std::string& path) {
  TSessionState& s = SessionState;
  std::vector<std::uint8_t> buffer(kFirmwareImageSize);
  std::uint32_t limit = kFirmwareImageSize;
  const std::span<const std::uint8_t> file(buffer.data(), ReadBinaryFile(path, buffer, limit));
  std::uint32_t sum = 0;

  if (file.size() < kHeaderEnd || ReadMaskedText(file, sum, kMarkerLength, kMarkerMask) != kMarker) {
    s.FirmwareLoaded = 0;
    return TFirmwareCheck::NoMarker;
  }
  s.FirmwareLoaded = 1;
  s.FirmwareStart = kFirmwareStartAddress;
  CopyVersionText(file.subspan(kVersionOffset), sum, kVersionLength);
  if (s.FirmwareVersion[0] != 'V') std::memset(s.FirmwareVersion, 0, sizeof s.FirmwareVersion);
  const std::uint16_t key = ReadLe16Sum(file.subspan(kHeaderKeyOffset), sum);
  std::uint16_t* const words[] = {&s.FirmwareEnd, &s.FirmwareWord3, &s.FirmwareWord4, &s.FirmwareDataLength};
  for (std::size_t w = 0; w < std::size(words); ++w)
    *words[w] = ReadLe16Sum(file.subspan(kHeaderWordsOffset + 2 * w), sum) ^ key;

  const std::uint32_t dataSize = RoundUpTo16(s.FirmwareDataLength);
  const std::size_t sumOffset = kImageOffset + dataSize + kTailLength;
  const TFirmwareCheck layout = sumOffset + kSumLength > file.size() ? TFirmwareCheck::CutShort
                               : !BlocksInsideImage()                 ? TFirmwareCheck::BadBlocks
                                                                      : TFirmwareCheck::Loaded;
  if (layout != TFirmwareCheck::Loaded) {
    s.FirmwareLoaded = 0;
    return layout;
  }

  std::uint8_t keyArea[kKeyAreaSize] = {};
  std::memcpy(keyArea, file.data() + kKeyTableOffset, kKeyTableLength);
  AddBytesToSum(file.subspan(kKeyTableOffset), sum, kKeyTableLength);

  // The image is the file as read with the unscrambled data written over it
  // from index 0.
  std::vector<std::uint8_t> image(buffer);
  const auto scrambled = file.subspan(kImageOffset, dataSize);
  Unscramble(scrambled, keyArea, image);
  AddBytesToSum(scrambled, sum, dataSize);
  AddBytesToSum(file.subspan(kImageOffset + dataSize), sum, kTailLength);

  s.FirmwareLoaded = GetLe32(file, sumOffset) == sum ? 1 : 0;
  if (!s.FirmwareLoaded) return TFirmwareCheck::SumMismatch;
  std::memcpy(MemoryImages.FirmwareImage, image.data(), kFirmwareImageSize);
  return TFirmwareCheck::Loaded;
}

std::string FirmwareDamagedText(const std::string& path, TFirmwareCheck check) {
  const auto row = std::ranges::find(kDamageReasons, check, &TDamageReason::Check);
  const TTextId reason = row != std::end(kDamageReasons) ? row->Reason : TTextId::FirmwareSumMismatchText;
  return FormatText(TTextId::FirmwareDamagedFormat, path.c_str(), Text(reason));
}
