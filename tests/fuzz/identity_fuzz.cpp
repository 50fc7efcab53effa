// Identity replies to the link request, against the application and the
// boot-loader identity. Byte 0 picks the text's start (mostly the real one),
// bytes 1..8 the firmware file's version; the rest is the decoded reply.
#include <algorithm>
#include <cstring>

#include "data/program_state.h"
#include "link/device_identity.h"
#include "text/discovery_messages.h"
#include "fuzz_support.h"

namespace {

// The identity after a check: zero-terminated, printable, and either as it
// was or a device text that begins with it.
void CheckIdentity(const TIdentityText& before, const TIdentityText& after, bool replaced) {
  FUZZ_CHECK(after[after.size() - 1] == '\0');
  if (!replaced) {
    FUZZ_CHECK(before == after);
    return;
  }
  const std::size_t n = std::strlen(after.data());
  FUZZ_CHECK(std::strncmp(after.data(), before.data(), std::strlen(before.data())) == 0);
  FUZZ_CHECK(std::all_of(after.begin(), after.begin() + n, [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 0x20 && b < 0x80;
  }));
  FUZZ_CHECK(std::all_of(after.begin() + n, after.end(), [](char c) { return c == '\0'; }));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t start = in.Byte();
  const std::uint8_t textStart = start & 0x80 ? start & 0x7F : kIdentityTextStart;
  const std::span<const std::uint8_t> version = in.Take(8);
  std::memset(SessionState.FirmwareVersion, 0, sizeof SessionState.FirmwareVersion);
  std::memcpy(SessionState.FirmwareVersion, version.data(), version.size());
  const std::span<const std::uint8_t> reply = in.Rest();

  const TIdentityText application = IdentityText(kApplicationIdentity);
  TIdentityText identity = application;
  const std::uint8_t found = CheckDeviceIdReply(reply, identity, textStart);
  FUZZ_CHECK(found == kIdentityMatches || found == kIdentityOlderFirmware || found == kIdentityNotAReply ||
             found == kIdentityOther);
  CheckIdentity(application, identity, found == kIdentityMatches || found == kIdentityOlderFirmware);

  const TIdentityText bootLoader = IdentityText(kBootLoaderIdentity);
  identity = bootLoader;
  const std::uint8_t named = CheckDeviceNameReply(reply, identity, textStart);
  FUZZ_CHECK(named == kIdentityMatches || named == kIdentityNotAReply || named == kIdentityOther);
  CheckIdentity(bootLoader, identity, named == kIdentityMatches);
  // Both read the same text area: a reply is an answer to both or to neither.
  FUZZ_CHECK((found == kIdentityNotAReply) == (named == kIdentityNotAReply));
  return 0;
}
