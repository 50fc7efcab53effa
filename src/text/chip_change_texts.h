// The layout texts of the chip-selection dialog.
#pragma once

inline constexpr const char* kChipSelectCaption = "Chip Select Dialog";
inline constexpr const char* kChipSelectOkCaption = "OK";
inline constexpr const char* kChipSelectNoCaption = "&No";
inline constexpr const char* kVendorGroupCaption = "选择芯片厂家";
