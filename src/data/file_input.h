// A regular file opened for reading: the one way the object-file readers
// reach the disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

class TInputFile {
 public:
  // Opens fileName when it is a regular file; IsOpen() tells whether it was.
  explicit TInputFile(const std::string& fileName);
  ~TInputFile();
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  std::uint64_t Size() const { return size_; }
  // Reads up to into.size() bytes at the current position; returns how many.
  std::size_t Read(std::span<std::uint8_t> into);
  // The whole file from its start; false when a read fails.
  bool ReadAll(std::string& text);

 private:
  std::FILE* file_ = nullptr;
  std::uint64_t size_ = 0;
};
