// Texts the option dialogs, the constant-filling dialog and their window
// commands set while the program runs.
#pragma once

// AC78xx: the words that the read-protection and watchdog panels show for
// the chosen item, and how a 16-bit word shows in its edit (high byte, then
// low byte).
inline constexpr const char* kAC78xReadProtectionWords[] = {"0xFFAC", "0xFF00"};
inline constexpr const char* kAC78xWatchdogWords[] = {"0xFFFF", "0xFF33"};
inline constexpr const char* kAC78xWordFormat = "0x%02X%02X";

// LCP037/LCM32F037: the caption at show is the part name followed by this.
inline constexpr const char* kLCMPxCaptionSuffix = " Option Byte Setup";

// The constant-filling dialog: the captions and items its show handler sets.
inline constexpr const char* kSnAddressScopeCaption = " SN Address Scope ";
inline constexpr const char* kSnAddressScopeItems[] = {"Main Flash Area", "EEP Flash Area"};
inline constexpr const char* kSnDataFormatItems[] = {"ASCII Code(String)", "HEX Data"};
inline constexpr const char* kSnStartAddressLabel = "Data Starting Address:";
inline constexpr const char* kSnDataContentLabel = "Data Content(Hex data Separated by spaces):  ";
// OK with no data; and a constant that would not lie wholly inside its area.
inline constexpr const char* kSnInputDataText = "Please input valid Serial No. Data!";
inline constexpr const char* kAddressOutOfChipMemoryText = "Address is out of Chip Memory!";

// "Fill SN Data" before a chip is chosen and data loaded (the same text in
// both language builds).
inline constexpr const char* kSelectChipAndLoadDataText = "请先选择芯片并加载数据文件！";
