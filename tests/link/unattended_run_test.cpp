// The timers' work besides the reply watch: the start-up search and the
// wait for every programmer, the search again after upgrades, the
// command-line download and the end of an unattended run. The window's
// side (search, project opening, pause) is a fake that records its calls;
// the whole run at the end goes over real ports to simulated units.
#include "link/unattended_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>
#include <thread>

#include "data/operator_io.h"
#include "gang_fixture.h"
#include "link/firmware_file.h"
#include "project/project_file.h"
#include "sim_files.h"
#include "temp_folder.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = sim::Bytes;

class TRecordingActions final : public IStartupSearchActions {
 public:
  void SearchAgain() override {
    Calls.push_back("search");
    if (OnSearch) OnSearch();
  }
  std::uint8_t OpenProjectFile(const std::string& path) override {
    Calls.push_back("open " + path);
    if (OnOpen) OnOpen();
    return OpenResult;
  }
  void Pause(std::chrono::milliseconds time) override {
    Calls.push_back("pause " + std::to_string(time.count()));
    if (OnPause) OnPause(time);
  }

  Lines Calls;
  std::uint8_t OpenResult = kProjectOpenOk;
  std::function<void()> OnSearch;
  std::function<void()> OnOpen;
  std::function<void(std::chrono::milliseconds)> OnPause;
};

class UnattendedRun : public OperationTest {
 protected:
  static bool AnyStarted() {
    for (int ch = 0; ch < kProgrammerMax; ++ch) {
      if (ProgrammerState.ChannelBusy[ch] || ProgrammerState.ProgOpCode[ch] != kOpIdle) return true;
    }
    return false;
  }
  // Command-line mode with a project file that exists.
  void CommandLine(std::uint8_t inUse) {
    SessionState.CmdLineMode = 1;
    SessionState.ProgrammerCount = inUse;
    SessionTexts.CmdLineProject = folder.Dir() + "job.pqx";
    WriteFile(SessionTexts.CmdLineProject, "project");
  }

  TRecordingActions actions;
  TempFolder folder;
};

struct TSearchTickCase {
  const char* What;
  bool CmdLineMode;
  int InUse, Found;
  bool UpgradeRunning;
  std::vector<int> Upgrading;  // busy with their upgrade
  std::vector<int> Failed;     // whose upgrade failed: still pending, not busy
  std::vector<int> Busy;       // running an operation
  Lines Calls;
  TStartupSearch Result;
  int UpgradeRunningAfter;
};

// The search after the upgrades cuts off nothing: it waits while any
// programmer is busy, an upgrade or an operation, and a failed upgrade
// holds it back no longer than one that ended well.
TEST_F(UnattendedRun, EachTickDecidesBetweenWaitingSearchingAgainAndDone) {
  using enum TStartupSearch;
  const Lines again{"pause 500", "search"};
  const std::vector<TSearchTickCase> cases = {
      {"one of two answered", true, 2, 1, false, {}, {}, {}, {}, Waiting, 0},
      {"all answered", true, 3, 3, false, {}, {}, {}, {}, AllAnswered, 0},
      {"more answers than programmers in use", false, 2, 3, false, {}, {}, {}, {}, AllAnswered, 0},
      {"an upgrade still running holds a command-line run", true, 3, 3, true, {1}, {}, {}, {}, Waiting, 1},
      {"the upgrades have ended: search again after the pause", true, 3, 3, true, {}, {}, {}, again, Waiting, 0},
      {"a boot loader upgraded instead of counted", false, 2, 1, true, {}, {}, {}, again, Waiting, 0},
      {"the operator's window is done whatever upgrades", false, 3, 3, true, {2}, {}, {}, {}, AllAnswered, 1},
      {"fewer answered while one still upgrades", false, 2, 1, true, {0}, {}, {}, {}, Waiting, 1},
      {"a failed upgrade: searched again once, like one that ended well", false, 2, 1, true, {}, {1}, {}, again,
       Waiting, 0},
      {"a failed upgrade in a command-line run", true, 2, 1, true, {}, {1, 4}, {}, again, Waiting, 0},
      {"an operation still running: the search waits", false, 2, 1, true, {}, {}, {0}, {}, Waiting, 1},
      {"an operation running beside a failed upgrade", true, 2, 1, true, {}, {1}, {0}, {}, Waiting, 1},
  };
  for (const TSearchTickCase& c : cases) {
    SCOPED_TRACE(c.What);
    ResetProgramState();
    actions.Calls.clear();
    SessionState.CmdLineMode = c.CmdLineMode;
    SessionState.ProgrammerCount = static_cast<std::uint8_t>(c.InUse);
    SessionState.FoundDeviceCount = static_cast<std::uint8_t>(c.Found);
    SessionState.UpgradeRunning = c.UpgradeRunning;
    TProgrammerState& p = ProgrammerState;
    for (const int n : c.Upgrading) {
      p.UpgradePending[n] = p.ChannelBusy[n] = 1;
      p.ProgOpCode[n] = kOpFirmwareUpgrade;
    }
    for (const int n : c.Failed) p.UpgradePending[n] = 1;
    for (const int n : c.Busy) {
      p.ChannelBusy[n] = 1;
      p.ProgOpCode[n] = kOpProgramMain;
    }

    EXPECT_EQ(StartupSearchTick(actions), c.Result);
    EXPECT_EQ(actions.Calls, c.Calls);
    EXPECT_EQ(SessionState.UpgradeRunning, c.UpgradeRunningAfter);
  }
}

TEST_F(UnattendedRun, TheFirstTickSearchesOnceAndWithoutPortsIsDoneAtOnce) {
  SessionState.StartSearchPending = 1;
  SessionState.ProgrammerCount = 2;
  EXPECT_EQ(StartupSearchTick(actions), TStartupSearch::Waiting);
  EXPECT_EQ(SessionState.StartSearchPending, 0);
  EXPECT_EQ(StartupSearchTick(actions), TStartupSearch::Waiting);
  EXPECT_EQ(actions.Calls, Lines{"search"});

  actions.Calls.clear();
  SessionState.StartSearchPending = 1;
  SessionState.ProgrammerCount = 0;
  EXPECT_EQ(StartupSearchTick(actions), TStartupSearch::AllAnswered);
  EXPECT_EQ(actions.Calls, Lines{"search"});
}

// Logged, and shown to the operator unless the run is unattended ("OFF").
TEST_F(UnattendedRun, AMissingProjectIsLoggedShownUnlessUnattendedAndStartsNothing) {
  const std::string missing = folder.Dir() + "no such job.pqx";
  for (const bool off : {false, true}) {
    for (const std::string& path : {missing, folder.Dir()}) {
      SCOPED_TRACE(path + (off ? " OFF" : ""));
      memo.Lines.clear();
      prompts.Shown.clear();
      CommandLine(3);
      SessionState.AutoCloseMode = off;
      SessionTexts.CmdLineProject = path;
      StartCommandLineDownload(actions);
      const std::string text = "File of " + path + " is not found!";
      EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 " + text});
      EXPECT_EQ(prompts.Shown, off ? Lines{} : Lines{text});
      EXPECT_TRUE(actions.Calls.empty());
      EXPECT_FALSE(AnyStarted());
    }
  }
}

// Whoever is at the window, the project opens without a box; the boxes after
// it are the operator's again.
TEST_F(UnattendedRun, TheProjectOpensWithTheBoxesSilencedAndOnlyThen) {
  CommandLine(1);
  bool silencedWhileOpen = false;
  actions.OnOpen = [&silencedWhileOpen] {
    silencedWhileOpen = PromptsSilenced();
    Prompts().ShowInfo("Project File Open Success!");
  };
  StartCommandLineDownload(actions);
  EXPECT_TRUE(silencedWhileOpen);
  EXPECT_FALSE(PromptsSilenced());
  ASSERT_FALSE(memo.Lines.empty());
  EXPECT_EQ(memo.Lines[0], "> 10:21:07 Project File Open Success!");
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(UnattendedRun, AProjectThatFailsToReadStartsNoDownload) {
  for (const std::uint8_t result : {kProjectBadMagic, kProjectNoCfgTag, kProjectNoMfmTag, kProjectNoEepTag,
                                    kProjectSumMismatch, kProjectDamaged}) {
    SCOPED_TRACE(int{result});
    actions.Calls.clear();
    CommandLine(3);
    actions.OpenResult = result;
    StartCommandLineDownload(actions);
    EXPECT_EQ(actions.Calls, Lines{"open " + SessionTexts.CmdLineProject});
    EXPECT_FALSE(AnyStarted());
    EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpIdle);
  }
}

// A project that is there but cannot be read: the system's error is logged,
// no box opens whoever is at the window, and nothing starts.
TEST_F(UnattendedRun, AProjectThatCannotBeReadIsLoggedWithoutABoxAndStartsNoDownload) {
  for (const bool off : {false, true}) {
    SCOPED_TRACE(off ? "OFF" : "without OFF");
    memo.Lines.clear();
    prompts.Shown.clear();
    CommandLine(3);
    SessionState.AutoCloseMode = off;
    const std::system_error error(EIO, std::generic_category(), SessionTexts.CmdLineProject);
    actions.OnOpen = [&error] { throw error; };
    EXPECT_NO_THROW(StartCommandLineDownload(actions));
    EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 " + std::string(error.what())});
    EXPECT_TRUE(prompts.Shown.empty());
    EXPECT_FALSE(AnyStarted());
    EXPECT_EQ(PromptsSilenced(), off);  // the silence of the open ends with it
  }
}

// The refusal is logged, and shown too when an operator is at the window.
TEST_F(UnattendedRun, AChipWhoseFlashDriverDidNotLoadStartsNoDownload) {
  const std::string text = "Flash Driver \"/line/QuorixDRVs/LDR09.VDR\" Not Loaded, Operation Not Started!";
  for (const bool off : {false, true}) {
    SCOPED_TRACE(off ? "OFF" : "without OFF");
    memo.Lines.clear();
    prompts.Shown.clear();
    CommandLine(2);
    SessionState.AutoCloseMode = off;
    actions.OnOpen = [] {
      SelectedChip.UseFlashDriver = 1;
      SessionState.DriverValid = 0;
      SessionTexts.DriverFilePath = "/line/QuorixDRVs/LDR09.VDR";
    };
    StartCommandLineDownload(actions);
    EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 " + text});
    EXPECT_EQ(prompts.Shown, off ? Lines{} : Lines{text});
    EXPECT_FALSE(AnyStarted());
  }
}

// Each programmer steps its serial numbers by the gain of all programmers
// in use, a step the chip-data block carries in 16 bits. One that does not
// fit starts nothing, logged and, with an operator at the window, shown; one
// that fits, or that the programmers never use (S/N off), downloads.
TEST_F(UnattendedRun, ASerialStepThatDoesNotFitStartsNoDownload) {
  struct Case {
    const char* What;
    std::uint16_t Gain;
    int InUse;
    bool SerialNumbers, Off, Refused;
  };
  const Case cases[] = {
      {"a step of 65536 is 0", 8192, 8, true, false, true},
      {"unattended: logged only", 8192, 8, true, true, true},
      {"a step of 65540 wraps", 6554, 10, true, false, true},
      {"the largest step fits", 13107, 5, true, false, false},
      {"S/N off: the step is not used", 8192, 8, false, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    for (int ch = 0; ch < kProgrammerMax; ++ch) {
      ProgrammerState.ProgOpCode[ch] = kOpIdle;
      ProgrammerState.ChannelBusy[ch] = 0;
    }
    memo.Lines.clear();
    prompts.Shown.clear();
    CommandLine(static_cast<std::uint8_t>(c.InUse));
    SessionState.AutoCloseMode = c.Off;
    actions.OnOpen = [&c] {
      ProgramSettings.SnGain = c.Gain;
      ProgramSettings.SnFlags = c.SerialNumbers ? 0x05 : 0x04;
    };
    StartCommandLineDownload(actions);
    const std::string text = "S/N step too large for stand-alone programming: S/N Gain " + std::to_string(c.Gain) +
                             " x " + std::to_string(c.InUse) + " programmers = " +
                             std::to_string(c.Gain * c.InUse) + ", above 65535. Download not started!";
    if (c.Refused) {
      EXPECT_EQ(memo.Lines, Lines{"> 10:21:07 " + text});
    } else {
      EXPECT_TRUE(std::ranges::none_of(memo.Lines, [](const std::string& line) {
        return line.find("S/N step") != std::string::npos;
      }));
    }
    EXPECT_EQ(prompts.Shown, c.Refused && !c.Off ? Lines{text} : Lines{});
    EXPECT_EQ(AnyStarted(), !c.Refused);
  }
}

TEST_F(UnattendedRun, OutsideCommandLineModeNothingIsOpened) {
  CommandLine(2);
  SessionState.CmdLineMode = 0;
  StartCommandLineDownload(actions);
  EXPECT_TRUE(actions.Calls.empty());
  EXPECT_FALSE(AnyStarted());
}

// The operator's Download takes "Prog. Data Flash" from the window; the
// command line takes it from the project's program-step flags.
TEST_F(UnattendedRun, TheProjectDecidesWhetherEepDataIsDownloaded) {
  for (const std::uint8_t flags : {0x17, 0x1F}) {
    SCOPED_TRACE(int{flags});
    CommandLine(1);
    ProgramSettings.EepProgram = flags == 0x17;  // the opposite beforehand
    actions.OnOpen = [flags] { SelectedChip.ControlBytes.ProgramStepFlags = flags; };
    StartCommandLineDownload(actions);
    EXPECT_EQ(ProgramSettings.EepProgram, flags == 0x1F ? 1 : 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpChipDataDownload);
    EXPECT_EQ(ProgrammerState.ProgOpCode[1], kOpIdle);  // not in use
  }
}

struct TEndCase {
  int AutoCloseMode, Done, Found;
  bool Ends;
};

TEST_F(UnattendedRun, TheRunEndsWhenEveryFoundProgrammerHasItsDownload) {
  const TEndCase cases[] = {
      {1, 3, 3, true}, {1, 2, 3, false}, {0, 3, 3, false}, {1, 0, 0, false}, {1, 1, 1, true},
  };
  SessionTexts.AppDir = folder.Dir();
  const std::string result = folder.Dir() + "ResDW.Txt";
  for (const TEndCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.AutoCloseMode << " " << c.Done << " of " << c.Found);
    std::filesystem::remove(result);
    SessionState.AutoCloseMode = static_cast<std::uint8_t>(c.AutoCloseMode);
    SessionState.DownloadDoneCount = static_cast<std::uint8_t>(c.Done);
    SessionState.FoundDeviceCount = static_cast<std::uint8_t>(c.Found);
    TUnattendedEnd end;
    EXPECT_EQ(end.Tick(), c.Ends);
    EXPECT_EQ(std::filesystem::exists(result), c.Ends);
    if (c.Ends) {
      EXPECT_EQ(ReadFile(result), "Download Success\r\n");
      EXPECT_FALSE(end.Tick());  // the window is closing: once is enough
    }
  }
  EXPECT_TRUE(memo.Lines.empty());
}

TEST_F(UnattendedRun, AnOldResultFileIsReplacedWhole) {
  SessionTexts.AppDir = folder.Dir();
  WriteFile(folder.Dir() + "ResDW.Txt", "Download Failed on every programmer, long ago\r\n");
  SessionState.AutoCloseMode = 1;
  SessionState.DownloadDoneCount = SessionState.FoundDeviceCount = 2;
  EXPECT_TRUE(TUnattendedEnd{}.Tick());
  EXPECT_EQ(ReadFile(folder.Dir() + "ResDW.Txt"), "Download Success\r\n");
}

// Timer1 runs the end's check every 10 ms; the tries of the result file are
// held to their pace by those ticks.
constexpr int kTickMs = 10;

// Reported once and tried again about a second after each failed try (not
// within 0.9 s, and by 1.1 s), as often as it fails; the first write that
// succeeds ends the run and is logged. Once the folder is back, the next
// try writes the file, so a try made too early shows.
TEST_F(UnattendedRun, AResultFileThatCannotBeWrittenIsTriedAgainAboutEverySecondUntilItIs) {
  const std::string gone = folder.Dir() + "gone/";
  SessionTexts.AppDir = gone;
  SessionState.AutoCloseMode = 1;
  SessionState.DownloadDoneCount = SessionState.FoundDeviceCount = 2;
  const Lines error{"> 10:21:07 Result File Write Error: " + gone + "ResDW.Txt: No such file or directory"};
  const Lines written{error[0], "> 10:21:07 Result File Written: " + gone + "ResDW.Txt"};
  struct TCase {
    const char* What;
    int FolderBackMs;     // after the first try
    int FirstMs, LastMs;  // when the file may be written
  };
  const TCase cases[] = {
      {"back at once: the second try writes it", 0, 900, 1100},
      {"back after the second try: the third writes it", 1150, 1800, 2200},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    std::filesystem::remove_all(gone);
    memo.Lines.clear();
    TUnattendedEnd end;
    EXPECT_FALSE(end.Tick());  // the first try
    EXPECT_EQ(memo.Lines, error);
    int writtenMs = -1;
    for (int ms = kTickMs; ms <= 3000 && writtenMs < 0; ms += kTickMs) {
      if (ms >= c.FolderBackMs) std::filesystem::create_directory(gone);
      if (end.Tick()) writtenMs = ms;
    }
    EXPECT_GE(writtenMs, c.FirstMs);
    EXPECT_LE(writtenMs, c.LastMs);
    EXPECT_EQ(ReadFile(gone + "ResDW.Txt"), "Download Success\r\n");
    EXPECT_EQ(memo.Lines, written);  // the failures of later tries not again
    EXPECT_FALSE(end.Tick());
  }
  EXPECT_TRUE(prompts.Shown.empty());
}

// The whole unattended run over real ports: one unit with older firmware is
// found, upgraded, searched again and only then downloaded with the others;
// the result file follows the last download.
class UnattendedGang : public GangTest {
 protected:
  void SetUp() override {
    GangTest::SetUp();
    SessionTexts.AppDir = folder.Dir();
    sim::FirmwareFileSpec file;
    file.version = "V1.06";
    file.firmwareEnd = 0x1000;
    file.image.assign(3000, 0x5A);
    sim::WriteBytes(FirmwareFilePath(), sim::BuildFirmwareFile(file));
    LoadFirmwareFile(FirmwareFilePath());
    ASSERT_EQ(SessionState.FirmwareLoaded, 1);
    actions.OnSearch = [this] { SearchAgain(); };
    // The finish packet needs the time to leave before the search closes the port.
    actions.OnPause = [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); };
  }

  // The window's event loop: port events as they come, a Timer2 tick every
  // few milliseconds, until the timer is done.
  bool TickUntilAllAnswered() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < limit) {
      events.RunQueued();
      if (StartupSearchTick(actions) == TStartupSearch::AllAnswered) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
  }

  TempFolder folder;
  TRecordingActions actions;
};

TEST_F(UnattendedGang, AnOlderFirmwareIsUpgradedBeforeAnyDownloadAndTheRunEnds) {
  std::vector<sim::UnitSettings> settings(3);
  settings[1].identity = sim::ApplicationIdentity("V1.02");
  StartUnits(settings);
  SessionState.CmdLineMode = 1;
  SessionState.AutoCloseMode = 1;
  SessionState.StartSearchPending = 1;
  SessionTexts.CmdLineProject = folder.Dir() + "job.pqx";
  WriteFile(SessionTexts.CmdLineProject, "project");
  SelectedChip.ControlBytes.ProgramStepFlags = 0x1F;

  ASSERT_TRUE(TickUntilAllAnswered());
  EXPECT_EQ(actions.Calls, (Lines{"search", "pause 500", "search"}));
  EXPECT_EQ(SessionState.FoundDeviceCount, 3);
  EXPECT_EQ(SessionState.UpgradeRunning, 0);

  StartCommandLineDownload(actions);
  ASSERT_TRUE(RunUntil([this] { return AllIdle(); }));
  EXPECT_EQ(SessionState.DownloadDoneCount, 3);
  TUnattendedEnd end;
  EXPECT_TRUE(end.Tick());
  EXPECT_EQ(ReadFile(folder.Dir() + "ResDW.Txt"), "Download Success\r\n");

  const std::size_t mainBytes = 8 * 1024;  // 5,000 bytes in 4 KB blocks
  for (std::size_t unit = 0; unit < 3; ++unit) {
    SCOPED_TRACE(unit);
    const std::vector<sim::PacketRecord> received = (*units)[unit].Received();
    std::vector<std::uint8_t> commands;  // in order, a run of one command as one
    int probes = 0;
    for (const sim::PacketRecord& r : received) {
      EXPECT_EQ(r.problem, "");
      probes += r.command == sim::kCmdLinkProbe;
      if (commands.empty() || commands.back() != r.command) commands.push_back(r.command);
    }
    using namespace sim;
    const std::vector<std::uint8_t> expected =
        unit == 1 ? std::vector<std::uint8_t>{kCmdLinkProbe, kCmdFirmwareBlock, kCmdFirmwareFinish, kCmdLinkProbe,
                                              kCmdChipData, kCmdMainData, kCmdEepData}
                  : std::vector<std::uint8_t>{kCmdLinkProbe, kCmdChipData, kCmdMainData, kCmdEepData};
    EXPECT_EQ(probes, 2);  // searched again with the upgraded one
    EXPECT_EQ(commands, expected);

    const sim::JobData job = (*units)[unit].Inspect([](const sim::Unit& u) { return u.job; });
    ASSERT_EQ(job.main.size(), mainBytes);
    EXPECT_EQ(job.main, Bytes(MemoryImages.MainFlashImage + SelectedChip.MainBaseOffset,
                              MemoryImages.MainFlashImage + SelectedChip.MainBaseOffset + mainBytes));
    ASSERT_GE(job.eep.size(), SelectedChip.EepSize);
    EXPECT_EQ(Bytes(job.eep.begin(), job.eep.begin() + SelectedChip.EepSize),
              Bytes(MemoryImages.EepImage, MemoryImages.EepImage + SelectedChip.EepSize));
  }
}

}  // namespace
