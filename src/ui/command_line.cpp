#include "ui/command_line.h"

#include <cctype>

#include "data/program_state.h"

void ReadCommandLine(const std::vector<std::string>& arguments) {
  SessionState.AutoCloseMode = 0;
  if (arguments.empty()) {
    SessionState.CmdLineMode = 0;
    return;
  }
  SessionState.DownloadDoneCount = 0;
  SessionState.CmdLineMode = 1;
  SessionTexts.CmdLineProject = arguments[0];
  if (arguments.size() < 2) return;
  std::string upper = arguments[1];
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  SessionTexts.CmdLineSwitch = upper;
  SessionState.AutoCloseMode = upper == "OFF" ? 1 : 0;
}
