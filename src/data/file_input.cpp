#include "data/file_input.h"

#include <filesystem>
#include <system_error>

TInputFile::TInputFile(const std::string& fileName) {
  // A folder or a device opens with fopen on Linux but is no file to load.
  std::error_code error;
  if (!std::filesystem::is_regular_file(fileName, error)) return;
  const std::uintmax_t size = std::filesystem::file_size(fileName, error);
  if (error) return;
  file_ = std::fopen(fileName.c_str(), "rb");
  size_ = size;
}

TInputFile::~TInputFile() {
  if (file_) std::fclose(file_);
}

std::size_t TInputFile::Read(std::span<std::uint8_t> into) {
  if (!file_ || into.empty()) return 0;
  return std::fread(into.data(), 1, into.size(), file_);
}

bool TInputFile::ReadAll(std::string& text) {
  text.clear();
  if (!file_ || std::fseek(file_, 0, SEEK_SET) != 0) return false;
  text.reserve(static_cast<std::size_t>(size_));
  char block[65536];
  std::size_t got;
  while ((got = std::fread(block, 1, sizeof block, file_)) > 0) text.append(block, got);
  return std::ferror(file_) == 0;
}
