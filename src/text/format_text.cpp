#include "text/format_text.h"

#include <cstdarg>
#include <cstdio>

namespace {

std::string FormatList(const char* format, std::va_list args) {
  std::va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  return text;
}

}  // namespace

std::string FormatText(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = FormatList(format, args);
  va_end(args);
  return text;
}

std::string text_detail::FormatRow(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::string text = FormatList(format, args);
  va_end(args);
  return text;
}

std::size_t Utf8CutLength(std::string_view text, std::size_t width) {
  if (text.size() <= width) return text.size();
  std::size_t n = width;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
  return n;
}
