#include "ui/text_lines.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <system_error>

#include "platform/file_bytes.h"
#include "text/format_text.h"

bool ReadTextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

namespace {

std::string WithLineEnds(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string ErrorText(const std::string& path, int error) {
  std::string text = FormatText(TTextId::FileCreateErrorFormat, path.c_str());
  if (error != 0) text += std::string(" ") + std::strerror(error);
  return text;
}

}  // namespace

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, bool append) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  out << WithLineEnds(lines);
  out.close();
  return !out.fail();
}

std::optional<std::string> ReplaceTextLines(const std::string& path, const std::vector<std::string>& lines) {
  const std::string text = WithLineEnds(lines);
  try {
    ReplaceFileBytes(path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    return std::nullopt;
  } catch (const std::system_error& error) {
    return ErrorText(path, error.code().value());
  }
}

std::string FileWriteErrorText(const std::string& path) { return ErrorText(path, errno); }
