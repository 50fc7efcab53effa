#include "link/unattended_run.h"

#include <filesystem>
#include <span>
#include <system_error>

#include "data/log_lines.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/driver_check.h"
#include "link/operation_starters.h"
#include "link/programmers_in_use.h"
#include "link/serial_step.h"
#include "platform/file_bytes.h"
#include "text/format_text.h"
#include "text/unattended_texts.h"
#include "text/window_texts.h"

namespace {

constexpr std::uint8_t kProgramEepBit = 0x08;  // "Prog. Data Flash" in ProgramStepFlags

// A file as the program's own file checks see one: there, and not a folder.
bool ProjectFileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

// The command-line project opens without a box, whoever is at the window:
// its messages are logged, and so is the system's error for a file that
// cannot be read. True when the project was read.
bool OpenedSilenced(IStartupSearchActions& actions, const std::string& path) {
  const TSilencedPrompts silenced;
  try {
    return actions.OpenProjectFile(path) == 0;
  } catch (const std::system_error& error) {
    AddLog(error.what());
    return false;
  }
}

}  // namespace

TStartupSearch StartupSearchTick(IStartupSearchActions& actions) {
  TSessionState& s = SessionState;
  if (s.StartSearchPending) {
    s.StartSearchPending = 0;
    actions.SearchAgain();
  }
  const bool holdForUpgrade = s.CmdLineMode && s.UpgradeRunning;
  if (s.FoundDeviceCount >= s.ProgrammerCount && !holdForUpgrade) return TStartupSearch::AllAnswered;
  // A running upgrade is busy too; a failed one stays pending and holds
  // nothing.
  if (s.UpgradeRunning && !AnyProgrammerBusy()) {
    s.UpgradeRunning = 0;
    actions.Pause(kUpgradeResearchPause);
    actions.SearchAgain();
  }
  return TStartupSearch::Waiting;
}

void StartCommandLineDownload(IStartupSearchActions& actions) {
  if (!SessionState.CmdLineMode) return;
  const std::string path = SessionTexts.CmdLineProject;
  if (!ProjectFileExists(path)) {
    LogAndShow(FormatText(TTextId::ProjectNotFoundFormat, path.c_str()));
    return;
  }
  if (!OpenedSilenced(actions, path)) return;
  if (DriverMissingFor(kDownloadStates)) {
    LogAndShow(DriverMissingText());
    return;
  }
  if (const auto refusal = SerialStepRefusalFor(kDownloadStates)) {
    LogAndShow(*refusal);
    return;
  }
  // The operator's Download collects this from the window first; here the
  // project's own setting stands, or its EEP data would never be sent.
  ProgramSettings.EepProgram = (SelectedChip.ControlBytes.ProgramStepFlags & kProgramEepBit) ? 1 : 0;
  // The download's first step starts on an empty receive buffer.
  for (int n = 0; n < ProgrammersInUse(); ++n) StartDownloadChipData(n);
}

bool TUnattendedEnd::Tick() {
  const TSessionState& s = SessionState;
  if (written_ || !s.AutoCloseMode || s.DownloadDoneCount == 0 || s.DownloadDoneCount != s.FoundDeviceCount)
    return false;
  // Each try creates, syncs and removes a file: not at every tick.
  if (retryWait_ > 0 && --retryWait_ > 0) return false;
  const std::string path = SessionTexts.AppDir + kResultFileName;
  const std::string line = std::string(kDownloadSuccessLine) + "\r\n";
  try {
    ReplaceFileBytes(path, std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
  } catch (const std::system_error& error) {
    if (!failureReported_) AddLog(FormatText(TTextId::ResultFileErrorFormat, error.what()));
    failureReported_ = true;
    retryWait_ = kResultRetryTicks;
    return false;
  }
  // The log would otherwise end on the error although the file is there.
  if (failureReported_) AddLog(FormatText(TTextId::ResultFileWrittenFormat, path.c_str()));
  written_ = true;
  return true;
}
