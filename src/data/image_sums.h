// Sums over an inclusive index range of a memory image: the 32-bit byte sum
// (ACC32), the protocol's 16-bit checksum (CRC16) and the standard CRC-32.
// A range that leaves the buffer gives 0, never a read outside it.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// Sum of buffer[first .. last] modulo 2^32; 0 when first or last is above
// 0xFFFFFF or last < first.
std::uint32_t SumBytes(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last);

// Checksum16 over buffer[first .. last], with the same guards as SumBytes.
std::uint16_t Checksum16Buf(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last);

// The polynomial 0x04C11DB7, most significant bit first.
extern const std::array<std::uint32_t, 256> Crc32Table;

// CRC-32 of IEEE 802.3 (reflected in and out, start and final XOR 0xFFFFFFFF)
// of buffer[first .. last]; 0 when last < first, the CRC of no bytes.
std::uint32_t Crc32Range(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last);
