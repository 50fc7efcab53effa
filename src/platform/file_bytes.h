// Whole files as bytes: reading the front of a file, and replacing a file
// without ever leaving it half written. Both throw std::system_error naming
// the file when the system refuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The file's bytes from its start, at most maxBytes of them.
std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName, std::size_t maxBytes);

// Writes bytes to a new file beside fileName, flushes it to the disk and
// renames it over fileName, so the old file stays whole until the new one is.
// On failure the old file is untouched and the new one removed. A symbolic
// link is kept: the file it points to is replaced. An existing file keeps
// its permissions.
void ReplaceFileBytes(const std::string& fileName, std::span<const std::uint8_t> bytes);
