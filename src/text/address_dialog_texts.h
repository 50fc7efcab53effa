// Texts of the read-address and binary-offset dialogs.
#pragma once

inline constexpr const char* kReadAddressCaption = "Specify Read Address";
inline constexpr const char* kAddressDialogOkCaption = "OK";
// How both dialogs show the address they offer.
inline constexpr const char* kDialogAddressFormat = "0x%08X";
