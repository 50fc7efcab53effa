// Texts of the checksum lines and the memory save.
#pragma once

inline constexpr const char* kMainChecksumFormat = "Chip Main Flash ACC32 CheckSum = 0x%08X.";
inline constexpr const char* kEepChecksumFormat = "Chip EEP Data ACC32 CheckSum   = 0x%08X";
inline constexpr const char* kReadMainChecksumFormat = "Read Chip Main Flash ACC32 CheckSum = 0x%08X.";
inline constexpr const char* kReadEepChecksumFormat = "Read Chip EEP Data ACC32 CheckSum = 0x%08X.";

// The save dialog of "&Save Memory to File": binary, Intel HEX, S-record, in
// this order. Each entry is its description with its file pattern in the
// last parentheses.
inline constexpr const char* kSaveMemoryFilters[] = {
    "All Binary Files(*.BIN)",
    "Intel Hex Files(*.HEX)",
    "Motorola S-record Files(*.mot) (*.S19)",
};
inline constexpr const char* kSaveMemoryDefaultSuffix = "bin";
