// The protocol's 16-bit shift-and-XOR checksum (constant 0x4A12) and the
// negated 16-bit byte sum. Out-of-range arguments give 0, never a read
// outside the buffer.
#pragma once

#include <cstdint>
#include <span>

// Checksum of buf[0 .. count-1]; 0 when count passes the buffer.
std::uint16_t Checksum16(std::span<const std::uint8_t> buf, std::uint32_t count);

// The checksum of bytes that follow bytes whose checksum was `before`:
// Checksum16 of a whole is its pieces' in turn, from 0.
std::uint16_t Checksum16Continued(std::uint16_t before, std::span<const std::uint8_t> bytes);

// Checksum of buf[start .. end], both included. 0 when start or end is above
// 0xFFFFFF, end < start, or end lies outside the buffer.
std::uint16_t Checksum16Range(std::span<const std::uint8_t> buf, std::uint32_t start, std::uint32_t end);

// 0x10000 minus the 16-bit sum of buf[start .. end]: 0x10000 when that sum is
// 0 or end < start; 0 when start or end is above 0xFFFFFF or end lies outside
// the buffer.
std::uint32_t NegSum16(std::span<const std::uint8_t> buf, std::uint32_t start, std::uint32_t end);
