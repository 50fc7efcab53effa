#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/program_state.h"
#include "ui/command_line.h"

namespace {

struct TCommandLineCase {
  std::vector<std::string> Arguments;
  int CmdLineMode;
  int AutoCloseMode;
  std::string Project;
  std::string Switch;
};

TEST(CommandLine, AProjectArmsCommandLineModeAndOnlyOffInAnyCaseArmsUnattendedClose) {
  const std::vector<TCommandLineCase> cases = {
      {{}, 0, 0, "", ""},
      {{"job.pqx"}, 1, 0, "job.pqx", ""},
      {{"/tmp/a b/job.pqx", "OFF"}, 1, 1, "/tmp/a b/job.pqx", "OFF"},
      {{"job.pqx", "off"}, 1, 1, "job.pqx", "OFF"},
      {{"job.pqx", "Off"}, 1, 1, "job.pqx", "OFF"},
      {{"job.pqx", "OF"}, 1, 0, "job.pqx", "OF"},
      {{"job.pqx", "offx"}, 1, 0, "job.pqx", "OFFX"},
      {{"job.pqx", "on", "OFF"}, 1, 0, "job.pqx", "ON"},
  };
  for (const TCommandLineCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Arguments));
    ResetProgramState();
    SessionState.AutoCloseMode = 1;  // an earlier value never survives
    SessionState.DownloadDoneCount = 5;
    ReadCommandLine(c.Arguments);
    EXPECT_EQ(SessionState.CmdLineMode, c.CmdLineMode);
    EXPECT_EQ(SessionState.AutoCloseMode, c.AutoCloseMode);
    EXPECT_EQ(SessionTexts.CmdLineProject, c.Project);
    EXPECT_EQ(SessionTexts.CmdLineSwitch, c.Switch);
    EXPECT_EQ(SessionState.DownloadDoneCount, c.Arguments.empty() ? 5 : 0);
  }
}

}  // namespace
