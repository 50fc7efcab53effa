#include "ui/log_config.h"

#include <fstream>
#include <vector>

#include "data/program_state.h"
#include "ui/text_lines.h"

namespace {

constexpr const char* kFirstLine = "[ConfigLog]";
constexpr const char* kLastLine = "[EndCfg]";
constexpr const char* kFileNamePrefix = "SpcFile=";
constexpr const char* kModeLines[] = {"CusDef0", "CusDef1", "CusDef2"};

// One line of the file, compared whole and case-sensitively.
void ApplyLine(TLogConfig& config, const std::string& line) {
  if (line == "EnLog") config.GenerateLog = true;
  if (line == "DnLog") config.GenerateLog = false;
  if (line == "System") SelectLogLocation(config, kLogLocationSystem);
  if (line == "Customer") SelectLogLocation(config, kLogLocationCustomer);
  for (int mode = kLogModeNew; mode <= kLogModeAppend; ++mode) {
    if (line == kModeLines[mode]) config.WriteMode = mode;
  }
  if (line.starts_with(kFileNamePrefix)) config.LogFileName = line.substr(std::string(kFileNamePrefix).size());
}

}  // namespace

void SelectLogLocation(TLogConfig& config, int location) {
  config.Location = location;
  config.WriteMode = kLogModeNew;
}

std::string LogConfigPath() { return SessionTexts.AppDir + kLogConfigName; }

void LoadLogConfig(TLogConfig& config) {
  std::ifstream in(LogConfigPath(), std::ios::binary);
  std::string line;
  if (!ReadTextLine(in, line) || line != kFirstLine) return;
  while (ReadTextLine(in, line) && line != kLastLine) ApplyLine(config, line);
}

std::optional<std::string> SaveLogConfig(const TLogConfig& config) {
  std::vector<std::string> lines{kFirstLine, config.GenerateLog ? "EnLog" : "DnLog"};
  if (config.Location == kLogLocationCustomer) {
    lines.push_back("Customer");
    const bool knownMode = config.WriteMode >= kLogModeNew && config.WriteMode <= kLogModeAppend;
    lines.push_back(kModeLines[knownMode ? config.WriteMode : kLogModeNew]);
    lines.push_back(kFileNamePrefix + config.LogFileName);
  } else {
    lines.push_back("System");
  }
  lines.push_back(kLastLine);
  // Replaced whole: a cut file would be read as no file at the next start.
  return ReplaceTextLines(LogConfigPath(), lines);
}
