// Binary files: whole-file reading, shared by the flash-driver and firmware
// loaders, and writing a stretch of a buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Reads fileName from its start into destination, in 4096-byte blocks.
//   limit, on the way in: the most bytes the caller wants.
//   limit, on the way out: unchanged when the file is longer than limit (only
//   limit bytes were read); else the index of the file's last byte (size - 1).
// Never writes past destination.size(): of the bytes that limit lets through,
// those beyond the destination are not read. Sets LoadedDataEnd to size - 1.
// Returns the number of bytes copied. A file that cannot be opened (missing,
// no regular file) or is empty copies nothing, returns 0 and leaves limit and
// LoadedDataEnd as they were.
std::size_t ReadBinaryFile(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit);

// Writes buffer[first .. last] to fileName, created anew. An empty range
// (last < first), or one that leaves the buffer (EepSize 0 gives last
// 0xFFFFFFFF), gives an empty file. Throws std::system_error when the file
// cannot be written.
void WriteBinaryFile(const std::string& fileName, std::span<const std::uint8_t> buffer, std::uint32_t first,
                     std::uint32_t last);
