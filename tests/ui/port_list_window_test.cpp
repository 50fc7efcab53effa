// The port combo at start-up from "ConfigVmg.ini", and a port that hangs up.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>
#include <memory>

#include "data/program_state.h"
#include "link/comm.h"
#include "operator_fakes.h"
#include "pseudo_terminal.h"
#include "text/window_texts.h"
#include "ui/gauge_widget.h"
#include "ui/main_window.h"

namespace {

constexpr int kHangupWaitMs = 20000;  // a limit for slow sanitizer runs, not a measurement

class PortListWindow : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(folder_.isValid());
  }

  // A settings file naming each line's device for DEV1, DEV2, ..., then the window shown.
  std::unique_ptr<TGenMFrmARM> StartWith(const std::vector<std::unique_ptr<TPseudoTerminal>>& lines) {
    const std::string dir = folder_.path().toStdString() + "/";
    std::ofstream ini(dir + "ConfigVmg.ini", std::ios::binary);
    ini << "Velmot programmer ports\r\n[Connection]\r\nTOTDEV=" << lines.size() << "\r\n";
    for (std::size_t n = 0; n < lines.size(); ++n) ini << "DEV" << n + 1 << "=" << lines[n]->Path() << "\r\n";
    ini.close();
    auto window = std::make_unique<TGenMFrmARM>(TWindowStartup{dir, {}, {dir + "sys", dir + "dev"}});
    window->show();
    return window;
  }

  static std::vector<std::unique_ptr<TPseudoTerminal>> Lines(int n) {
    std::vector<std::unique_ptr<TPseudoTerminal>> lines;
    for (int i = 0; i < n; ++i) lines.push_back(std::make_unique<TPseudoTerminal>());
    return lines;
  }

  static QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
  }

  // The search opens a port and links its programmer; here the test does,
  // and the start-up search is kept from running.
  static void Link(TGenMFrmARM& window, int ch) {
    window.Timer2->stop();
    window.SPComm[ch]->OpenPort();
    ProgrammerState.DeviceLinked[ch] = 1;
  }

  static bool HangUp(TGenMFrmARM& window, TPseudoTerminal& line, int ch) {
    line.CloseFarSide();
    return QTest::qWaitFor([&] { return !window.SPComm[ch]->PortOpen(); }, kHangupWaitMs);
  }

  QTemporaryDir folder_;
  TFakePrompts prompts_;
};

TEST_F(PortListWindow, TheSettingsFileFillsTheComboAndNamesThePorts) {
  const auto lines = Lines(3);
  auto window = StartWith(lines);
  const QStringList paths = {QString::fromStdString(lines[0]->Path()), QString::fromStdString(lines[1]->Path()),
                             QString::fromStdString(lines[2]->Path())};
  EXPECT_EQ(Items(*window->ComboBoxCOM), paths);
  EXPECT_EQ(window->ComboBoxCOM->currentText(), paths.back());
  EXPECT_EQ(SessionState.ProgrammerCount, 3);
  for (int ch = 0; ch < 3; ++ch) EXPECT_EQ(window->SPComm[ch]->CommName, lines[ch]->Path());
  EXPECT_EQ(window->SPComm[3]->CommName, "COM2");  // a slot the file does not name keeps its name
  // Three programmers lay out as the two-to-four row.
  for (int ch = 0; ch < kProgrammerMax; ++ch) EXPECT_EQ(window->Gauges[ch]->isVisible(), ch < 4) << ch;
  EXPECT_EQ(window->InfoMemo->height(), 376);
  for (const std::unique_ptr<TComm>& port : window->SPComm) EXPECT_FALSE(port->PortOpen());
}

TEST_F(PortListWindow, AHungUpPortIsClosedUnlinkedAndLeavesTheList) {
  const auto lines = Lines(3);
  auto window = StartWith(lines);
  Link(*window, 0);
  Link(*window, 1);
  ASSERT_TRUE(HangUp(*window, *lines[1], 1));
  EXPECT_EQ(ProgrammerState.DeviceLinked[1], 0);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 1);
  EXPECT_TRUE(window->SPComm[0]->PortOpen());
  EXPECT_EQ(Items(*window->ComboBoxCOM),
            (QStringList{QString::fromStdString(lines[0]->Path()), QString::fromStdString(lines[2]->Path())}));
  EXPECT_EQ(SessionState.ProgrammerCount, 3);  // the next search rebuilds the list
  EXPECT_TRUE(prompts_.Shown.size() <= 1u);    // the firmware's not-found box only

  // Leaving the program closes the ports that are still open.
  QTest::mouseClick(window->findChild<QToolButton*>("SpdBtnExit"), Qt::LeftButton);
  EXPECT_FALSE(window->SPComm[0]->PortOpen());
}

// After one hang-up the entries behind it have moved up: a later hang-up
// still takes out the entry that names its own port.
TEST_F(PortListWindow, EachHangUpRemovesTheEntryOfItsOwnPort) {
  const auto lines = Lines(4);
  auto window = StartWith(lines);
  for (int ch = 0; ch < 4; ++ch) Link(*window, ch);
  ASSERT_TRUE(HangUp(*window, *lines[0], 0));
  ASSERT_TRUE(HangUp(*window, *lines[2], 2));
  EXPECT_EQ(Items(*window->ComboBoxCOM),
            (QStringList{QString::fromStdString(lines[1]->Path()), QString::fromStdString(lines[3]->Path())}));
  EXPECT_EQ(ProgrammerState.DeviceLinked[1], 1);
  EXPECT_EQ(ProgrammerState.DeviceLinked[3], 1);
}

TEST_F(PortListWindow, TheLastPortHangingUpLeavesAPrompt) {
  const auto lines = Lines(1);
  auto window = StartWith(lines);
  Link(*window, 0);
  ASSERT_TRUE(HangUp(*window, *lines[0], 0));
  EXPECT_EQ(window->ComboBoxCOM->count(), 0);
  EXPECT_EQ(window->ComboBoxCOM->placeholderText(), kPleaseConnectDeviceText);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
}

}  // namespace
