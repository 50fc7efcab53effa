// The layout texts of the option dialogs (captions, labels, list items):
// not set at run time by a show handler, so the same in both language builds.
#pragma once

// AC78xx.
inline constexpr const char* kAC78xCaption = "Config N32xx Option Byte Wizard";
inline constexpr const char* kAC78xReadProtectionLabel = "读保护设置：";
inline constexpr const char* kAC78xReadProtectionItems[] = {"Level 0：无读保护", "Level 1：读保护（可解除）"};
inline constexpr const char* kAC78xWatchdogLabel = "看门狗设置：";
inline constexpr const char* kAC78xWatchdogItems[] = {"WDT 关闭", "WDT 开启"};
inline constexpr const char* kAC78xWordLabels[] = {"页写保护设置（0-15）：   ",  "页写保护设置（16-31）：   ",
                                                   "页写保护设置（32-47）：   ", "页写保护设置（48-63）：   ",
                                                   "用户数据0：",                "用户数据1："};

// AU30x.
inline constexpr const char* kAUCUxCaption = "Config Setting ";

struct TAUCUxBox {
  const char* Name;
  const char* Caption;
  bool Enabled;  // FUNC JTAG and the Info_rgn1 lock are only shown
};

// The check boxes, in the order of TAUCUxCfgForm's members.
inline constexpr TAUCUxBox kAUCUxBoxes[] = {
    {"ChkBoxLFC", "启用生命周期权限管理", true}, {"ChkBoxDnURT0", "禁用UART0", true},
    {"ChkBoxDnURT1", "禁用UART1", true},         {"ChkBoxDnURT2", "禁用UART2", true},
    {"ChkBoxDnJTAG", "禁用FUNC JTAG", false},     {"ChkBoxDnBOT", "禁用UART0 BOOT", true},
    {"ChkBoxDnRGN1", "锁定Info_rgn1", false},
};

// LCP037/LCM32F037. The formats take Qt's %1, %2 arguments.
inline constexpr const char* kLCMPxCaption = "Config LCM32xx/LCP037xx Option Byte Wizard";
inline constexpr const char* kLCMPxUserCaption = "USER";
inline constexpr const char* kLCMPxDataCaption = "DATA";
inline constexpr const char* kLCMPxReadProtectionCaption = "RDP";
inline constexpr const char* kLCMPxBoot0Items[] = {"nBOOT0 = 0", "nBOOT0 = 1"};
inline constexpr const char* kLCMPxBoot1Items[] = {"nBOOT1 = 0", "nBOOT1 = 1"};
inline constexpr const char* kLCMPxBootSelItems[] = {"BOOT_SEL = 0", "BOOT_SEL = 1"};
inline constexpr const char* kLCMPxWatchdogItems[] = {"0 : 硬件看门狗", "1 ：软件看门狗"};
inline constexpr const char* kLCMPxReadProtectionItems[] = {"0xAA ：未保护", "0x00 ：启用保护"};
inline constexpr const char* kLCMPxWriteProtectionTabFormat = "WRP%1-写保护%1";
inline constexpr const char* kLCMPxWriteProtectionBoxFormat = "WRP%1 Bit%2 (允许写保护） ";
inline constexpr const char* kLCMPxReadProtectionLabelFormat = "读保护%1 ： ";

// SPD117x.
inline constexpr const char* kSPD117xCaption = "SPD117x Chip Configuration";
inline constexpr const char* kSPD117xLockCaption = "Lock Chip Debug Interface";
inline constexpr const char* kSPD117xWatchdogCaption = "Enable watchdog when chip start-up";
