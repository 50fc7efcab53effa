// The port combo at start-up from "ConfigVmg.ini", and a port that hangs up.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>
#include <memory>

#include "data/program_state.h"
#include "link/comm.h"
#include "started_window.h"
#include "pseudo_terminal.h"
#include "text/text_id.h"
#include "ui/gauge_widget.h"

namespace {

constexpr int kHangupWaitMs = 20000;  // a limit for slow sanitizer runs, not a measurement

class PortListWindow : public WindowTest {
 protected:
  // count pseudo-terminal lines, a settings file naming each line's device
  // for DEV1, DEV2, ..., then the window shown.
  void StartWith(int count) {
    for (int i = 0; i < count; ++i) lines.push_back(std::make_unique<TPseudoTerminal>());
    std::ofstream ini(Folder() + "ConfigVmg.ini", std::ios::binary);
    ini << "Velmot programmer ports\r\n[Connection]\r\nTOTDEV=" << lines.size() << "\r\n";
    for (std::size_t n = 0; n < lines.size(); ++n) ini << "DEV" << n + 1 << "=" << lines[n]->Path() << "\r\n";
    ini.close();
    StartWindow();
  }

  static QStringList Items(const QComboBox& combo) {
    QStringList items;
    for (int i = 0; i < combo.count(); ++i) items << combo.itemText(i);
    return items;
  }

  // The search opens a port and links its programmer; here the test does,
  // and the start-up search is kept from running.
  void Link(int ch) {
    window->Timer2->stop();
    window->SPComm[ch]->OpenPort();
    ProgrammerState.DeviceLinked[ch] = 1;
  }

  bool HangUp(TPseudoTerminal& line, int ch) {
    line.CloseFarSide();
    return QTest::qWaitFor([&] { return !window->SPComm[ch]->PortOpen(); }, kHangupWaitMs);
  }

  std::vector<std::unique_ptr<TPseudoTerminal>> lines;  // go after the window, whose ports close first
};

TEST_F(PortListWindow, TheSettingsFileFillsTheComboAndNamesThePorts) {
  StartWith(3);
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

// A device path too long for the combo loses characters from the middle of
// its folder: the device's own name shows whole and the whole path is the
// tooltip; the list and the programmer's port keep the whole path.
TEST_F(PortListWindow, ALongDevicePathShowsTheDeviceNameWhole) {
  const std::string device = Folder() + "dev/serial/by-path/pci-0000:00:14.0-usb-0:2.4:1.0/ttyUSB10";
  std::ofstream(Folder() + "ConfigVmg.ini", std::ios::binary)
      << "Velmot programmer ports\r\n[Connection]\r\nDEV1=" << device << "\r\n";
  StartWindow();
  window->Timer2->stop();

  TElidedComboBox& combo = *window->ComboBoxCOM;
  const QString whole = QString::fromStdString(device);
  EXPECT_EQ(Items(combo), QStringList{whole});
  EXPECT_EQ(window->SPComm[0]->CommName, device);
  EXPECT_EQ(combo.itemData(0, Qt::ToolTipRole).toString(), whole);
  EXPECT_EQ(combo.toolTip(), whole);
  const QString shown = combo.ShownText();
  EXPECT_TRUE(shown.endsWith("/ttyUSB10")) << shown.toStdString();
  const qsizetype cut = shown.indexOf(QChar(0x2026));  // the ellipsis
  ASSERT_GT(cut, 0) << shown.toStdString();
  EXPECT_TRUE(whole.startsWith(shown.left(cut))) << shown.toStdString();
  EXPECT_LT(combo.fontMetrics().horizontalAdvance(shown), combo.width());
  combo.grab();  // drawn as shown

  // Wide enough, it shows the whole path and needs no tooltip.
  combo.resize(combo.fontMetrics().horizontalAdvance(whole) + 100, combo.height());
  EXPECT_EQ(combo.ShownText(), whole);
  EXPECT_TRUE(combo.toolTip().isEmpty());
}

TEST_F(PortListWindow, AHungUpPortIsClosedUnlinkedAndLeavesTheList) {
  StartWith(3);
  Link(0);
  Link(1);
  ASSERT_TRUE(HangUp(*lines[1], 1));
  EXPECT_EQ(ProgrammerState.DeviceLinked[1], 0);
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 1);
  EXPECT_TRUE(window->SPComm[0]->PortOpen());
  EXPECT_EQ(Items(*window->ComboBoxCOM),
            (QStringList{QString::fromStdString(lines[0]->Path()), QString::fromStdString(lines[2]->Path())}));
  EXPECT_EQ(SessionState.ProgrammerCount, 3);  // the next search rebuilds the list
  EXPECT_TRUE(prompts.Shown.size() <= 1u);    // the firmware's not-found box only

  // Leaving the program closes the ports that are still open.
  QTest::mouseClick(window->findChild<QToolButton*>("SpdBtnExit"), Qt::LeftButton);
  EXPECT_FALSE(window->SPComm[0]->PortOpen());
}

// After one hang-up the entries behind it have moved up: a later hang-up
// still takes out the entry that names its own port.
TEST_F(PortListWindow, EachHangUpRemovesTheEntryOfItsOwnPort) {
  StartWith(4);
  for (int ch = 0; ch < 4; ++ch) Link(ch);
  ASSERT_TRUE(HangUp(*lines[0], 0));
  ASSERT_TRUE(HangUp(*lines[2], 2));
  EXPECT_EQ(Items(*window->ComboBoxCOM),
            (QStringList{QString::fromStdString(lines[1]->Path()), QString::fromStdString(lines[3]->Path())}));
  EXPECT_EQ(ProgrammerState.DeviceLinked[1], 1);
  EXPECT_EQ(ProgrammerState.DeviceLinked[3], 1);
}

TEST_F(PortListWindow, TheLastPortHangingUpLeavesAPrompt) {
  StartWith(1);
  Link(0);
  ASSERT_TRUE(HangUp(*lines[0], 0));
  EXPECT_EQ(window->ComboBoxCOM->count(), 0);
  EXPECT_EQ(window->ComboBoxCOM->placeholderText(), Text(TTextId::PleaseConnectDeviceText));
  EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
}

}  // namespace
