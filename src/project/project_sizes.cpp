#include "project/project_sizes.h"

#include <algorithm>

#include "project/project_format.h"
#include "text/format_text.h"
#include "text/text_id.h"

std::string CheckProjectSizes(const TProjectSizes& s) {
  constexpr auto kMainImage = static_cast<std::uint32_t>(kMainFlashImageSize);
  constexpr auto kEepImage = static_cast<std::uint32_t>(kEepImageSize);
  if (s.MainSize > kMainImage) return FormatText(TTextId::ProjectMainSizeFormat, s.MainSize, kMainImage);
  if (s.EepSize > kEepImage) return FormatText(TTextId::ProjectEepSizeFormat, s.EepSize, kEepImage);
  if (s.MainDataLength == 0 || s.MainDataLength > s.MainSize)
    return FormatText(TTextId::ProjectMainDataLengthFormat, s.MainDataLength, s.MainSize);
  // MainDataLength >= 1 here, so MainSize >= 1.
  const std::uint64_t lastAddress = std::uint64_t{s.MainStart} + s.MainSize - 1;
  const std::uint64_t imageEnd = std::uint64_t{ProjectMainBaseOffset(s.MainStart)} + s.MainSize;
  if (lastAddress > 0xFFFFFFFF || imageEnd > kMainImage)
    return FormatText(TTextId::ProjectMainRangeFormat, s.MainStart, static_cast<std::uint32_t>(lastAddress), s.MainSize);
  return {};
}

std::string CheckEepFits(std::span<const std::uint8_t> eep, std::uint32_t eepDataLength, std::uint8_t blank) {
  const std::uint32_t kept = EepStoredLength(eepDataLength);
  const std::size_t end = std::min<std::size_t>(eepDataLength, eep.size());
  if (kept >= end) return {};
  const auto past = eep.subspan(kept, end - kept);
  const auto firstData = std::ranges::find_if(past, [blank](std::uint8_t b) { return b != blank; });
  if (firstData == past.end()) return {};
  const auto index = static_cast<std::uint32_t>(kept + (firstData - past.begin()));
  return FormatText(TTextId::ProjectEepPastFormat, index, kept, eepDataLength);
}
