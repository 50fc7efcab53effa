// Texts of the flash-driver loader.
#pragma once

inline constexpr const char* kNoDriverForChip = "Error Chip or Driver not exists!";
inline constexpr const char* kNoDriverFound = "No Driver Has been Founded, Please Check!";
inline constexpr const char* kDriverCorrupt = "Driver Data Check Error, File may be corrupted!";
inline constexpr const char* kDriverFileMissingFormat = "File \"%s\" is not exists, please check it!";
