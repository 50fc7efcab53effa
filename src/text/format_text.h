// printf-style formatting into a std::string, for the program's texts with
// placeholders (%d, %u, %s; %0.2X and the like for upper-case hex).
#pragma once

#include <string>

std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
