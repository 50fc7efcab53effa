// The start lines of the operation steps and the lines of the two shared
// closing steps (typos are the program's own and stay).
#pragma once

inline constexpr const char* kStartDownloadChipDataText = "Start to Download Chip Data......";
inline constexpr const char* kStartDownloadMainDataText = "Start to Download Main Flash Data......";
inline constexpr const char* kStartDownloadEepDataText = "Start to Dwonload EEP Data......";
inline constexpr const char* kStartAutoProgrammingText = "Start Auto-Programming, Do Chip Blank Checking......";
inline constexpr const char* kStartBlankCheckText = "Start to Chip Blank Checking......";
inline constexpr const char* kStartProgramMainText = "Start to Program Main Flash Data......";
inline constexpr const char* kStartProgramEepText = "Start to program EEP Data......";
inline constexpr const char* kStartVerifyMainText = "Start to Verify Main Flash Data......";
inline constexpr const char* kStartVerifyEepText = "Start to Verify EEP Data......";
inline constexpr const char* kStartWriteOptionText = "Write Chip Option/Config Data......";
inline constexpr const char* kStartReadOptionText = "Read Chip Option/Config Data ......";
inline constexpr const char* kStartReadMainText = "Read Chip Main Flash Data......";
inline constexpr const char* kStartReadEepText = "Read Chip EEP Data......";
inline constexpr const char* kStartReadChecksumText = "Read Chip CheckSum Data......";

inline constexpr const char* kDataDownloadSuccessText = "Data Donwload Success!";
inline constexpr const char* kMainProgrammingSuccessText = "Main Flash Programming Success!";
