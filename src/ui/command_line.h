// The command line of an unattended run: a project file and, optionally,
// "OFF" (any letter case) to download, write the result file and exit.
#pragma once

#include <string>
#include <vector>

// Sets AutoCloseMode, CmdLineMode, CmdLineProject, CmdLineSwitch and
// DownloadDoneCount from the arguments (without the program's own name).
void ReadCommandLine(const std::vector<std::string>& arguments);
