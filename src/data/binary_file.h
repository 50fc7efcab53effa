// Whole-file binary reading, shared by the object, flash-driver and firmware
// loaders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Reads fileName from its start into destination, in 4096-byte blocks.
//   limit, on the way in: the most bytes the caller wants.
//   limit, on the way out: unchanged when the file is longer than limit (only
//   limit bytes were read); else the index of the file's last byte (size - 1).
// Never writes past destination.size(). Sets LoadedDataEnd to size - 1.
// Returns the number of bytes copied: 0 when the file cannot be opened or is
// empty, and then limit and LoadedDataEnd are left as they were.
std::size_t ReadBinaryFile(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit);

// As ReadBinaryFile, and sum := the 32-bit sum of every byte copied (0 first).
std::size_t ReadBinaryFileSum(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit,
                              std::uint32_t& sum);
