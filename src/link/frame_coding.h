// Frames on the serial line: 0xC0, the packet with 0xC0 and 0xDB escaped
// (SLIP style), a closing 0xC0 and five 0xFF bytes; and the check of a
// decoded reply.
#pragma once

#include <cstdint>
#include <span>

constexpr std::uint8_t kFrameEnd = 0xC0;
constexpr std::uint8_t kFrameEsc = 0xDB;
constexpr std::uint8_t kFrameEscEnd = 0xDC;
constexpr std::uint8_t kFrameEscEsc = 0xDD;

constexpr std::uint8_t kStatusOk = 0x00;
constexpr std::uint8_t kPacketError = 0x20;      // undecodable frame
constexpr std::uint8_t kChecksumMismatch = 0x23;  // reply checksum wrong

// Writes the frame of packet[0 .. n-1] into frame and returns its length;
// 0 when n is 0, n passes the packet or the frame does not fit.
std::uint16_t SlipEncode(std::span<const std::uint8_t> packet, std::span<std::uint8_t> frame, std::uint16_t n);

// Decodes the first frame in source[0 .. sourceLength-1] into destination and
// removes the consumed bytes from the front of source. Returns 0 for a frame
// of at least 8 bytes, else 0x20 (no frame, bad escape, no closing 0xC0, too
// short, or more bytes than the destination holds).
std::uint8_t SlipDecode(std::span<std::uint8_t> source, std::span<std::uint8_t> destination,
                        std::uint16_t& decodedLength, std::uint16_t& sourceLength);

// Result of a decoded reply of length bytes: 0x23 when its last two bytes
// are not the checksum of those before them; else, for a short reply
// (payload length field below 3), its result byte, or 0x20 when none came
// before the checksum; for a data reply 0, or 0x20 when fewer payload bytes
// came than its length field counts. Bytes beyond those counted are ignored.
std::uint8_t CheckReplyPacket(std::span<const std::uint8_t> packet, std::uint16_t length);
