#include "link/frame_coding.h"

#include <cstring>

#include "data/packet_checksum.h"
#include "link/byte_order.h"

namespace {

constexpr std::size_t kTailLength = 5;
constexpr std::uint16_t kHeaderSize = 8;
constexpr std::uint16_t kShortReplyLength = kHeaderSize + 1 + 2;  // header, result byte, checksum
constexpr std::uint32_t kDataReplyPayload = 3;                    // a payload this long or longer is data
constexpr std::size_t kWord = sizeof(std::uint64_t);

// True when one of the eight bytes of w is 0xC0 or 0xDB.
bool HasFrameByte(std::uint64_t w) {
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  auto anyZeroByte = [](std::uint64_t x) { return (x - kOnes) & ~x & kHighs; };
  return (anyZeroByte(w ^ (kOnes * kFrameEnd)) | anyZeroByte(w ^ (kOnes * kFrameEsc))) != 0;
}

// Writes the escaped bytes of packet into out and returns the end; out must
// hold twice the packet. Words without a delimiter are copied whole.
std::uint8_t* Escape(std::span<const std::uint8_t> packet, std::uint8_t* out) {
  const std::uint8_t* p = packet.data();
  const std::uint8_t* const end = p + packet.size();
  while (p < end) {
    if (static_cast<std::size_t>(end - p) >= kWord) {
      std::uint64_t w;
      std::memcpy(&w, p, kWord);
      if (!HasFrameByte(w)) {
        std::memcpy(out, &w, kWord);
        out += kWord;
        p += kWord;
        continue;
      }
    }
    const std::uint8_t b = *p++;
    if (b == kFrameEnd || b == kFrameEsc) {
      *out++ = kFrameEsc;
      *out++ = b == kFrameEnd ? kFrameEscEnd : kFrameEscEsc;
    } else {
      *out++ = b;
    }
  }
  return out;
}

}  // namespace

std::uint16_t SlipEncode(std::span<const std::uint8_t> packet, std::span<std::uint8_t> frame, std::uint16_t n) {
  if (n == 0 || n > packet.size()) return 0;
  const std::span<const std::uint8_t> bytes = packet.first(n);
  // The frame is never written past its buffer: where the worst case (every
  // byte escaped) might not fit, its real length is counted first.
  const std::size_t worst = 2 + kTailLength + 2 * std::size_t{n};
  if (worst > frame.size() || worst > 0xFFFF) {
    std::size_t length = 2 + kTailLength + n;
    for (const std::uint8_t b : bytes) length += b == kFrameEnd || b == kFrameEsc;
    if (length > frame.size() || length > 0xFFFF) return 0;
  }
  std::uint8_t* out = frame.data();
  *out++ = kFrameEnd;
  out = Escape(bytes, out);
  *out++ = kFrameEnd;
  std::memset(out, 0xFF, kTailLength);
  return static_cast<std::uint16_t>(out + kTailLength - frame.data());
}

std::uint8_t SlipDecode(std::span<std::uint8_t> source, std::span<std::uint8_t> destination,
                        std::uint16_t& decodedLength, std::uint16_t& sourceLength) {
  const std::size_t srcLen = sourceLength < source.size() ? sourceLength : source.size();
  const std::uint8_t* const src = source.data();
  decodedLength = 0;

  std::size_t p = 0;
  while (p < srcLen && src[p] != kFrameEnd) ++p;
  if (p >= srcLen || p + 1 >= srcLen) return kPacketError;  // no frame, or nothing after the opening
  ++p;
  if (src[p] == kFrameEnd) ++p;  // a frame may open with two 0xC0 bytes

  // The body ends at the next 0xC0, or with the source.
  const void* closing = p < srcLen ? std::memchr(src + p, kFrameEnd, srcLen - p) : nullptr;
  const std::size_t bodyEnd = closing ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(closing) - src) : srcLen;
  std::size_t count = 0;
  bool overflow = false;
  bool closed = false;
  auto store = [&](const std::uint8_t* bytes, std::size_t n) {
    const std::size_t room = destination.size() - count;
    if (n > room) overflow = true;
    n = n < room ? n : room;
    if (n == 0) return;  // an empty destination may have no storage at all
    std::memcpy(destination.data() + count, bytes, n);
    count += n;
  };
  for (;;) {
    const void* esc = p < bodyEnd ? std::memchr(src + p, kFrameEsc, bodyEnd - p) : nullptr;
    const std::size_t runEnd = esc ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(esc) - src) : bodyEnd;
    store(src + p, runEnd - p);
    p = runEnd;
    if (p == bodyEnd) {
      closed = p < srcLen;  // stop at the closing 0xC0
      break;
    }
    // An escape: the next byte must be 0xDC or 0xDD; any other (0xC0
    // included) is a bad escape, and decoding stops at it.
    if (p + 1 >= srcLen) {
      p = srcLen;
      break;
    }
    const std::uint8_t b = src[p + 1];
    if (b != kFrameEscEnd && b != kFrameEscEsc) {
      p = p + 1;
      break;
    }
    const std::uint8_t plain = b == kFrameEscEnd ? kFrameEnd : kFrameEsc;
    store(&plain, 1);
    p += 2;
  }

  // p is the stop position; consume through it when something follows.
  if (p + 1 < srcLen) {
    std::memmove(source.data(), source.data() + p + 1, srcLen - (p + 1));
    sourceLength = static_cast<std::uint16_t>(srcLen - (p + 1));
  } else if (closed) {
    sourceLength = 0;
  }

  if (!closed || overflow) return kPacketError;
  decodedLength = static_cast<std::uint16_t>(count);
  return count < 8 ? kPacketError : kStatusOk;
}

std::uint8_t CheckReplyPacket(std::span<const std::uint8_t> packet, std::uint16_t length) {
  if (length < kHeaderSize || length > packet.size()) return kPacketError;
  // The checksum is the last two bytes that came, over every byte before them.
  const std::uint16_t stored = GetLe16(packet, length - 2u);
  if (Checksum16Range(packet, 0, length - 3u) != stored) return kChecksumMismatch;
  const std::uint32_t payloadLength = GetLe16(packet, 6);
  // A short reply: its result byte must have come ahead of the checksum.
  if (payloadLength < kDataReplyPayload) return length >= kShortReplyLength ? packet[kHeaderSize] : kPacketError;
  // A data reply must carry what its length field counts; bytes behind that
  // are padding, which nobody reads.
  return kHeaderSize + payloadLength + 2u <= length ? kStatusOk : kPacketError;
}
