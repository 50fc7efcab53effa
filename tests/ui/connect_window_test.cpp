// "&Connect Dev." in the window: the programmers named in "ConfigVmg.ini"
// are simulated units, found at start-up and again on the button.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <fstream>

#include "data/program_state.h"
#include "link/comm.h"
#include "started_window.h"
#include "sim_pty.h"

namespace {

constexpr int kLinkWaitMs = 20000;  // a limit for slow sanitizer runs, not a measurement

class ConnectWindow : public WindowTest {
 protected:
  static bool Linked(int count) {
    for (int ch = 0; ch < count; ++ch)
      if (!ProgrammerState.DeviceLinked[ch]) return false;
    return true;
  }
  int FindLines() const {
    return static_cast<int>(window->InfoMemo->toPlainText().count("Find Device: Velmot200IND V1.06!"));
  }

  std::unique_ptr<sim::UnitGroup> units;  // go after the window, whose ports close first
};

TEST_F(ConnectWindow, TheStartUpSearchAndTheButtonLinkTheListedUnits) {
  units = std::make_unique<sim::UnitGroup>(3);
  units->WriteConfigIni(Folder());
  StartWindow();

  ASSERT_TRUE(QTest::qWaitFor([] { return Linked(3) && SessionState.FoundDeviceCount == 3; }, kLinkWaitMs));
  EXPECT_EQ(FindLines(), 3);
  EXPECT_EQ(window->InfoPanel->text(), "Velmot200IND V1.06");
  const QString memo = window->InfoMemo->toPlainText();
  for (int ch = 0; ch < 3; ++ch) {
    EXPECT_TRUE(memo.contains(QString::fromStdString("Checking Device " + std::to_string(ch + 1) + " In " +
                                                     (*units)[static_cast<std::size_t>(ch)].Path())));
    EXPECT_TRUE(memo.contains(QString::fromStdString(" C" + std::to_string(ch + 1) + " : Find Device: ")));
    EXPECT_TRUE(window->SPComm[static_cast<std::size_t>(ch)]->PortOpen());
  }

  QTest::mouseClick(window->BitBtnFindDev, Qt::LeftButton);
  EXPECT_EQ(SessionState.FoundDeviceCount, 0);  // the answers are still on their way
  ASSERT_TRUE(QTest::qWaitFor([] { return Linked(3) && SessionState.FoundDeviceCount == 3; }, kLinkWaitMs));
  EXPECT_EQ(FindLines(), 6);
  // Only the firmware file's not-found box.
  EXPECT_LE(prompts.Shown.size(), 1u);
}

// A device path written with blanks around it, as a hand-written file has
// it: the blanks are no part of the path, and the unit is found.
TEST_F(ConnectWindow, ADevicePathWithBlanksAroundItLinksItsUnit) {
  units = std::make_unique<sim::UnitGroup>(1);
  std::ofstream(Folder() + "ConfigVmg.ini", std::ios::binary)
      << "; Velmot200IND\r\n[Connection]\r\nTOTDEV = 1\r\nDEV1 = " << (*units)[0].Path() << " \r\n";
  StartWindow();
  ASSERT_TRUE(QTest::qWaitFor([] { return Linked(1) && SessionState.FoundDeviceCount == 1; }, kLinkWaitMs));
  EXPECT_EQ(FindLines(), 1);
  EXPECT_TRUE(window->SPComm[0]->PortOpen());
}

// A listed port that cannot be opened: its error is shown once, the port
// opened before it in that search is closed again, nothing is linked.
TEST_F(ConnectWindow, APortThatCannotBeOpenedIsShownAndLeavesNothingOpen) {
  units = std::make_unique<sim::UnitGroup>(1);
  const std::string missing = "/dev/velmot-no-such-port";
  std::ofstream(Folder() + "ConfigVmg.ini", std::ios::binary) << sim::ConfigIniText({(*units)[0].Path(), missing});
  StartWindow();
  const std::string error = "Error opening serial port:" + missing;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.Shown.empty() && prompts.Shown.back() == error; }, kLinkWaitMs));
  EXPECT_FALSE(window->SPComm[0]->PortOpen());
  EXPECT_FALSE(window->SPComm[1]->PortOpen());
  QTest::qWait(100);  // room for an answer, had the unit been probed
  EXPECT_EQ((*units)[0].ReceivedCount(), 0u);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
  EXPECT_EQ(std::count(prompts.Shown.begin(), prompts.Shown.end(), error), 1);
}

// "Start Off-line Progrm" with a listed port that cannot be opened: the
// units before it have been sent their start packets and keep their ports,
// so their stand-alone runs are heard to the end; the error is shown once.
TEST_F(ConnectWindow, TheOfflineStartKeepsThePortsOpenedBeforeOneThatFails) {
  sim::UnitSettings standAlone;
  standAlone.script = sim::StandAloneScript(3);
  units = std::make_unique<sim::UnitGroup>(2, standAlone);
  const std::string missing = "/dev/velmot-no-such-port";
  std::ofstream(Folder() + "ConfigVmg.ini", std::ios::binary)
      << sim::ConfigIniText({(*units)[0].Path(), (*units)[1].Path(), missing});
  StartWindow();
  const std::string error = "Error opening serial port:" + missing;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.Shown.empty() && prompts.Shown.back() == error; }, kLinkWaitMs));
  prompts.Shown.clear();

  Trigger("StartOfflineProgrm1");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{error});
  ASSERT_TRUE(QTest::qWaitFor(
      [] { return ProgrammerState.ProgramOkCount[0] == 1 && ProgrammerState.ProgramOkCount[1] == 1; }, kLinkWaitMs));
  const QString memo = window->InfoMemo->toPlainText();
  for (int ch = 0; ch < 2; ++ch) {
    SCOPED_TRACE(ch + 1);
    const std::vector<sim::PacketRecord> received = (*units)[static_cast<std::size_t>(ch)].Received();
    ASSERT_EQ(received.size(), 1u);  // the search had sent nothing
    EXPECT_EQ(received[0].command, sim::kCmdReset);
    EXPECT_EQ(received[0].problem, "");
    EXPECT_TRUE(window->SPComm[static_cast<std::size_t>(ch)]->PortOpen());
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], 0);
    EXPECT_TRUE(memo.contains(QString::fromStdString(" C" + std::to_string(ch + 1) + " : OK=1, NG=0.")));
  }
  EXPECT_FALSE(window->SPComm[2]->PortOpen());
}

}  // namespace
