// Field readers of the firmware file. Each takes its bytes from the front of
// bytes (never more than it holds) and adds every byte it takes to sum.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// count characters, each byte XOR mask; a zero byte gives a zero character.
std::string ReadMaskedText(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count,
                           std::uint8_t mask);

// count bytes (at most 8) into FirmwareVersion, which stays zero-terminated.
void CopyVersionText(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count);

// Little-endian u16.
std::uint16_t ReadLe16Sum(std::span<const std::uint8_t> bytes, std::uint32_t& sum);

void AddBytesToSum(std::span<const std::uint8_t> bytes, std::uint32_t& sum, std::size_t count);
