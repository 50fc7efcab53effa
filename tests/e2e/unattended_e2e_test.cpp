// The real program started as a production line's script starts it, with a
// project and a switch on its command line, against three simulated units.
// Each run checks how the program ends, "ResDW.Txt", the log and what every
// unit received, packet by packet.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "demo_job.h"
#include "program_run.h"
#include "sim_pty.h"

namespace {

using namespace std::chrono_literals;
using sim::Bytes;

// Safety nets for slow sanitizer builds, not measurements.
constexpr auto kRunLimit = 90s;
constexpr auto kCloseLimit = 30s;
// What a program that stays open is given to show that it does no more:
// more than enough to handle the last replies and to tick its timers. A run
// that reads its project and then starts nothing first waits for that read,
// the one sign its last step gives outside the program.
constexpr auto kSettle = 700ms;

constexpr std::size_t kUnits = 3;

// Unreadable: a path that opens and then fails to read, the program's own
// memory from address 0. SerialStepTooLarge: a S/N gain whose step on the
// three units does not fit the chip-data block's 16 bits.
enum class TProject { Good, Missing, Damaged, NoDriver, Unreadable, SerialStepTooLarge };
enum class TEnd { Exits, StaysOpen };

// What a unit receives, as runs of one command.
enum class TSeen {
  Searched,      // the link request, nothing after it
  Job,           // chip data, flash driver, main and EEP data
  JobStarted,    // the job, then the start packet of stand-alone programming
  UpgradedJob,   // the firmware, found again, then the job
  RefusedMain,   // the job up to the main-data block that it refused
};

std::vector<std::uint8_t> CommandsOf(TSeen seen) {
  using namespace sim;
  switch (seen) {
    case TSeen::Searched: return {kCmdLinkProbe};
    case TSeen::Job: return {kCmdLinkProbe, kCmdChipData, kCmdDriver, kCmdMainData, kCmdEepData};
    case TSeen::JobStarted: return {kCmdLinkProbe, kCmdChipData, kCmdDriver, kCmdMainData, kCmdEepData, kCmdReset};
    case TSeen::UpgradedJob:
      return {kCmdLinkProbe, kCmdFirmwareBlock, kCmdFirmwareFinish, kCmdLinkProbe,
              kCmdChipData,  kCmdDriver,        kCmdMainData,       kCmdEepData};
    case TSeen::RefusedMain: return {kCmdLinkProbe, kCmdChipData, kCmdDriver, kCmdMainData};
  }
  return {};
}

TDemoJob DemoJobOf(TProject project) {
  TDemoJob job;
  if (project == TProject::SerialStepTooLarge) job.SerialGain = 21846;  // 65538 on three units
  return job;
}

bool HoldsTheJob(TSeen seen) { return seen == TSeen::Job || seen == TSeen::JobStarted || seen == TSeen::UpgradedJob; }

struct TRunCase {
  const char* Name;
  TProject Project;
  std::vector<std::string> Switch;  // the arguments after the project
  // Changes to the default settings of units 1 .. 3.
  std::vector<std::function<void(sim::UnitSettings&)>> Units;
  TEnd End;
  std::vector<TSeen> Seen;          // per unit
  std::vector<std::string> LogHas;  // lines (without their time) the log must hold
};

void PrintTo(const TRunCase& c, std::ostream* os) { *os << c.Name; }

const auto kPlain = [](sim::UnitSettings&) {};
using enum TSeen;

const TRunCase kRuns[] = {
    {"Off", TProject::Good, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::Exits, {Job, Job, Job},
     {"C1 : Data Donwload Success!", "C2 : Data Donwload Success!", "C3 : Data Donwload Success!"}},
    {"LowerCaseOff", TProject::Good, {"off"}, {kPlain, kPlain, kPlain}, TEnd::Exits, {Job, Job, Job}, {}},
    {"OffxIsNoSwitch", TProject::Good, {"OFFX"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {JobStarted, JobStarted, JobStarted}, {}},
    {"ProjectAlone", TProject::Good, {}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {JobStarted, JobStarted, JobStarted}, {}},
    {"FurtherArgumentsIgnored", TProject::Good, {"Off", "ON", "--verbose"}, {kPlain, kPlain, kPlain}, TEnd::Exits,
     {Job, Job, Job}, {}},
    {"MainDataRefused", TProject::Good, {"OFF"},
     {kPlain, [](sim::UnitSettings& s) { s.faults.push_back({sim::kCmdMainData, 4, sim::FaultKind::Result, 0x2C}); },
      kPlain},
     TEnd::StaysOpen, {Job, RefusedMain, Job}, {"C1 : Data Donwload Success!", "C3 : Data Donwload Success!"}},
    {"SilentUnit", TProject::Good, {"OFF"}, {kPlain, kPlain, [](sim::UnitSettings& s) { s.silent = true; }},
     TEnd::StaysOpen, {Searched, Searched, Searched},
     {"C1 : Find Device: Velmot200IND V1.06!", "C2 : Find Device: Velmot200IND V1.06!"}},
    {"MissingProject", TProject::Missing, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched}, {"File of @project is not found!"}},
    {"DamagedProject", TProject::Damaged, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched}, {"Project File Data Has Been Corrupted!"}},
    {"UnreadableProject", TProject::Unreadable, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched}, {"@project: Input/output error"}},
    {"UnreadableProjectWithoutOff", TProject::Unreadable, {}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched}, {"@project: Input/output error"}},
    {"MissingFlashDriver", TProject::NoDriver, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched},
     {"File \"@folder/QuorixDRVs/LDR09.VDR\" is not exists, please check it!",
      "Flash Driver \"@folder/QuorixDRVs/LDR09.VDR\" Not Loaded, Operation Not Started!"}},
    {"SerialStepTooLarge", TProject::SerialStepTooLarge, {"OFF"}, {kPlain, kPlain, kPlain}, TEnd::StaysOpen,
     {Searched, Searched, Searched},
     {"S/N step too large for stand-alone programming: S/N Gain 21846 x 3 programmers = 65538, above 65535. "
      "Download not started!"}},
    {"BootLoaderUpgradedFirst", TProject::Good, {"OFF"},
     {kPlain, [](sim::UnitSettings& s) { s.identity = sim::kBootLoaderIdentity; }, kPlain}, TEnd::Exits,
     {Job, UpgradedJob, Job}, {"C2 : Programmer 2s Firmware Fpgrade Completed!"}},
    {"OlderFirmwareUpgradedFirst", TProject::Good, {"OFF"},
     {[](sim::UnitSettings& s) { s.identity = sim::ApplicationIdentity("V1.02"); }, kPlain, kPlain}, TEnd::Exits,
     {UpgradedJob, Job, Job},
     {"C1 : Find Device: Velmot200IND V1.02!", "C1 : Programmer 1s Firmware Fpgrade Completed!",
      "C1 : Find Device: Velmot200IND V1.06!"}},
};

std::string Replaced(std::string text, const std::string& what, const std::string& with) {
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
  return text;
}

// The commands a unit received, a run of one command as one entry.
std::vector<std::uint8_t> CommandRuns(const std::vector<sim::PacketRecord>& received) {
  std::vector<std::uint8_t> runs;
  for (const sim::PacketRecord& r : received) {
    if (runs.empty() || runs.back() != r.command) runs.push_back(r.command);
  }
  return runs;
}

// A zero-padded text field of the chip-data block, never read past its width.
std::string TextField(const Bytes& block, std::size_t at, std::size_t width) {
  const auto field = block.begin() + static_cast<std::ptrdiff_t>(at);
  return std::string(field, std::find(field, field + static_cast<std::ptrdiff_t>(width), 0));
}

// An inotify watch on one path; Take hands each event since the last call
// to the caller.
class TPathWatch {
 public:
  TPathWatch(const std::filesystem::path& path, std::uint32_t mask) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ >= 0 && ::inotify_add_watch(fd_, path.c_str(), mask) < 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~TPathWatch() {
    if (fd_ >= 0) ::close(fd_);
  }
  TPathWatch(const TPathWatch&) = delete;
  TPathWatch& operator=(const TPathWatch&) = delete;

  bool Valid() const { return fd_ >= 0; }
  void Take(const std::function<void(const inotify_event&)>& onEvent) {
    alignas(inotify_event) char buffer[4096];
    for (ssize_t n; (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
      for (ssize_t at = 0; at < n;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
        onEvent(*event);
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
  }

 private:
  int fd_;
};

// Whether the program has read a file: a descriptor it opened for reading
// closed. The program reads the command-line project in one handler, with
// the checks and lines that follow it, so once it has been read those lines
// are in the log before the program takes any stop request.
class TFileRead {
 public:
  explicit TFileRead(const std::string& path) : watch_(path, IN_CLOSE_NOWRITE) {}
  bool Valid() const { return watch_.Valid(); }
  bool Read() {
    watch_.Take([this](const inotify_event&) { read_ = true; });
    return read_;
  }

 private:
  TPathWatch watch_;
  bool read_ = false;
};

class UnattendedProgram : public testing::TestWithParam<TRunCase> {
 protected:
  void SetUp() override {
    const TRunCase& c = GetParam();
    std::vector<sim::UnitSettings> settings(kUnits);
    for (std::size_t n = 0; n < kUnits; ++n) c.Units[n](settings[n]);
    units = std::make_unique<sim::UnitGroup>(settings);
    folder = std::make_unique<TProgramFolder>(c.Name);
    folder->ListPorts(units->Paths());
    project = c.Project == TProject::Unreadable ? "/proc/self/mem" : folder->File("job.pqx").string();
    if (c.Project != TProject::Missing && c.Project != TProject::Unreadable)
      layout = WriteDemoProject(project, DemoJobOf(c.Project));
    if (c.Project == TProject::Damaged) Damage();
    if (c.Project == TProject::NoDriver) std::filesystem::remove(folder->File(kDemoDriverFile));
  }

  // One byte of the header's chip checksum changed: the file's sum no longer matches.
  void Damage() const {
    std::fstream file(project, std::ios::in | std::ios::out | std::ios::binary);
    file.seekg(125);
    const char was = static_cast<char>(file.get());
    file.seekp(125);
    file.put(static_cast<char>(was ^ 0x5A));
  }

  // Every unit has received what the case expects and answered the last of
  // it (a silent unit answers nothing).
  bool UnitsReached(const TRunCase& c) const {
    for (std::size_t n = 0; n < kUnits; ++n) {
      const auto received = (*units)[n].Received();
      if (CommandRuns(received) != CommandsOf(c.Seen[n])) return false;
      const bool silent = (*units)[n].Inspect([](const sim::Unit& u) { return u.settings.silent; });
      if (!silent && !received.back().answered) return false;
    }
    return true;
  }

  void ExpectDownload(std::size_t n) const {
    SCOPED_TRACE("unit " + std::to_string(n + 1));
    const sim::JobData job = (*units)[n].Inspect([](const sim::Unit& u) { return u.job; });
    // The chip-data block names the job and this programmer's first serial number.
    ASSERT_EQ(job.chipData.size(), 512u);
    EXPECT_EQ(Bytes(job.chipData.begin(), job.chipData.begin() + 4), (Bytes{'R', 'O', 'Z', 'I'}));
    EXPECT_EQ(sim::Le32(job.chipData, 4 + 16), layout.MainDataLength);
    EXPECT_EQ(sim::Le32(job.chipData, 4 + 20), layout.EepDataLength);
    EXPECT_EQ(sim::Le32(job.chipData, 96), 1000 + n);
    EXPECT_EQ(job.chipData[90], kUnits);
    EXPECT_EQ(TextField(job.chipData, 240, 16), "BAT32G133GC24xx");
    EXPECT_EQ(TextField(job.chipData, 256, 48), "demo.hex");
    // The driver as its file holds it, then the two images.
    const Bytes driver = DemoDriverPlain();
    ASSERT_GE(job.driver.size(), driver.size());
    EXPECT_EQ(Bytes(job.driver.begin(), job.driver.begin() + static_cast<std::ptrdiff_t>(driver.size())), driver);
    EXPECT_EQ(job.driverFileSize, driver.size());
    EXPECT_EQ(job.main, DemoMainData(layout.MainDataLength));
    ASSERT_GE(job.eep.size(), layout.EepDataLength);
    EXPECT_EQ(Bytes(job.eep.begin(), job.eep.begin() + layout.EepDataLength), DemoEepData(layout.EepDataLength));
  }

  std::unique_ptr<sim::UnitGroup> units;
  std::unique_ptr<TProgramFolder> folder;
  std::string project;
  TDemoLayout layout{};
};

TEST_P(UnattendedProgram, EndsResultsAndPackets) {
  const TRunCase& c = GetParam();
  std::vector<std::string> arguments{project};
  arguments.insert(arguments.end(), c.Switch.begin(), c.Switch.end());
  // Watched before the program starts: what the test itself wrote is no read.
  TFileRead projectRead(project);
  TProgramProcess program(*folder, arguments);

  const std::filesystem::path result = folder->File("ResDW.Txt");
  // The runs that read their project and then start nothing.
  const bool readsTheProjectOnly = c.Project == TProject::Damaged || c.Project == TProject::NoDriver;
  if (c.End == TEnd::Exits) {
    ASSERT_EQ(program.WaitForExit(kRunLimit), 0) << ReadText(folder->File("program.out"));
    EXPECT_EQ(ReadText(result), "Download Success\r\n");
  } else {
    ASSERT_TRUE(WaitUntil([&] { return UnitsReached(c); }, kRunLimit));
    // Where the program takes the project in, its lines are logged once it
    // has read it; the settle only shows that nothing more happens.
    if (readsTheProjectOnly) {
      ASSERT_TRUE(projectRead.Valid());
      ASSERT_TRUE(WaitUntil([&] { return projectRead.Read(); }, kRunLimit));
    }
    std::this_thread::sleep_for(kSettle);
    EXPECT_TRUE(program.Running());
    EXPECT_FALSE(std::filesystem::exists(result));
    // Ended as a production line's script ends a run that stays open.
    ASSERT_EQ(program.Close(kCloseLimit), 0) << ReadText(folder->File("program.out"));
  }

  const std::string log = ReadText(folder->LogFile());
  EXPECT_NE(log.find("Hello Velmot200IND User! ------ \r\n"), std::string::npos) << log;
  for (const std::string& line : c.LogHas) {
    const std::string expected =
        Replaced(Replaced(line, "@project", project), "@folder", folder->Path().string()) + "\r\n";
    EXPECT_NE(log.find(expected), std::string::npos) << expected << " not in\n" << log;
  }
  for (std::size_t n = 0; n < kUnits; ++n) {
    SCOPED_TRACE("unit " + std::to_string(n + 1));
    const std::vector<sim::PacketRecord> received = (*units)[n].Received();
    for (const sim::PacketRecord& r : received) EXPECT_EQ(r.problem, "") << int{r.command};
    EXPECT_EQ(CommandRuns(received), CommandsOf(c.Seen[n]));
    if (HoldsTheJob(c.Seen[n])) ExpectDownload(n);
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, UnattendedProgram, testing::ValuesIn(kRuns),
                         [](const testing::TestParamInfo<TRunCase>& info) { return std::string(info.param.Name); });

// Counts the tries to write "ResDW.Txt": each creates a temporary file
// beside it, which a failed try removes again (one that succeeds renames it).
class TResultFileTries {
 public:
  explicit TResultFileTries(const std::filesystem::path& folder) : watch_(folder, IN_CREATE | IN_DELETE) {}

  bool Valid() const { return watch_.Valid(); }
  // Takes in what has happened in the folder since the last call.
  void Update() {
    watch_.Take([this](const inotify_event& event) {
      if (event.len == 0 || !std::string(event.name).starts_with(".ResDW.Txt.tmp")) return;
      if (event.mask & IN_CREATE) ++started_;
      if (event.mask & IN_DELETE) ++failed_;
    });
  }
  int Started() const { return started_; }
  int Failed() const { return failed_; }

 private:
  TPathWatch watch_;
  int started_ = 0;
  int failed_ = 0;
};

// A folder named "ResDW.Txt" (with a file in it, so start-up cannot delete
// it) stands where the result file goes: the write fails and is reported
// once. The folder goes as soon as that try has failed; the next try, a
// second of ticks later, succeeds, is logged, and the run ends.
TEST(UnattendedResult, AResultFileThatCannotBeWrittenIsWrittenOnceItCanBe) {
  sim::UnitGroup units(kUnits);
  TProgramFolder folder("ResultFileInTheWay");
  folder.ListPorts(units.Paths());
  const std::string project = folder.File("job.pqx").string();
  WriteDemoProject(project);
  const std::filesystem::path result = folder.File("ResDW.Txt");
  std::filesystem::create_directories(result);
  std::ofstream(result / "kept") << "in the way\r\n";
  TResultFileTries tries(folder.Path());
  ASSERT_TRUE(tries.Valid());

  TProgramProcess program(folder, {project, "OFF"});
  ASSERT_TRUE(WaitUntil(
      [&] {
        tries.Update();
        return tries.Failed() > 0;
      },
      kRunLimit))
      << ReadText(folder.File("program.out"));
  EXPECT_TRUE(program.Running());
  std::filesystem::remove_all(result);

  ASSERT_EQ(program.WaitForExit(kRunLimit), 0) << ReadText(folder.File("program.out"));
  EXPECT_EQ(ReadText(result), "Download Success\r\n");
  tries.Update();
  EXPECT_EQ(tries.Failed(), 1);
  // The try that failed and the one that succeeded: the folder went at
  // once, long before the next try was due.
  EXPECT_EQ(tries.Started(), 2);
  const std::string log = ReadText(folder.LogFile());
  const std::string error = "Result File Write Error: " + result.string() + ": Is a directory\r\n";
  const std::string written = "Result File Written: " + result.string() + "\r\n";
  EXPECT_NE(log.find(error), std::string::npos) << log;
  EXPECT_EQ(log.find("Result File Write Error"), log.rfind("Result File Write Error")) << log;
  ASSERT_NE(log.find(written), std::string::npos) << log;
  EXPECT_GT(log.find(written), log.find(error)) << log;
}

// A run closed (as a line's script closes it) while both units still owe
// the answer to a main-data block: the log says of each programmer, once,
// that its download was stopped, and no time-out follows.
TEST(UnattendedStop, AClosedRunLogsEveryProgrammerItStopped) {
  sim::UnitSettings owing;
  owing.faults.push_back({sim::kCmdMainData, -1, sim::FaultKind::Silent});
  sim::UnitGroup units(2, owing);
  TProgramFolder folder("ClosedDuringTheDownload");
  folder.ListPorts(units.Paths());
  const std::string project = folder.File("job.pqx").string();
  WriteDemoProject(project);

  TProgramProcess program(folder, {project, "OFF"});
  const auto sentMainData = [&](std::size_t n) {
    const auto received = units[n].Received();
    return std::any_of(received.begin(), received.end(),
                       [](const sim::PacketRecord& r) { return r.command == sim::kCmdMainData; });
  };
  ASSERT_TRUE(WaitUntil([&] { return sentMainData(0) && sentMainData(1); }, kRunLimit))
      << ReadText(folder.File("program.out"));
  ASSERT_EQ(program.Close(kCloseLimit), 0) << ReadText(folder.File("program.out"));

  const std::string log = ReadText(folder.LogFile());
  for (const char* programmer : {" C1 : ", " C2 : "}) {
    SCOPED_TRACE(programmer);
    const std::string started = programmer + std::string("Start to Download Main Flash Data......\r\n");
    const std::string stopped = programmer + std::string("Operation stopped before it finished!\r\n");
    ASSERT_NE(log.find(stopped), std::string::npos) << log;
    EXPECT_EQ(log.find(stopped), log.rfind(stopped)) << log;
    ASSERT_NE(log.find(started), std::string::npos) << log;
    EXPECT_GT(log.find(stopped), log.find(started)) << log;
  }
  EXPECT_EQ(log.find("Time Out"), std::string::npos) << log;
  EXPECT_FALSE(std::filesystem::exists(folder.File("ResDW.Txt")));
}

}  // namespace
