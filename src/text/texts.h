// Texts of the program's own that several layers show.
#pragma once

inline constexpr const char* kApplicationTitle = "Velmot200IND Flash MCU Programmer";
