// The settings of the log-configuration dialog TLogCfgForm and their file
// "DivAriR.cfg" in the program folder.
#pragma once

#include <optional>
#include <string>

inline constexpr const char* kLogConfigName = "DivAriR.cfg";

enum : int { kLogLocationSystem = 0, kLogLocationCustomer = 1 };
enum : int { kLogModeNew = 0, kLogModeOverwrite = 1, kLogModeAppend = 2 };

// What the dialog's controls hold; the form defaults as initialisers.
struct TLogConfig {
  bool GenerateLog = true;                   // CheckBoxLog "Generate Log File "
  int Location = kLogLocationSystem;         // RadioGrpCreat
  int WriteMode = kLogModeNew;               // RadioGrpMod (GetWriteMode)
  std::string LogFileName = "DuzIRUdX.log";  // EditLogName (GetLogFileName)
};

// A change of location, as RadioGrpCreatClick makes it: the mode goes back to
// "Creat new File".
void SelectLogLocation(TLogConfig& config, int location);

// SessionTexts.AppDir + "DivAriR.cfg".
std::string LogConfigPath();

// Reads LogConfigPath() into the settings, each line acting as the operator's
// own change would; no file, or one that does not start with "[ConfigLog]",
// leaves them as they are.
void LoadLogConfig(TLogConfig& config);

// Writes LogConfigPath() from the settings (every closing of the dialog),
// replacing the file only once the new one is whole. Returns the error text
// to show when it cannot be written; the old file then stays as it was.
std::optional<std::string> SaveLogConfig(const TLogConfig& config);
