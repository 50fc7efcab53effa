// Texts of the option dialogs, the constant-filling dialog and their window
// commands that code uses beside the table's rows: number texts, the items
// of the constant-filling dialog as rows, and two texts the same in both
// language builds.
#pragma once

#include "text/text_id.h"

// AC78xx: the words that the read-protection and watchdog panels show for
// the chosen item, and how a 16-bit word shows in its edit (high byte, then
// low byte).
inline constexpr const char* kAC78xReadProtectionWords[] = {"0xFFAC", "0xFF00"};
inline constexpr const char* kAC78xWatchdogWords[] = {"0xFFFF", "0xFF33"};
inline constexpr const char* kAC78xWordFormat = "0x%02X%02X";

// LCP037/LCM32F037: the caption at show is the part name followed by this
// (not one of the show-handler captions that the Chinese build changes).
inline constexpr const char* kLCMPxCaptionSuffix = " Option Byte Setup";

// The constant-filling dialog: the items its show handler sets (its other
// texts are rows of the table too).
inline constexpr TTextId kSnAddressScopeItems[] = {TTextId::ConstantMainAreaItem, TTextId::ConstantEepAreaItem};
inline constexpr TTextId kSnDataFormatItems[] = {TTextId::ConstantAsciiItem, TTextId::ConstantHexItem};

// "Fill SN Data" before a chip is chosen and data loaded (the same text in
// both language builds).
inline constexpr const char* kSelectChipAndLoadDataText = "请先选择芯片并加载数据文件！";
