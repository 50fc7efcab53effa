#include "link/device_identity.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "data/program_state.h"
#include "link/byte_order.h"

namespace {

constexpr std::uint8_t kProbeBytes[] = {0xA3, 0xA5, 0x35};
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kMaxIdentityLength = std::tuple_size_v<TIdentityText> - 1;
constexpr std::size_t kMaxVersionLength = 8;

// Bytes outside the printable ASCII range end a text.
char TextChar(std::uint8_t b) { return b < 0x20 || b >= 0x80 ? '\0' : static_cast<char>(b); }

// The text area as far as the reply reaches; none for a reply that is not
// an answer to the link request.
std::optional<std::span<const std::uint8_t>> TextArea(std::span<const std::uint8_t> reply, std::size_t textStart) {
  if (reply.size() < kHeaderSize || !std::equal(std::begin(kProbeBytes), std::end(kProbeBytes), reply.begin()))
    return std::nullopt;
  const std::size_t length = GetLe16(reply, 6);
  if (length == 0) return std::nullopt;
  const std::size_t start = std::min(textStart, reply.size());
  const std::size_t end = std::min(textStart + length + 1, reply.size());
  return reply.subspan(start, end - start);
}

// The device text: up to the first byte that ends a text, cut to what the
// identity buffer holds.
std::string DeviceText(std::span<const std::uint8_t> area) {
  std::string text;
  for (const std::uint8_t b : area) {
    const char c = TextChar(b);
    if (c == '\0' || text.size() == kMaxIdentityLength) break;
    text += c;
  }
  return text;
}

// 15, 31, or 0 with the device text in `identity`.
std::uint8_t MatchIdentity(std::span<const std::uint8_t> reply, TIdentityText& identity, std::size_t textStart,
                           std::span<const std::uint8_t>& area) {
  const auto found = TextArea(reply, textStart);
  if (!found) return kIdentityNotAReply;
  area = *found;
  const std::string text = DeviceText(area);
  const std::size_t m = std::strlen(identity.data());
  if (text.size() < m || text.compare(0, m, identity.data()) != 0) return kIdentityOther;
  identity.fill('\0');
  std::copy(text.begin(), text.end(), identity.begin());
  return kIdentityMatches;
}

struct TDeviceVersion {
  std::string Text;
  std::size_t Compared;  // its own length when a blank or comma ended it, else 8
};

// The first 'V' after a blank, from the area's second position on, and up
// to 8 characters from it.
TDeviceVersion FindVersion(std::span<const std::uint8_t> area) {
  TDeviceVersion version{{}, kMaxVersionLength};
  std::size_t p = 1;
  while (p < area.size() && !(TextChar(area[p]) == 'V' && TextChar(area[p - 1]) == ' ')) ++p;
  for (; p < area.size() && version.Text.size() < kMaxVersionLength; ++p) {
    const char c = TextChar(area[p]);
    if (c == ' ' || c == ',') {
      version.Compared = version.Text.size();
      break;
    }
    if (c == '\0') break;
    version.Text += c;
  }
  return version;
}

// Both as zero-terminated texts, over the compared positions and not past
// the end of FirmwareVersion.
bool OlderThanFirmware(const TDeviceVersion& device) {
  const char* firmware = SessionState.FirmwareVersion;
  for (std::size_t i = 0; i < device.Compared && i < sizeof SessionState.FirmwareVersion; ++i) {
    const auto f = static_cast<unsigned char>(firmware[i]);
    const auto d = static_cast<unsigned char>(i < device.Text.size() ? device.Text[i] : '\0');
    if (d != f) return d < f;
    if (f == 0) break;
  }
  return false;
}

}  // namespace

TIdentityText IdentityText(const char* text) {
  TIdentityText identity{};
  std::strncpy(identity.data(), text, kMaxIdentityLength);
  return identity;
}

std::uint8_t CheckDeviceIdReply(std::span<const std::uint8_t> reply, TIdentityText& identity,
                                std::uint8_t textStart) {
  std::span<const std::uint8_t> area;
  const std::uint8_t code = MatchIdentity(reply, identity, textStart, area);
  if (code != kIdentityMatches) return code;
  return OlderThanFirmware(FindVersion(area)) ? kIdentityOlderFirmware : kIdentityMatches;
}

std::uint8_t CheckDeviceNameReply(std::span<const std::uint8_t> reply, TIdentityText& identity,
                                  std::uint8_t textStart) {
  std::span<const std::uint8_t> area;
  return MatchIdentity(reply, identity, textStart, area);
}
