#include "link/frame_coding.h"

#include <cstring>

#include "data/packet_checksum.h"
#include "link/byte_order.h"

std::uint16_t SlipEncode(std::span<const std::uint8_t> packet, std::span<std::uint8_t> frame, std::uint16_t n) {
  if (n == 0 || n > packet.size()) return 0;
  std::size_t p = 0;
  auto put = [&](std::uint8_t b) {
    if (p < frame.size()) frame[p] = b;
    ++p;
  };
  put(kFrameEnd);
  for (std::uint8_t b : packet.first(n)) {
    if (b == kFrameEnd) {
      put(kFrameEsc);
      put(kFrameEscEnd);
    } else if (b == kFrameEsc) {
      put(kFrameEsc);
      put(kFrameEscEsc);
    } else {
      put(b);
    }
  }
  put(kFrameEnd);
  for (int i = 0; i < 5; ++i) put(0xFF);
  if (p > frame.size() || p > 0xFFFF) return 0;
  return static_cast<std::uint16_t>(p);
}

std::uint8_t SlipDecode(std::span<std::uint8_t> source, std::span<std::uint8_t> destination,
                        std::uint16_t& decodedLength, std::uint16_t& sourceLength) {
  const std::size_t srcLen = sourceLength < source.size() ? sourceLength : source.size();
  decodedLength = 0;

  std::size_t p = 0;
  while (p < srcLen && source[p] != kFrameEnd) ++p;
  if (p >= srcLen || p + 1 >= srcLen) return kPacketError;  // no frame, or nothing after the opening
  ++p;
  if (source[p] == kFrameEnd) ++p;  // a frame may open with two 0xC0 bytes

  std::size_t count = 0;
  bool overflow = false;
  bool escape = false;
  bool closed = false;
  auto store = [&](std::uint8_t b) {
    if (count < destination.size())
      destination[count++] = b;
    else
      overflow = true;
  };
  for (; p < srcLen; ++p) {
    const std::uint8_t b = source[p];
    if (escape) {
      escape = false;
      if (b == kFrameEscEnd) {
        store(kFrameEnd);
      } else if (b == kFrameEscEsc) {
        store(kFrameEsc);
      } else {
        break;  // bad escape (0xC0 included): stop at this byte
      }
    } else if (b == kFrameEnd) {
      closed = true;
      break;
    } else if (b == kFrameEsc) {
      escape = true;
    } else {
      store(b);
    }
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
  // Header, result byte and checksum at the least.
  if (length < 11 || length > packet.size()) return kPacketError;
  const std::uint32_t payloadLength = GetLe16(packet, 6);
  if (8u + payloadLength + 2u != length) return kPacketError;
  const std::uint16_t stored = GetLe16(packet, length - 2u);
  if (Checksum16Range(packet, 0, length - 3u) != stored) return kChecksumMismatch;
  return payloadLength < 3 ? packet[8] : kStatusOk;
}
