// The save dialog of the memory save.
#pragma once

// The save dialog of "&Save Memory to File": binary, Intel HEX, S-record, in
// this order. Each entry is its description with its file pattern in the
// last parentheses.
inline constexpr const char* kSaveMemoryFilters[] = {
    "All Binary Files(*.BIN)",
    "Intel Hex Files(*.HEX)",
    "Motorola S-record Files(*.mot) (*.S19)",
};
inline constexpr const char* kSaveMemoryDefaultSuffix = "bin";
