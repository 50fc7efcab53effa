#include "data/object_output.h"

#include <cerrno>
#include <system_error>

TOutputFile::TOutputFile(const std::string& fileName) : fileName_(fileName) {
  file_ = std::fopen(fileName.c_str(), "wb");
  if (!file_) Fail(TTextId::OutputCreateErrorText);
}

TOutputFile::~TOutputFile() {
  if (file_) std::fclose(file_);
}

void TOutputFile::Write(std::string_view text) {
  if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) Fail(TTextId::OutputWriteErrorText);
}

void TOutputFile::Write(std::span<const std::uint8_t> bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail(TTextId::OutputWriteErrorText);
}

void TOutputFile::WriteWhenFull(std::string& text) {
  constexpr std::size_t kPieceSize = 1 << 20;
  if (text.size() < kPieceSize) return;
  Write(text);
  text.clear();
}

void TOutputFile::Close() {
  std::FILE* file = file_;
  file_ = nullptr;
  if (file && std::fclose(file) != 0) Fail(TTextId::OutputWriteErrorText);
}

void TOutputFile::Fail(TTextId what) const {
  const int error = errno;
  throw std::system_error(error, std::generic_category(), std::string(Text(what)) + " \"" + fileName_ + "\"");
}

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

void AppendHex(std::string& out, std::uint32_t value, int digits) {
  const std::size_t at = out.size();
  out.resize(at + digits);
  for (int i = digits - 1; i >= 0; --i, value >>= 4) out[at + i] = kDigits[value & 0xF];
}

std::uint8_t AppendHexBytes(std::string& out, std::span<const std::uint8_t> bytes) {
  const std::size_t at = out.size();
  out.resize(at + 2 * bytes.size());
  char* p = out.data() + at;
  std::uint8_t sum = 0;
  for (std::uint8_t b : bytes) {
    *p++ = kDigits[b >> 4];
    *p++ = kDigits[b & 0xF];
    sum = static_cast<std::uint8_t>(sum + b);
  }
  return sum;
}

bool RangeInImage(std::size_t imageSize, std::uint32_t base, std::uint32_t first, std::uint32_t last) {
  return first <= last && first >= base && std::uint64_t{last} - base < imageSize;
}
