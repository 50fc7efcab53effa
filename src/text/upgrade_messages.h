// The log lines of a programmer's firmware upgrade, each formatted with the
// programmer's number (typo included).
#pragma once

inline constexpr const char* kUpgradeStartFormat = "Start to Upgrade Programmer %ds Firmware......";
inline constexpr const char* kUpgradeCompletedFormat = "Programmer %ds Firmware Fpgrade Completed!";
