// Texts of the chip-selection dialog and of the window's chip change.
#pragma once

inline constexpr const char* kChipSelectCaption = "Chip Select Dialog";
inline constexpr const char* kChipSelectOkCaption = "OK";
inline constexpr const char* kChipSelectNoCaption = "&No";
inline constexpr const char* kVendorGroupCaption = "选择芯片厂家";

// The log lines and the chip-information label of a chip change. Sizes are
// signed decimal numbers, addresses eight upper-case hex digits.
inline constexpr const char* kChipSelectedFormat = "Chip \"%s\" has been selected!";
inline constexpr const char* kChipSizesFormat = "Main Flash=%dByte, EEP=%dBytes";
inline constexpr const char* kChipNoEepFormat = "Main Flash= %dBytes, No EEP.";
inline constexpr const char* kMainSizeFormat = "Chip Main Flash Memory Size = %dBytes.";
inline constexpr const char* kMainStartFormat = "Chip Main Flash Start Address = 0x%08X.";
inline constexpr const char* kMainEndFormat = "Chip Main Flash End Address  = 0x%08X.";
inline constexpr const char* kEepStartFormat = "Chip EEP Data Start Address = 0x%08X.";
inline constexpr const char* kEepEndFormat = "Chip EEP Data End Address  = 0x%08X.";

// The chip-selection button while a programmer runs an operation: the
// running steps read the selected chip, so it must not change under them.
inline constexpr const char* kChipChangeBusyText =
    "A programmer is busy, please wait until it has finished before changing the chip!";
