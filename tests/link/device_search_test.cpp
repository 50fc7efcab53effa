// The device search and the off-line start against simulated units.
#include "link/device_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

#include "gang_fixture.h"
#include "link/operation_starters.h"

namespace {

class SearchTest : public GangTest {
 protected:
  std::size_t Probes(std::size_t unit) const {
    std::size_t n = 0;
    for (const sim::PacketRecord& r : (*units)[unit].Received()) n += r.command == sim::kCmdLinkProbe;
    return n;
  }
};

TEST_F(SearchTest, ThreeAnsweringUnitsAreLinkedAndLogged) {
  std::strcpy(SessionState.FirmwareVersion, "V1.06");
  SessionState.FirmwareLoaded = 1;
  StartUnits(3);
  SessionState.FoundDeviceCount = 7;
  Search();
  for (int ch = 0; ch < 3; ++ch) EXPECT_TRUE(ports[ch]->PortOpen()) << ch;
  ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
  EXPECT_EQ(SessionState.FoundDeviceCount, 3);
  std::vector<std::string> expected;
  for (int ch = 0; ch < 3; ++ch) {
    expected.push_back("> 10:21:07 Checking Device " + std::to_string(ch + 1) + " In " + portNames[ch] +
                       "............");
  }
  // The units answer side by side: their lines come in the order the answers arrive.
  std::vector<std::string> found;
  for (int ch = 0; ch < 3; ++ch) found.push_back(Line(ch, "Find Device: Velmot200IND V1.06!"));
  ASSERT_EQ(memo.Lines.size(), expected.size() + found.size());
  EXPECT_TRUE(std::equal(expected.begin(), expected.end(), memo.Lines.begin()));
  std::vector<std::string> answers(memo.Lines.begin() + static_cast<std::ptrdiff_t>(expected.size()), memo.Lines.end());
  std::sort(answers.begin(), answers.end());
  EXPECT_EQ(answers, found);
  EXPECT_EQ(views.Caption, "Velmot200IND V1.06");
  EXPECT_EQ(std::count(views.Calls.begin(), views.Calls.end(), "InfoPanel Searching Devices............"), 3);
  for (int ch = 0; ch < 3; ++ch) {
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
    EXPECT_EQ(ProgrammerState.ReplyTimeout[ch], 500);
    EXPECT_EQ(Probes(ch), 1u);
  }
}

// The second of five ports cannot be opened: its error leaves the search,
// the first port is closed again and nothing is probed; the three after it
// are not touched.
TEST_F(SearchTest, APortThatCannotBeOpenedEndsTheSearchUnprobed) {
  StartUnits(5);
  portNames[1] = "/dev/velmot-no-such-port";
  ports[3]->OpenPort();  // left from before: the search does not get there
  SessionState.FoundDeviceCount = 4;
  try {
    Search();
    ADD_FAILURE() << "no ECommsError";
  } catch (const ECommsError& error) {
    EXPECT_EQ(std::string(error.what()), "Error opening serial port:/dev/velmot-no-such-port");
  }
  EXPECT_FALSE(ports[0]->PortOpen());
  EXPECT_FALSE(ports[1]->PortOpen());
  EXPECT_FALSE(ports[2]->PortOpen());
  EXPECT_FALSE(ports[3]->PortOpen());  // "&Connect Dev." closed every port first
  EXPECT_EQ(SessionState.FoundDeviceCount, 0);
  events.RunQueued();
  for (std::size_t unit = 0; unit < 5; ++unit) EXPECT_EQ(Probes(unit), 0u) << unit;
}

TEST_F(SearchTest, AnEmptyListOpensAndProbesNothing) {
  StartUnits(2);
  portNames.clear();
  SessionState.FoundDeviceCount = 2;
  Search();
  EXPECT_EQ(SessionState.FoundDeviceCount, 2);
  EXPECT_FALSE(ports[0]->PortOpen());
  EXPECT_TRUE(memo.Lines.empty());
}

// "&Connect Dev." during operations stops them, each with one stopped line
// and a red gauge, and neither a result nor a time-out follows; the units
// that answer are linked again, idle. An upgrade that was running is
// abandoned, and with none pending no upgrade runs.
TEST_F(SearchTest, ConnectDuringOperationsStopsThemAndLinksAgain) {
  StartUnits(3);
  Search();
  ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
  (*units)[1].Update([](sim::UnitSettings& s) { s.silent = true; });
  StartBlankCheck(1);
  ASSERT_TRUE((*units)[1].WaitForPackets(2));
  (*units)[1].Update([](sim::UnitSettings& s) { s.silent = false; });
  ProgrammerState.ProgOpCode[2] = kOpFirmwareUpgrade;
  ProgrammerState.ChannelBusy[2] = 1;
  ProgrammerState.UpgradePending[2] = 1;
  SessionState.UpgradeRunning = 1;
  memo.Lines.clear();

  Search();
  for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0) << ch;
  EXPECT_EQ(ProgrammerState.UpgradePending[2], 0);
  EXPECT_EQ(SessionState.UpgradeRunning, 0);
  ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
  for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle) << ch;
  TickUntilIdle();
  for (const std::string& line : memo.Lines) {
    EXPECT_EQ(line.find("Time Out"), std::string::npos) << line;
    EXPECT_EQ(line.find("Blank"), std::string::npos) << line;
  }
  const std::string stopped = "Operation stopped before it finished!";
  for (int ch = 0; ch < 3; ++ch) {
    SCOPED_TRACE(ch + 1);
    EXPECT_EQ(std::count(memo.Lines.begin(), memo.Lines.end(), Line(ch, stopped)), ch == 0 ? 0 : 1);
    EXPECT_EQ(View(ch).Color, ch == 0 ? TGaugeColor::Blue : TGaugeColor::Red);
  }
}

// Both ports reopened, each sent the start packet, neither linked; the
// units' progress reports then reach the log through the link handlers.
TEST_F(SearchTest, OfflineStartSetsEveryUnitOffOnItsOwn) {
  sim::UnitSettings standAlone;
  standAlone.script = sim::StandAloneScript(2);
  StartUnits(2, standAlone);
  SessionState.ProgrammerCount = 2;
  ProgrammerState.DeviceLinked[0] = 1;
  ProgrammerState.ChannelBusy[1] = 1;
  ports[0]->OpenPort();
  StartOfflineProgramming([this] {
    SessionState.ProgrammerCount = 2;
    return portNames;
  });
  // What C2 was running is stopped, and says so, before its port closes.
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> 10:21:07 Start Off-Line Programming......",
                                                  "> 10:21:07 C2 : Operation stopped before it finished!"}));
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_TRUE(ports[ch]->PortOpen());
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], 0);
    EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0);
  }
  ASSERT_TRUE(RunUntil([this] { return ProgrammerState.ProgramOkCount[0] == 1 && ProgrammerState.ProgramOkCount[1] == 1; }));
  for (int ch = 0; ch < 2; ++ch) {
    const std::vector<sim::PacketRecord> received = (*units)[ch].Received();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].command, sim::kCmdReset);
    EXPECT_EQ(received[0].problem, "");
    const std::vector<std::string> lines = LinesOf(ch);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2], "Progrmming Completed : Successed !");
    EXPECT_EQ(lines.back(), "OK=1, NG=0.");
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], 0);
  }
}

// The off-line start drops every upgrade, the one it stopped and one that
// had failed: nothing is pending or running, so the start-up timer has no
// search to run after them that would close the ports it opened.
TEST_F(SearchTest, OfflineStartDropsTheUpgrades) {
  StartUnits(2);
  TProgrammerState& p = ProgrammerState;
  p.ProgOpCode[0] = kOpFirmwareUpgrade;
  p.ChannelBusy[0] = p.UpgradePending[0] = 1;
  p.UpgradePending[1] = 1;  // failed before
  SessionState.UpgradeRunning = 1;
  StartOfflineProgramming([this] {
    SessionState.ProgrammerCount = 2;
    return portNames;
  });
  for (int ch = 0; ch < 2; ++ch) {
    EXPECT_EQ(p.UpgradePending[ch], 0) << ch;
    EXPECT_TRUE(ports[ch]->PortOpen()) << ch;
  }
  EXPECT_EQ(SessionState.UpgradeRunning, 0);
}

// A port that cannot be opened leaves the off-line start at once; the port
// opened before it keeps running with the start packet it was sent.
TEST_F(SearchTest, OfflineStartStopsAtAPortThatCannotBeOpened) {
  StartUnits(3);
  portNames[1] = "/dev/velmot-no-such-port";
  SessionState.ProgrammerCount = 3;
  EXPECT_THROW(StartOfflineProgramming([this] { return portNames; }), ECommsError);
  EXPECT_TRUE(ports[0]->PortOpen());
  EXPECT_FALSE(ports[1]->PortOpen());
  EXPECT_FALSE(ports[2]->PortOpen());
  ASSERT_TRUE((*units)[0].WaitForPackets(1));
  EXPECT_EQ((*units)[0].Received()[0].command, sim::kCmdReset);
  EXPECT_EQ((*units)[2].ReceivedCount(), 0u);
}

// An unplugged unit: its port is closed and it is unlinked; its running
// step ends by the time-out.
TEST_F(SearchTest, AHangUpClosesThePortAndUnlinks) {
  StartUnits(2);
  Search();
  ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
  (*units)[1].Update([](sim::UnitSettings& s) { s.silent = true; });
  StartBlankCheck(1);
  (*units)[1].Close();
  ASSERT_TRUE(RunUntil([this] { return !ports[1]->PortOpen(); }));
  EXPECT_EQ(ProgrammerState.DeviceLinked[1], 0);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 1);
  EXPECT_EQ(ProgrammerState.ChannelBusy[1], 1);
  TickUntilIdle();
  EXPECT_EQ(LinesOf(1).back(), "Command Executed Time Out!");
}

}  // namespace
