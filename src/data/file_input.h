// A regular file opened for reading: the one way the object-file readers
// reach the disk.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <system_error>

class TInputFile {
 public:
  // Opens fileName when it is a regular file; IsOpen() tells whether it was.
  explicit TInputFile(const std::string& fileName);
  ~TInputFile();
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  // The system's reason why the file did not open or a read failed.
  std::error_code Error() const { return error_; }
  std::uint64_t Size() const { return size_; }
  // Reads up to into.size() bytes at the current position; returns how many.
  std::size_t Read(std::span<std::uint8_t> into);

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
  std::error_code error_;
};

// The index of the last byte of a file of size bytes (size > 0), as far as
// 32 bits hold it.
inline std::uint32_t LastByteIndex(std::uint64_t size) {
  return static_cast<std::uint32_t>(std::min<std::uint64_t>(size - 1, 0xFFFFFFFF));
}

// A file to load, read before the load changes anything.
struct TFileContent {
  std::error_code Error;  // set when the file could not be opened or read
  std::uint64_t Size = 0;  // the whole file's length
  std::string Bytes;       // its first bytes, as many as were asked for
};

// Reads the first maxBytes bytes of fileName (all of a shorter file).
TFileContent ReadFileContent(const std::string& fileName, std::uint64_t maxBytes);
