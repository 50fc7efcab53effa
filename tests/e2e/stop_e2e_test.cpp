// The real program asked to stop from outside, as a terminal's Ctrl+C
// (SIGINT) or a service manager (SIGTERM) asks it, while a box waits for an
// operator: it closes the box, closes its window the normal way (log
// written) and ends within seconds. Asked again while that close hangs, it
// ends at once.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "program_run.h"
#include "sim_pty.h"

namespace {

using namespace std::chrono_literals;

// Safety nets for slow sanitizer builds, not measurements.
constexpr auto kRunLimit = 90s;
constexpr auto kCloseLimit = 30s;

constexpr std::size_t kUnits = 2;

struct TStopCase {
  const char* Name;
  int Signal;
};

void PrintTo(const TStopCase& c, std::ostream* os) { *os << c.Name; }

class StoppedProgram : public testing::TestWithParam<TStopCase> {
 protected:
  void SetUp() override {
    units = std::make_unique<sim::UnitGroup>(kUnits);
    // A folder of each test's own: "DuringTheStartUpBox-Terminate" and so on.
    std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    folder = std::make_unique<TProgramFolder>(name);
    folder->ListPorts(units->Paths());
  }

  std::string Log() const { return ReadText(folder->LogFile()); }
  bool Logged(const std::string& line) const { return Log().find(" " + line + "\r\n") != std::string::npos; }
  std::string Output() const { return ReadText(folder->File("program.out")); }
  bool Searched() const {
    for (std::size_t n = 0; n < kUnits; ++n) {
      const auto received = (*units)[n].Received();
      if (received.empty() || !received.back().answered) return false;
    }
    return true;
  }
  bool PortsClosed() const {
    for (std::size_t n = 0; n < kUnits; ++n) {
      if ((*units)[n].Listeners() != 0) return false;
    }
    return true;
  }

  std::unique_ptr<sim::UnitGroup> units;
  std::unique_ptr<TProgramFolder> folder;
};

// Without "VelmotIND.FWR" start-up stops at its box, before the search.
TEST_P(StoppedProgram, DuringTheStartUpBox) {
  const std::filesystem::path firmware = folder->File("VelmotIND.FWR");
  std::filesystem::remove(firmware);
  // Start-up deletes an old result file shortly before the box; the program
  // takes stop requests from before that.
  const std::filesystem::path stale = folder->File("ResDW.Txt");
  std::ofstream(stale) << "Download Success\r\n";
  TProgramProcess program(*folder, {});
  ASSERT_TRUE(WaitUntil([&] { return !std::filesystem::exists(stale); }, kRunLimit)) << Output();

  ASSERT_EQ(program.Close(kCloseLimit, GetParam().Signal), 0) << Output();
  EXPECT_TRUE(Logged("Hello Velmot200IND User! ------ ")) << Log();
  EXPECT_TRUE(Logged("File \"" + firmware.string() + "\" not found, Please confirm!")) << Log();
  for (std::size_t n = 0; n < kUnits; ++n) EXPECT_EQ((*units)[n].ReceivedCount(), 0u) << n;
}

// Without "OFF" a missing command-line project is shown in a box, once the
// search has found every unit.
TEST_P(StoppedProgram, DuringABoxOfTheRunningProgram) {
  const std::string project = folder->File("missing.pqx").string();
  TProgramProcess program(*folder, {project});
  ASSERT_TRUE(WaitUntil([this] { return ShownAMessageBox(*folder); }, kRunLimit)) << Output();
  EXPECT_TRUE(Searched());

  ASSERT_EQ(program.Close(kCloseLimit, GetParam().Signal), 0) << Output();
  EXPECT_TRUE(Logged("File of " + project + " is not found!")) << Log();
}

// The log file is a FIFO that nobody reads: the close that SIGTERM begins
// stops the ports, then waits for ever to write the log. The second signal
// ends the program, killed by that signal.
TEST_P(StoppedProgram, AtASecondSignalWhileTheCloseHangs) {
  const std::filesystem::path log = folder->LogFile();
  ASSERT_EQ(::mkfifo(log.c_str(), 0644), 0) << std::strerror(errno);
  TProgramProcess program(*folder, {});
  ASSERT_TRUE(WaitUntil([this] { return Searched(); }, kRunLimit)) << Output();

  program.Signal(SIGTERM);
  // The first signal has been taken: the close has begun.
  ASSERT_TRUE(WaitUntil([this] { return PortsClosed(); }, kCloseLimit)) << Output();
  EXPECT_TRUE(program.Running());

  const int second = GetParam().Signal;
  EXPECT_EQ(program.Close(kCloseLimit, second), 128 + second) << Output();
}

INSTANTIATE_TEST_SUITE_P(Signals, StoppedProgram,
                         testing::Values(TStopCase{"Terminate", SIGTERM}, TStopCase{"Interrupt", SIGINT}),
                         [](const testing::TestParamInfo<TStopCase>& info) { return std::string(info.param.Name); });

}  // namespace
