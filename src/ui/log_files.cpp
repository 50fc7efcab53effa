#include "ui/log_files.h"

#include <cstdio>
#include <filesystem>

#include "data/program_state.h"
#include "platform/mount_point.h"
#include "text/text_id.h"
#include "ui/text_lines.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSystemLogMinLines = 7;  // a memo of six lines or fewer is not kept

std::string TwoDigits(int n) {
  char text[12];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// Makes the log folder below root (one level) and returns it, or nothing when
// it cannot be made.
std::optional<fs::path> MakeLogFolder(const std::string& root) {
  const fs::path folder = fs::path(root) / kSystemLogFolder;
  std::error_code ec;
  fs::create_directory(folder, ec);
  if (!fs::is_directory(folder, ec)) return std::nullopt;
  return folder;
}

}  // namespace

std::string SystemLogFileName(const TClockTime& now) {
  std::string name = "GenQRX_" + std::to_string(now.Year) + "/" + TwoDigits(now.Month) + "/" + TwoDigits(now.Day) +
                     "_" + TwoDigits(now.Hour) + ":" + TwoDigits(now.Minute) + ":" + TwoDigits(now.Second);
  for (char& c : name) {
    if (c == '-' || c == '/' || c == ':') c = '_';
  }
  return name + ".log";
}

std::optional<std::string> WriteSystemLog(const TMemoLines& memo, const std::string& driveRoot) {
  const std::string name = SystemLogFileName(Clock().Now());
  const bool keep = memo.size() >= kSystemLogMinLines;
  for (const std::string& root : {driveRoot, SessionTexts.AppDir}) {
    const std::optional<fs::path> folder = MakeLogFolder(root);
    if (!folder) continue;
    if (!keep || WriteTextLines((*folder / name).string(), memo)) return std::nullopt;
  }
  // A folder that cannot be made shows up only when there is a log to save.
  if (!keep) return std::nullopt;
  return Text(TTextId::WriteLogErrorText);
}

std::optional<std::string> WriteCustomerLog(const TLogConfig& config, const TMemoLines& memo) {
  const std::string& path = config.LogFileName;
  if (path.empty()) return std::nullopt;
  if (config.WriteMode != kLogModeAppend) {
    if (WriteTextLines(path, memo)) return std::nullopt;
    return FileWriteErrorText(path);
  }
  std::error_code ec;
  bool written;
  if (fs::exists(path, ec)) {
    written = WriteTextLines(path, memo, true);
  } else {
    TMemoLines lines{kAppendLogHeader};
    lines.insert(lines.end(), memo.begin(), memo.end());
    written = WriteTextLines(path, lines);
  }
  // A failed append is not reported; the settings file is written again.
  if (!written) SaveLogConfig(config);
  return std::nullopt;
}

std::optional<std::string> WriteLog(const TLogConfig& config, const TMemoLines& memo) {
  if (!config.GenerateLog) return std::nullopt;
  if (config.Location == kLogLocationCustomer) return WriteCustomerLog(config, memo);
  return WriteSystemLog(memo, MountPointOf(SessionTexts.AppDir));
}
