// printf-style formatting into a std::string, for the program's texts with
// placeholders (%d, %u, %s; %0.2X and the like for upper-case hex).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The longest prefix of text within width bytes that does not split a UTF-8
// character: the length a name keeps in a fixed-width field.
std::size_t Utf8CutLength(std::string_view text, std::size_t width);
