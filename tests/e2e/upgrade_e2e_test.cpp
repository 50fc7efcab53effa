// The real program against a unit whose firmware upgrade fails: the unit
// answers from its boot loader and refuses firmware block 2 of a valid
// four-block "VelmotIND.FWR" with code 33. The upgrade starts once, its
// failure and that the unit is left out are logged once, and the search
// after it runs once; the operator's window and a command-line run alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "demo_job.h"
#include "firmware_file_builder.h"
#include "program_run.h"
#include "sim_files.h"
#include "sim_pty.h"

namespace {

using namespace std::chrono_literals;

// Safety nets for slow sanitizer builds, not measurements.
constexpr auto kRunLimit = 90s;
constexpr auto kCloseLimit = 30s;
// From the program's start: the faulty program started the upgrade again
// about every 0.7 s, 15 times in this time.
constexpr auto kObserved = 10s;

const std::string kStartLine = " C1 : Start to Upgrade Programmer 1s Firmware......\r\n";
const std::string kFailedLine = " C1 : Opertaion Failed! Error Code : 033/0x21.\r\n";
const std::string kLeftOutLine = " C1 : Firmware Upgrade Failed, Programmer Left Out, Connect Dev. to Try Again!\r\n";

sim::UnitSettings RefusingBootLoader() {
  sim::UnitSettings settings;
  settings.identity = sim::kBootLoaderIdentity;
  settings.faults.push_back({sim::kCmdFirmwareBlock, 2, sim::FaultKind::Result, 33});
  return settings;
}

// Four blocks of 2 KB of image (FirmwareEnd 0x1C00), the units' version.
void WriteFourBlockFirmware(const TProgramFolder& folder) {
  TFirmwareFileSpec spec;
  spec.Version = kDemoFirmwareVersion;
  spec.End = 0x1C00;
  spec.Image = Pattern(4 * 2048, 3);
  sim::WriteBytes(folder.File("VelmotIND.FWR"), BuildFirmwareFile(spec));
}

int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
  return n;
}

int Count(const sim::PtyUnit& unit, std::uint8_t command, int argument = -1) {
  const std::vector<sim::PacketRecord> received = unit.Received();
  return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const sim::PacketRecord& r) {
    return r.command == command && (argument < 0 || r.argument == argument);
  }));
}

// The unit has had n link requests and answered everything it was sent.
bool Searched(const sim::PtyUnit& unit, int n) {
  const std::vector<sim::PacketRecord> received = unit.Received();
  return Count(unit, sim::kCmdLinkProbe) == n && received.back().answered && unit.Pending() == 0;
}

void ExpectOneFailedUpgrade(const sim::PtyUnit& unit, const std::string& log) {
  EXPECT_EQ(Count(unit, sim::kCmdFirmwareBlock, 0), 1);
  EXPECT_EQ(Count(unit, sim::kCmdFirmwareBlock), 3);  // blocks 0, 1 and the refused 2
  EXPECT_EQ(Count(unit, sim::kCmdFirmwareFinish), 0);
  EXPECT_EQ(Count(unit, sim::kCmdLinkProbe), 2);  // the start-up search and the one after the upgrade
  EXPECT_EQ(Occurrences(log, kStartLine), 1) << log;
  EXPECT_EQ(Occurrences(log, kFailedLine), 1) << log;
  EXPECT_EQ(Occurrences(log, kLeftOutLine), 1) << log;
  EXPECT_LT(log.find(kFailedLine), log.find(kLeftOutLine)) << log;
}

// The operator's window: the healthy unit 2 is found by the start-up search
// and by the one search after the upgrade, and is then left linked.
TEST(FailedUpgrade, IsStartedOnceAndTheHealthyUnitStaysLinked) {
  sim::UnitGroup units(std::vector<sim::UnitSettings>{RefusingBootLoader(), sim::UnitSettings{}});
  TProgramFolder folder("FailedUpgradeInTheWindow");
  folder.ListPorts(units.Paths());
  WriteFourBlockFirmware(folder);

  const auto start = std::chrono::steady_clock::now();
  TProgramProcess program(folder, {});
  ASSERT_TRUE(WaitUntil([&] { return Searched(units[0], 2) && Searched(units[1], 2); }, kRunLimit))
      << ReadText(folder.File("program.out"));
  std::this_thread::sleep_until(start + kObserved);
  EXPECT_TRUE(program.Running());
  ASSERT_EQ(program.Close(kCloseLimit), 0) << ReadText(folder.File("program.out"));

  const std::string log = ReadText(folder.LogFile());
  ExpectOneFailedUpgrade(units[0], log);
  EXPECT_EQ(Count(units[1], sim::kCmdLinkProbe), 2);
  EXPECT_EQ(units[1].ReceivedCount(), 2u);
  EXPECT_EQ(Occurrences(log, " C2 : Find Device: Velmot200IND V1.06!\r\n"), 2) << log;
  EXPECT_EQ(Occurrences(log, " C2 : "), 2) << log;
  EXPECT_FALSE(ShownAMessageBox(folder));
}

// An unattended run with one such unit: the upgrade starts once, the unit
// counts as one that has not answered, so nothing is downloaded and the
// program waits.
TEST(FailedUpgrade, InACommandLineRunIsStartedOnceAndNothingIsDownloaded) {
  sim::UnitGroup units(std::vector<sim::UnitSettings>{RefusingBootLoader()});
  TProgramFolder folder("FailedUpgradeUnattended");
  folder.ListPorts(units.Paths());
  WriteFourBlockFirmware(folder);
  const std::string project = folder.File("job.pqx").string();
  WriteDemoProject(project);

  const auto start = std::chrono::steady_clock::now();
  TProgramProcess program(folder, {project, "OFF"});
  ASSERT_TRUE(WaitUntil([&] { return Searched(units[0], 2); }, kRunLimit)) << ReadText(folder.File("program.out"));
  std::this_thread::sleep_until(start + kObserved);
  EXPECT_TRUE(program.Running());
  EXPECT_FALSE(std::filesystem::exists(folder.File("ResDW.Txt")));
  ASSERT_EQ(program.Close(kCloseLimit), 0) << ReadText(folder.File("program.out"));

  const std::string log = ReadText(folder.LogFile());
  ExpectOneFailedUpgrade(units[0], log);
  EXPECT_EQ(Count(units[0], sim::kCmdChipData), 0);
  EXPECT_EQ(log.find("Project File Open Success!"), std::string::npos) << log;
}

}  // namespace
