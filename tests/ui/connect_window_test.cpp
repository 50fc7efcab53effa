// "&Connect Dev." in the window: the programmers named in "ConfigVmg.ini"
// are simulated units, found at start-up and again on the button.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <fstream>

#include "data/program_state.h"
#include "link/comm.h"
#include "operator_fakes.h"
#include "sim_pty.h"
#include "ui/main_window.h"

namespace {

constexpr int kLinkWaitMs = 20000;  // a limit for slow sanitizer runs, not a measurement

class ConnectWindow : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(folder_.isValid());
  }
  std::string Folder() const { return folder_.path().toStdString() + "/"; }

  static bool Linked(int count) {
    for (int ch = 0; ch < count; ++ch)
      if (!ProgrammerState.DeviceLinked[ch]) return false;
    return true;
  }
  static int FindLines(const TGenMFrmARM& window) {
    return static_cast<int>(window.InfoMemo->toPlainText().count("Find Device: Velmot200IND V1.06!"));
  }

  QTemporaryDir folder_;
  TFakePrompts prompts_;
};

TEST_F(ConnectWindow, TheStartUpSearchAndTheButtonLinkTheListedUnits) {
  sim::UnitGroup units(3);
  units.WriteConfigIni(Folder());
  TGenMFrmARM window(TWindowStartup{Folder(), {}, {Folder() + "sys", Folder() + "dev"}});
  window.show();

  ASSERT_TRUE(QTest::qWaitFor([] { return Linked(3) && SessionState.FoundDeviceCount == 3; }, kLinkWaitMs));
  EXPECT_EQ(FindLines(window), 3);
  EXPECT_EQ(window.InfoPanel->text(), "Velmot200IND V1.06");
  const QString memo = window.InfoMemo->toPlainText();
  for (int ch = 0; ch < 3; ++ch) {
    EXPECT_TRUE(memo.contains(QString::fromStdString("Checking Device " + std::to_string(ch + 1) + " In " +
                                                     units[static_cast<std::size_t>(ch)].Path())));
    EXPECT_TRUE(memo.contains(QString::fromStdString(" C" + std::to_string(ch + 1) + " : Find Device: ")));
    EXPECT_TRUE(window.SPComm[static_cast<std::size_t>(ch)]->PortOpen());
  }

  QTest::mouseClick(window.BitBtnFindDev, Qt::LeftButton);
  EXPECT_EQ(SessionState.FoundDeviceCount, 0);  // the answers are still on their way
  ASSERT_TRUE(QTest::qWaitFor([] { return Linked(3) && SessionState.FoundDeviceCount == 3; }, kLinkWaitMs));
  EXPECT_EQ(FindLines(window), 6);
  // Only the firmware file's not-found box.
  EXPECT_LE(prompts_.Shown.size(), 1u);
}

// A listed port that cannot be opened: its error is shown once, the port
// opened before it in that search is closed again, nothing is linked.
TEST_F(ConnectWindow, APortThatCannotBeOpenedIsShownAndLeavesNothingOpen) {
  sim::UnitGroup units(1);
  const std::string missing = "/dev/velmot-no-such-port";
  std::ofstream(Folder() + "ConfigVmg.ini", std::ios::binary) << sim::ConfigIniText({units[0].Path(), missing});
  TGenMFrmARM window(TWindowStartup{Folder(), {}, {Folder() + "sys", Folder() + "dev"}});
  window.show();
  const std::string error = "Error opening serial port:" + missing;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts_.Shown.empty() && prompts_.Shown.back() == error; }, kLinkWaitMs));
  EXPECT_FALSE(window.SPComm[0]->PortOpen());
  EXPECT_FALSE(window.SPComm[1]->PortOpen());
  QTest::qWait(100);  // room for an answer, had the unit been probed
  EXPECT_EQ(units[0].ReceivedCount(), 0u);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
  EXPECT_EQ(std::count(prompts_.Shown.begin(), prompts_.Shown.end(), error), 1);
}

}  // namespace
