#include "data/object_records.h"

#include <cstddef>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

// Start and end of an area that the chip does not have.
constexpr std::uint32_t kNoArea = 0xFFFFFFFF;

struct TAreaImage {
  TRecordArea area;
  std::uint32_t TSelectedChip::*start;
  std::uint32_t TSelectedChip::*end;
  std::uint8_t* image;
  std::size_t size;
};

// Tested in this order: a record that starts in the main area stays there
// even when it runs on into the option addresses.
const TAreaImage kAreas[] = {
    {TRecordArea::Option, &TSelectedChip::OptionStart, &TSelectedChip::OptionEnd, MemoryImages.OptionImage,
     kOptionImageSize},
    {TRecordArea::Main, &TSelectedChip::MainStart, &TSelectedChip::MainEnd, MemoryImages.MainFlashImage,
     kMainFlashImageSize},
    {TRecordArea::Eep, &TSelectedChip::EepStart, &TSelectedChip::EepEnd, MemoryImages.EepImage, kEepImageSize},
    {TRecordArea::Aux, &TSelectedChip::AuxStart, &TSelectedChip::AuxEnd, MemoryImages.AuxAreaImage,
     kAuxAreaImageSize},
};

const TAreaImage* FindArea(std::uint32_t address) {
  for (const TAreaImage& area : kAreas) {
    const std::uint32_t start = SelectedChip.*area.start;
    const std::uint32_t end = SelectedChip.*area.end;
    if (start == kNoArea && end == kNoArea) continue;
    if (start <= address && address <= end) return &area;
  }
  return nullptr;
}

void ShowAddressOutOfChip(std::uint32_t address) { Prompts().ShowInfo(FormatText(TTextId::AddressOutOfChipFormat, address)); }

bool AskGoOn(std::uint16_t lineNumber, std::uint8_t code) {
  return Prompts().AskOkAbort(FormatText(TTextId::LineDataErrorFormat, lineNumber, code)) != TPromptAnswer::Abort;
}

}  // namespace

TRecordArea StoreDataRecord(std::uint32_t address, std::string_view hexData, std::uint32_t count,
                            std::uint8_t& recordSum, std::uint32_t& byteSum, TAreaSet& placed) {
  const TAreaImage* area = FindArea(address);
  std::uint8_t* image = nullptr;
  std::size_t room = 0;  // bytes from the record's place to the image's end
  if (area) {
    const std::uint32_t index = address - SelectedChip.*area->start;
    if (index < area->size) {
      image = area->image + index;
      room = area->size - index;
    }
    if (area->area == TRecordArea::Option) {
      ObjectState.OptionLoaded = 1;
    } else {
      ObjectState.LoadedDataEnd = address + count;
    }
    placed |= AreaBit(area->area);
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t b = HexByteAt(hexData, 2 * i);
    recordSum = static_cast<std::uint8_t>(recordSum + b);
    byteSum += b;
    if (i < room) image[i] = b;
  }
  if (!area) {
    ShowAddressOutOfChip(address);
    return TRecordArea::None;
  }
  return area->area;
}

void WidenBounds(std::uint32_t address, std::uint32_t count, std::uint32_t& lowest, std::uint32_t& highest) {
  if (address < lowest) lowest = address;
  const std::uint32_t last = address + count - 1;
  if (last > highest) highest = last;
}

TObjectFileStatus LoadRecordLines(std::string_view text, bool (*skip)(std::string_view line),
                                  const TLineParser& parse, std::uint32_t& lowestOut,
                                  std::uint32_t& highestOut, std::uint32_t& sum, TAreaSet& placed) {
  sum = 0;
  placed = 0;
  std::uint32_t lowest = 0xFFFFFFFF;
  std::uint32_t highest = 0;
  std::uint16_t lineNumber = 0;  // wraps to 0 after 65535, as the box shows it
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    if (skip(line)) continue;
    const std::uint8_t code = parse(line, lowest, highest, sum, placed);
    if (code != kLineOk && !AskGoOn(lineNumber, code)) return TObjectFileStatus::Aborted;
    lowestOut = lowest;
    highestOut = highest;
  }
  return TObjectFileStatus::Read;
}
