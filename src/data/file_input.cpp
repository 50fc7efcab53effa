#include "data/file_input.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>

TInputFile::TInputFile(const std::string& fileName) {
  // A folder or a device opens with fopen on Linux but is no file to load.
  const std::filesystem::file_status status = std::filesystem::status(fileName, error_);
  if (error_) return;
  if (!std::filesystem::is_regular_file(status)) {
    error_ = std::make_error_code(std::filesystem::is_directory(status) ? std::errc::is_a_directory
                                                                        : std::errc::invalid_argument);
    return;
  }
  size_ = std::filesystem::file_size(fileName, error_);
  if (error_) return;
  file_ = std::fopen(fileName.c_str(), "rb");
  if (!file_) error_.assign(errno, std::generic_category());
}

TInputFile::~TInputFile() {
  if (file_) std::fclose(file_);
}

std::size_t TInputFile::Read(std::span<std::uint8_t> into) {
  if (!file_ || into.empty()) return 0;
  const std::size_t got = std::fread(into.data(), 1, into.size(), file_);
  if (got < into.size() && std::ferror(file_)) error_.assign(errno ? errno : EIO, std::generic_category());
  return got;
}

TFileContent ReadFileContent(const std::string& fileName, std::uint64_t maxBytes) {
  TInputFile file(fileName);
  TFileContent content;
  content.Size = file.Size();
  if (file.IsOpen()) {
    content.Bytes.resize(static_cast<std::size_t>(std::min(content.Size, maxBytes)));
    const std::size_t got = file.Read({reinterpret_cast<std::uint8_t*>(content.Bytes.data()), content.Bytes.size()});
    if (got < content.Bytes.size()) content.Size = got;  // cut short since it was measured
    content.Bytes.resize(got);
  }
  content.Error = file.Error();
  return content;
}
