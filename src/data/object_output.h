// What the three object-file writers share: the output file, hex digits and
// the rule for the range to write.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "text/text_id.h"

// A file created anew (an existing one is overwritten). A file that cannot be
// created or written throws std::system_error naming it; what was written
// before stays in the file.
class TOutputFile {
 public:
  explicit TOutputFile(const std::string& fileName);
  ~TOutputFile();
  TOutputFile(const TOutputFile&) = delete;
  TOutputFile& operator=(const TOutputFile&) = delete;

  void Write(std::string_view text);
  void Write(std::span<const std::uint8_t> bytes);
  // Hands the lines gathered in text to the file, and empties text, once it
  // holds about a megabyte: a large image is written in pieces.
  void WriteWhenFull(std::string& text);
  // Flushes and closes; throws when the data did not reach the file.
  void Close();

 private:
  [[noreturn]] void Fail(TTextId what) const;
  std::string fileName_;
  std::FILE* file_ = nullptr;
};

// Appends the low 4 x digits bits of value as upper-case hex digits (digits 1..8).
void AppendHex(std::string& out, std::uint32_t value, int digits);

// Appends each byte as two upper-case hex digits; returns their sum modulo 256.
std::uint8_t AppendHexBytes(std::string& out, std::span<const std::uint8_t> bytes);

// Whether first .. last (inclusive) is a non-empty range whose bytes
// image[first - base .. last - base] all lie inside the image. A writer given
// any other range writes the file of an empty range.
bool RangeInImage(std::size_t imageSize, std::uint32_t base, std::uint32_t first, std::uint32_t last);
