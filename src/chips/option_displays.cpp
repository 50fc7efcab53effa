#include "chips/option_displays.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>

#include "chips/option_image.h"
#include "chips/vendor_index.h"
#include "data/log_lines.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/option_display_texts.h"

namespace {

using TBytes = std::span<const std::uint8_t>;

constexpr std::size_t kPayloadOffset = 8;
constexpr std::size_t kShortReplyPayload = 2;  // a result code, no option data
constexpr std::size_t kWordOffsets[] = {0, 4, 8, 12, 16, 20, 40, 44};
constexpr std::size_t kLineBytes = 16;
constexpr std::size_t kConfigLines = 16;
constexpr std::size_t kLCMPxImageLines = 3;

// The received payload of programmer ch, never reaching past its buffer.
TBytes ReplyPayload(int ch, std::size_t payloadLength) {
  if (ch < 0 || ch >= kProgrammerMax) return {};
  const TBytes packet = CommBuffers.PacketBuffers[ch];
  return packet.subspan(kPayloadOffset, std::min(payloadLength, packet.size() - kPayloadOffset));
}

bool ShowsNothing(TBytes payload) { return payload.size() <= kShortReplyPayload; }

bool Holds(TBytes bytes, std::size_t lastIndex) { return lastIndex < bytes.size(); }

// The option words, little-endian, as far as both bytes of a word are there.
std::string OptionWords(TBytes bytes) {
  std::string text;
  for (std::size_t at : kWordOffsets) {
    if (!Holds(bytes, at + 1)) break;
    text += FormatText(kOptionWordFormat, bytes[at] | bytes[at + 1] << 8);
  }
  return text;
}

std::string HexBytes(TBytes bytes) {
  std::string text;
  for (std::uint8_t b : bytes) text += FormatText(kOptionByteFormat, b);
  return text;
}

// The AU30x configuration area's first 256 bytes, a line of sixteen at a
// time, as far as whole lines are there.
void AddConfigLines(TBytes bytes) {
  for (std::size_t line = 0; line < kConfigLines && Holds(bytes, (line + 1) * kLineBytes - 1); ++line) {
    const std::size_t at = line * kLineBytes;
    AddMemoLine(FormatText(kConfigLineAddressFormat, static_cast<unsigned>(at)) +
                HexBytes(bytes.subspan(at, kLineBytes)));
  }
}

// The format filled with k and byte first + k, for k = 0 .. count - 1.
std::string IndexedBytes(const char* format, TBytes bytes, std::size_t first, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) text += FormatText(format, k, bytes[first + k]);
  return text;
}

struct TOptionDisplays {
  void (*Current)();
  void (*Read)(int ch, std::size_t payloadLength);
};

}  // namespace

void ShowAC78xCurrentOption() { AddLog(Text(TTextId::CurrentOptionHeading) + OptionWords(OptionImage())); }

void ShowAUCUxCurrentConfig() { AddConfigLines(OptionImage()); }

void ShowLCMPxCurrentOption() {
  AddMemoLine("");
  AddMemoLine(Text(TTextId::ChipOptionDataHeading));
  for (std::size_t line = 0; line < kLCMPxImageLines; ++line)
    AddMemoLine(kChipOptionDataIndent + HexBytes(OptionImage().subspan(line * kLineBytes, kLineBytes)));
}

void ShowAC78xReadOption(int ch, std::size_t payloadLength) {
  const TBytes payload = ReplyPayload(ch, payloadLength);
  if (ShowsNothing(payload)) return;
  AddLog(FormatText(TTextId::ReadOptionHeadingFormat, ch + 1) + OptionWords(payload));
}

void ShowAUCUxReadConfig(int ch, std::size_t payloadLength) {
  const TBytes payload = ReplyPayload(ch, payloadLength);
  if (ShowsNothing(payload)) return;
  AddMemoLine(FormatText(TTextId::ReadConfigHeadingFormat, ch + 1));
  AddConfigLines(payload);
}

// USER and DATA0..2 at payload bytes 24..27, ROP and ROP2 at 32 and 33,
// WRP0..2 at 36..38.
void ShowLCMPxReadOption(int ch, std::size_t payloadLength) {
  const TBytes payload = ReplyPayload(ch, payloadLength);
  if (ShowsNothing(payload)) return;
  AddMemoLine("");
  AddMemoLine(FormatText(TTextId::ReadChipOptionHeadingFormat, ch + 1));
  if (Holds(payload, 27))
    AddMemoLine(FormatText(kUserByteFormat, payload[24]) + IndexedBytes(kDataByteFormat, payload, 25, 3));
  if (Holds(payload, 33))
    AddMemoLine(FormatText(kRopByteFormat, payload[32]) + FormatText(kRop2ByteFormat, payload[33]));
  if (Holds(payload, 38)) AddMemoLine(kWrpIndent + IndexedBytes(kWrpByteFormat, payload, 36, 3));
}

namespace {

// Indexed by vendor; the families left out have no option data to show.
constexpr auto kDisplays = [] {
  std::array<TOptionDisplays, kVendorCount> displays{};
  displays[kVendorAC78xx] = {ShowAC78xCurrentOption, ShowAC78xReadOption};
  displays[kVendorAUCUx] = {ShowAUCUxCurrentConfig, ShowAUCUxReadConfig};
  displays[kVendorLCMPx] = {ShowLCMPxCurrentOption, ShowLCMPxReadOption};
  return displays;
}();

}  // namespace

void ShowCurrentOptionForVendor(std::uint8_t vendorIndex) {
  if (auto show = kDisplays[VendorRow(vendorIndex)].Current) show();
}

void ShowReadOptionForVendor(std::uint8_t vendorIndex, int ch, std::size_t payloadLength) {
  if (auto show = kDisplays[VendorRow(vendorIndex)].Read) show(ch, payloadLength);
}
