// The serial line as the programmer units see it: the 16-bit packet
// checksum, frames (0xC0, the packet with 0xC0 and 0xDB escaped, 0xC0, five
// 0xFF), the packet header, and a splitter that cuts frames out of a byte
// stream. Written apart from the program's own link code so that a fault in
// one shows up against the other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t kEnd = 0xC0;
constexpr std::uint8_t kEsc = 0xDB;
constexpr std::uint8_t kEscEnd = 0xDC;
constexpr std::uint8_t kEscEsc = 0xDD;
constexpr std::size_t kTailLength = 5;  // 0xFF bytes after every frame
constexpr std::size_t kHeaderSize = 8;  // code, argument, three chip codes, payload length

// c := (c >> 1) ^ b ^ (0x4A12 when bit 0 of c was set), from c = 0.
std::uint16_t Checksum16(std::span<const std::uint8_t> bytes);
// Plain byte sum modulo 65536.
std::uint16_t Sum16(std::span<const std::uint8_t> bytes);
// Appends the Checksum16 of every byte so far, low byte first, as every
// packet ends.
void AppendChecksum(Bytes& packet);

// The frame of a packet, tail included.
Bytes EncodeFrame(std::span<const std::uint8_t> packet);
// Decodes a whole frame (opening 0xC0 .. closing 0xC0); nullopt for a bad
// escape or when the delimiters are missing. Any length is accepted: the
// link probe decodes to three bytes.
std::optional<Bytes> DecodeFrame(std::span<const std::uint8_t> frame);

// Cuts frames out of a stream: bytes before an opening 0xC0 are skipped, of a
// run of 0xC0 the last one opens the frame, the next 0xC0 closes it.
class FrameSplitter {
 public:
  void Feed(std::span<const std::uint8_t> bytes);
  // The next complete frame, both delimiters included.
  std::optional<Bytes> Next();

 private:
  static constexpr std::size_t kMaxFrame = 64 * 1024;  // longer input is dropped
  Bytes current_;
  bool inFrame_ = false;
  std::vector<Bytes> ready_;
  std::size_t taken_ = 0;
};

std::uint16_t Le16(std::span<const std::uint8_t> bytes, std::size_t at);
std::uint32_t Le32(std::span<const std::uint8_t> bytes, std::size_t at);
void PutLe16(std::span<std::uint8_t> bytes, std::size_t at, std::uint16_t value);
void PutLe32(std::span<std::uint8_t> bytes, std::size_t at, std::uint32_t value);

// Header bytes 3 .. 5.
struct ChipCodes {
  std::uint8_t chip = 0x55;
  std::uint8_t family = 0;
  std::uint8_t subType = 0;
};

// A packet as commands and replies are laid out: header, payload, and the
// Checksum16 of every byte before it.
Bytes MakePacket(std::uint8_t code, std::uint16_t argument, ChipCodes codes, std::span<const std::uint8_t> payload);

}  // namespace sim
