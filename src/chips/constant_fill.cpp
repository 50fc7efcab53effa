#include "chips/constant_fill.h"

#include <algorithm>
#include <span>

#include "data/integer_text.h"
#include "data/memory_areas.h"
#include "data/program_state.h"

namespace {

struct TArea {
  std::uint32_t Start;
  std::uint32_t End;
  std::span<std::uint8_t> Bytes;  // the area's bytes, cut to its image
};

std::optional<TArea> AreaOf(TConstantArea area) {
  const TSelectedChip& chip = SelectedChip;
  if (area == TConstantArea::Main) return TArea{chip.MainStart, chip.MainEnd, MainAreaBytes()};
  if (chip.EepSize == 0) return std::nullopt;
  return TArea{chip.EepStart, chip.EepEnd, EepAreaBytes()};
}

std::uint8_t HexDigit(char c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
  return 0;
}

// The bytes after the first of a UTF-8 character belong to it.
bool ContinuesCharacter(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::uint32_t ConstantAreaStart(TConstantArea area) {
  return area == TConstantArea::Eep ? SelectedChip.EepStart : SelectedChip.MainStart;
}

std::optional<std::uint8_t> ParseHexToken(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos >= text.size()) return std::nullopt;
  std::uint8_t byte = 0;
  for (; pos < text.size() && text[pos] != ' '; ++pos)
    if (!ContinuesCharacter(text[pos])) byte = static_cast<std::uint8_t>(byte * 16 + HexDigit(text[pos]));
  return byte;
}

std::vector<std::uint8_t> ConstantBytes(TConstantFormat format, std::string_view text) {
  if (format == TConstantFormat::Ascii) return {text.begin(), text.end()};
  std::vector<std::uint8_t> bytes;
  std::size_t pos = 0;
  while (const std::optional<std::uint8_t> byte = ParseHexToken(text, pos)) bytes.push_back(*byte);
  return bytes;
}

std::optional<TConstantStored> StoreConstant(const TConstantInput& input) {
  const std::uint32_t address = StrToInt32(input.AddressText);
  const std::optional<TArea> area = AreaOf(input.Area);
  if (!area || address < area->Start || address > area->End) return std::nullopt;
  const std::vector<std::uint8_t> bytes = ConstantBytes(input.Format, input.DataText);
  const std::uint64_t index = address - area->Start;
  const std::uint64_t count = bytes.size();
  // The first address lies in the image even when nothing is written.
  if (index + std::max<std::uint64_t>(count, 1) > area->Bytes.size()) return std::nullopt;
  if (count > 0 && address + count - 1 > area->End) return std::nullopt;

  std::copy(bytes.begin(), bytes.end(), area->Bytes.begin() + static_cast<std::ptrdiff_t>(index));
  TConstantStored stored{input.Area, bytes.size(), 0, 0};
  if (input.Area == TConstantArea::Main) {
    // From the row that holds the address, (n OR 15) + 1 bytes on.
    stored.RefreshFrom = area->Start + static_cast<std::uint32_t>(index & ~std::uint64_t{15});
    const std::uint64_t to = std::uint64_t{stored.RefreshFrom} + (count | 15) + 1;
    stored.RefreshTo = static_cast<std::uint32_t>(std::min<std::uint64_t>(to, 0xFFFFFFFF));
  }
  return stored;
}
