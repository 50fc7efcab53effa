#include "data/object_records.h"

#include <cstddef>
#include <span>

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
  std::span<std::uint8_t> TAreaImages::*image;
};

// Tested in this order: a record that starts in the main area stays there
// even when it runs on into the option addresses.
const TAreaImage kAreas[] = {
    {TRecordArea::Option, &TSelectedChip::OptionStart, &TSelectedChip::OptionEnd, &TAreaImages::Option},
    {TRecordArea::Main, &TSelectedChip::MainStart, &TSelectedChip::MainEnd, &TAreaImages::Main},
    {TRecordArea::Eep, &TSelectedChip::EepStart, &TSelectedChip::EepEnd, &TAreaImages::Eep},
    {TRecordArea::Aux, &TSelectedChip::AuxStart, &TSelectedChip::AuxEnd, &TAreaImages::Aux},
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
                            std::uint8_t& recordSum, TRecordTotals& totals, const TAreaImages& images) {
  const TAreaImage* area = FindArea(address);
  std::span<std::uint8_t> room;  // from the record's place to the image's end
  if (area) {
    const std::span<std::uint8_t> image = images.*area->image;
    const std::uint32_t index = address - SelectedChip.*area->start;
    if (index < image.size()) room = image.subspan(index);
    if (area->area != TRecordArea::Option) totals.DataEnd = address + count;
    totals.Placed |= AreaBit(area->area);
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t b = HexByteAt(hexData, 2 * i);
    recordSum = static_cast<std::uint8_t>(recordSum + b);
    totals.Sum += b;
    if (i < room.size()) room[i] = b;
  }
  if (!area) {
    ShowAddressOutOfChip(address);
    return TRecordArea::None;
  }
  return area->area;
}

void WidenBounds(std::uint32_t address, std::uint32_t count, TRecordTotals& totals) {
  if (address < totals.Lowest) totals.Lowest = address;
  const std::uint32_t last = address + count - 1;
  if (last > totals.Highest) totals.Highest = last;
}

TRecordFileRead LoadRecordLines(std::string_view text, bool (*skip)(std::string_view line), const TLineParser& parse) {
  TRecordFileRead read;
  TRecordTotals running;
  std::uint16_t lineNumber = 0;  // wraps to 0 after 65535, as the box shows it
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++lineNumber;
    if (skip(line)) continue;
    const std::uint8_t code = parse(line, running);
    if (code != kLineOk && !AskGoOn(lineNumber, code)) {
      read.Status = TObjectFileStatus::Aborted;
      return read;
    }
    read.Totals = running;
  }
  return read;
}
