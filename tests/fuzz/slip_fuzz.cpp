// SLIP decoding of a received frame and the check of the decoded reply; and
// decode(encode(x)) == x for the input itself and for every decoded packet.
// Byte 0 picks the destination's capacity (a packet buffer, or a small one).
#include <cstring>
#include <vector>

#include "data/program_state.h"
#include "link/frame_coding.h"
#include "fuzz_support.h"

namespace {

std::vector<std::uint8_t> frame(kTxFrameBufferSize);
std::vector<std::uint8_t> decoded(kPacketBufferSize);
std::vector<std::uint8_t> again(kPacketBufferSize);

// Encodes packet, decodes the frame and checks it gives packet back.
void CheckRoundTrip(std::span<const std::uint8_t> packet) {
  if (packet.empty() || packet.size() > kPacketBufferSize) return;
  const auto n = static_cast<std::uint16_t>(packet.size());
  const std::uint16_t length = SlipEncode(packet, frame, n);
  FUZZ_CHECK(length >= n + 7u && length <= FrameSizeFor(n));
  FUZZ_CHECK(frame[0] == kFrameEnd && frame[length - 6] == kFrameEnd);
  FUZZ_CHECK(std::memchr(frame.data() + 1, kFrameEnd, length - 7u) == nullptr);
  std::uint16_t sourceLength = length;
  std::uint16_t got = 0;
  const std::uint8_t code = SlipDecode(frame, again, got, sourceLength);
  if (n < 8) {
    FUZZ_CHECK(code == kPacketError);
    return;
  }
  FUZZ_CHECK(code == kStatusOk && got == n && std::memcmp(again.data(), packet.data(), n) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t how = in.Byte();
  const std::span<const std::uint8_t> rest = in.Take(kRxBufferSize);
  std::vector<std::uint8_t> source(rest.begin(), rest.end());
  const std::size_t capacity = how & 0x80 ? how & 0x7F : kPacketBufferSize;

  std::uint16_t sourceLength = static_cast<std::uint16_t>(source.size());
  std::uint16_t length = 0xFFFF;
  const std::uint8_t code = SlipDecode(source, std::span(decoded).first(capacity), length, sourceLength);
  FUZZ_CHECK(code == kStatusOk || code == kPacketError);
  FUZZ_CHECK(sourceLength <= source.size());
  if (code == kStatusOk) {
    FUZZ_CHECK(length >= 8 && length <= capacity);
    const std::span<const std::uint8_t> packet(decoded.data(), length);
    const std::uint8_t result = CheckReplyPacket(packet, length);
    // A reply that passes its check came with a result byte before its
    // checksum and, when it is a data reply, with every payload byte its
    // length field counts; padding behind them is allowed.
    if (result != kPacketError && result != kChecksumMismatch) {
      const unsigned counted = packet[6] | packet[7] << 8;
      FUZZ_CHECK(length >= 11 && (counted < 3 || 8u + counted + 2u <= length));
    }
    CheckRoundTrip(packet);
  } else {
    FUZZ_CHECK(length < 8);  // a closed frame too short for a reply tells its length
  }
  CheckRoundTrip(rest);
  return 0;
}
