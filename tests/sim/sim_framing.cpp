#include "sim_framing.h"

#include <algorithm>

namespace sim {

std::uint16_t Checksum16(std::span<const std::uint8_t> bytes) {
  std::uint16_t c = 0;
  for (const std::uint8_t b : bytes) {
    const bool low = c & 1;
    c = static_cast<std::uint16_t>((c >> 1) ^ b ^ (low ? 0x4A12 : 0));
  }
  return c;
}

std::uint16_t Sum16(std::span<const std::uint8_t> bytes) {
  std::uint16_t s = 0;
  for (const std::uint8_t b : bytes) s = static_cast<std::uint16_t>(s + b);
  return s;
}

void AppendChecksum(Bytes& packet) {
  const std::uint16_t c = Checksum16(packet);
  packet.push_back(static_cast<std::uint8_t>(c));
  packet.push_back(static_cast<std::uint8_t>(c >> 8));
}

Bytes EncodeFrame(std::span<const std::uint8_t> packet) {
  Bytes frame;
  frame.reserve(2 * packet.size() + 2 + kTailLength);
  frame.push_back(kEnd);
  for (const std::uint8_t b : packet) {
    if (b == kEnd) {
      frame.push_back(kEsc);
      frame.push_back(kEscEnd);
    } else if (b == kEsc) {
      frame.push_back(kEsc);
      frame.push_back(kEscEsc);
    } else {
      frame.push_back(b);
    }
  }
  frame.push_back(kEnd);
  frame.insert(frame.end(), kTailLength, 0xFF);
  return frame;
}

std::optional<Bytes> DecodeFrame(std::span<const std::uint8_t> frame) {
  if (frame.size() < 2 || frame.front() != kEnd || frame.back() != kEnd) return std::nullopt;
  Bytes packet;
  packet.reserve(frame.size());
  bool escaped = false;
  for (const std::uint8_t b : frame.subspan(1, frame.size() - 2)) {
    if (escaped) {
      if (b == kEscEnd) {
        packet.push_back(kEnd);
      } else if (b == kEscEsc) {
        packet.push_back(kEsc);
      } else {
        return std::nullopt;
      }
      escaped = false;
    } else if (b == kEsc) {
      escaped = true;
    } else if (b == kEnd) {
      return std::nullopt;
    } else {
      packet.push_back(b);
    }
  }
  if (escaped) return std::nullopt;
  return packet;
}

void FrameSplitter::Feed(std::span<const std::uint8_t> bytes) {
  for (const std::uint8_t b : bytes) {
    if (!inFrame_) {
      if (b == kEnd) {
        current_.assign(1, kEnd);
        inFrame_ = true;
      }
      continue;
    }
    if (b != kEnd) {
      current_.push_back(b);
      if (current_.size() > kMaxFrame) inFrame_ = false;
      continue;
    }
    if (current_.size() == 1) continue;  // a doubled opening: this 0xC0 opens instead
    current_.push_back(kEnd);
    ready_.push_back(std::move(current_));
    current_.clear();
    inFrame_ = false;
  }
}

std::optional<Bytes> FrameSplitter::Next() {
  if (taken_ == ready_.size()) {
    ready_.clear();
    taken_ = 0;
    return std::nullopt;
  }
  return std::move(ready_[taken_++]);
}

std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(Le16(bytes, at)) | (static_cast<std::uint32_t>(Le16(bytes, at + 2)) << 16);
}

void PutLe16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutLe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value) {
  PutLe16(bytes, at, static_cast<std::uint16_t>(value));
  PutLe16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

Bytes MakePacket(std::uint8_t code, std::uint16_t argument, ChipCodes codes, std::span<const std::uint8_t> payload) {
  Bytes packet(kHeaderSize + payload.size());
  packet[0] = code;
  PutLe16(packet, 1, argument);
  packet[3] = codes.chip;
  packet[4] = codes.family;
  packet[5] = codes.subType;
  PutLe16(packet, 6, static_cast<std::uint16_t>(payload.size()));
  std::copy(payload.begin(), payload.end(), packet.begin() + kHeaderSize);
  AppendChecksum(packet);
  return packet;
}

}  // namespace sim
