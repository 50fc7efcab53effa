// Texts of the program's own that several layers show.
#pragma once

inline constexpr const char* kApplicationTitle = "Velmot200IND Flash MCU Programmer";

// The programmer model written to projects until a project names another.
inline constexpr const char* kDefaultModelName = "Velmot200XX";
