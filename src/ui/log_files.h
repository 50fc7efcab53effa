// The log file written when the main window closes: the system log in the
// folder "ZarARAzOveZ" or the operator's own log file.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "data/operator_io.h"
#include "ui/log_config.h"

inline constexpr const char* kSystemLogFolder = "ZarARAzOveZ";
inline constexpr const char* kAppendLogHeader = "Quorix Log File!";

// The log memo's lines, first to last.
using TMemoLines = std::vector<std::string>;

// "GenQRX_" + date + "_" + time + ".log", the date as yyyy/MM/dd and the time
// as hh:mm:ss with every '-', '/' and ':' turned into '_'.
std::string SystemLogFileName(const TClockTime& now);

// Writes the configured log file (TLogCfgForm.WriteLog). Nothing is written
// when GenerateLog is cleared. Returns the error text to show, if any.
std::optional<std::string> WriteLog(const TLogConfig& config, const TMemoLines& memo);

// The system log in driveRoot + "ZarARAzOveZ/", or in AppDir + "ZarARAzOveZ/"
// where that folder cannot be made or written; only a memo of more than six
// lines is saved. Named from Clock().
std::optional<std::string> WriteSystemLog(const TMemoLines& memo, const std::string& driveRoot);

// The file named by LogFileName in the configured mode; an empty name writes
// nothing.
std::optional<std::string> WriteCustomerLog(const TLogConfig& config, const TMemoLines& memo);
