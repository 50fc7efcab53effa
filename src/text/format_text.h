// printf-style formatting into a std::string, for the program's texts with
// placeholders (%d, %u, %s; %02X and the like for upper-case hex).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>

#include "text/text_placeholders.h"
#include "text/text_rows.h"

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

namespace text_detail {
// FormatText of a table text, whose arguments TTextFormat has checked.
std::string FormatRow(const char* format, ...);
}  // namespace text_detail

// A row of the text table whose English text takes exactly these arguments,
// checked when the call is compiled. The Chinese text reads the same
// arguments or a leading part of them (checked where that column is linked).
template <typename... Args>
class TTextFormat {
 public:
  consteval TTextFormat(TTextId id) : id_(id) {
    if (!ArgumentsFit<Args...>(TextRow(id).English)) throw "the arguments do not fit the text's placeholders";
  }
  TTextId Id() const { return id_; }

 private:
  TTextId id_;
};

// A table text formatted in this build's language.
template <typename... Args>
std::string FormatText(TTextFormat<std::type_identity_t<Args>...> format, Args... args) {
  return text_detail::FormatRow(Text(format.Id()), args...);
}

// The longest prefix of text within width bytes that does not split a UTF-8
// character: the length a name keeps in a fixed-width field.
std::size_t Utf8CutLength(std::string_view text, std::size_t width);
