// Texts of the log-configuration dialog TLogCfgForm.
#pragma once

inline constexpr const char* kLogLocationItems[] = {"System Auto-Create Log File", "Customer Defined Log File"};
inline constexpr const char* kLogModeItems[] = {"Creat new File", "OverWrite Old File", "Append to Old File"};
inline constexpr const char* kLogOkCaption = "OK";
// The browse dialog: "All Log Files(*.Log,*.Txt)" showing *.log and *.Txt,
// and ".log" added to a name typed without an extension.
inline constexpr const char* kLogFileFilter = "All Log Files(*.Log,*.Txt) (*.log *.Txt)";
inline constexpr const char* kLogDefaultSuffix = "log";
