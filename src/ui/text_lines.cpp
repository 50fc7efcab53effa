#include "ui/text_lines.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "text/format_text.h"

bool ReadTextLine(std::istream& in, std::string& line) {
  if (!std::getline(in, line)) return false;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return true;
}

bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, bool append) {
  errno = 0;
  std::ofstream out(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  for (const std::string& line : lines) out << line << "\r\n";
  out.close();
  return !out.fail();
}

std::string FileWriteErrorText(const std::string& path) {
  const int error = errno;
  std::string text = FormatText(TTextId::FileCreateErrorFormat, path.c_str());
  if (error != 0) text += std::string(" ") + std::strerror(error);
  return text;
}
