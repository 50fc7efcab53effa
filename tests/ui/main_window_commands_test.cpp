// The operation commands' checks, in a window without programmer units (a
// programmer "linked" here has no port: what it would be sent is lost).
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>
#include <functional>
#include <string_view>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "driver_file.h"
#include "modal_watch.h"
#include "started_window.h"
#include "text/text_id.h"

namespace {

class WindowCommandsTest : public StartedWindowTest {
 protected:
  static void Release() {
    for (int ch = 0; ch < kProgrammerMax; ++ch) {
      ProgrammerState.ChannelBusy[ch] = 0;
      ProgrammerState.ProgOpCode[ch] = kOpIdle;
    }
  }
};

constexpr const char* kSettingsLineStart = "> Chip Control Settting : ";

TEST_F(WindowCommandsTest, ACommandWithoutItsPreconditionSaysWhyAndDoesNothingElse) {
  struct Case {
    const char* Control;
    bool Chip;
    bool Data;
    const char* Box;  // nullptr: the command goes on
  };
  const Case cases[] = {
      {"SpdBtnBlankChk", false, true, Text(TTextId::SelectChipFirstText)},
      {"ReadChipMemory1", false, true, Text(TTextId::SelectChipFirstText)},
      {"AutoSpdBtn", true, false, Text(TTextId::LoadObjectFirstText)},
      {"SpdBtnDownLoad", true, false, Text(TTextId::LoadObjectFirstText)},
      {"SpdBtnProg", true, false, Text(TTextId::LoadObjectFirstText)},
      {"SpdBtnVerify", true, false, Text(TTextId::LoadObjectFirstText)},
      {"WriteEepDataMemory1", true, false, Text(TTextId::LoadObjectFirstText)},
      {"SpdBtnBlankChk", true, false, nullptr},
      {"SpdBtnErase", true, false, nullptr},
      {"SpdBtnWrtOPB", true, false, nullptr},
      {"ReadChipMemory1", true, true, Text(TTextId::ConnectDeviceText)},
      {"ReadEEPMemory1", true, true, Text(TTextId::ConnectDeviceText)},
      {"ReadOptionByte1", true, true, Text(TTextId::ConnectDeviceText)},
      {"ReadChipCheckSum1", true, true, Text(TTextId::ConnectDeviceText)},
      {"ReadSpcAddress", true, true, Text(TTextId::ConnectDeviceText)},
      {"ReadMG32xxChipID1", true, true, Text(TTextId::ConnectDeviceText)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Control) + (c.Chip ? " chip" : "") + (c.Data ? " data" : ""));
    StartAgain();
    SelectPatternChip();
    ObjectState.ChipSelected = c.Chip;
    ObjectState.ObjectLoaded = c.Data;
    window->ViewPageCtrl->setCurrentWidget(window->TabSheetFlash);
    const qsizetype lines = Memo().size();
    TModalWatch watch;  // the read-address dialog must not open either
    Trigger(c.Control);
    EXPECT_EQ(watch.Opened, 0);
    if (c.Box) {
      EXPECT_EQ(prompts.Shown, std::vector<std::string>{c.Box});
      if (std::string_view(c.Box) != Text(TTextId::ConnectDeviceText)) {
        EXPECT_EQ(Memo().size(), lines);
      }
    } else {
      EXPECT_TRUE(prompts.Shown.empty());
      // Nothing linked: the command logs its settings and starts nothing.
      EXPECT_TRUE(Memo().back().startsWith(kSettingsLineStart));
    }
    // Every command shows the "Chip Setting" page first, except the EEP read.
    EXPECT_EQ(window->ViewPageCtrl->currentWidget() == window->ChipSett, std::string_view(c.Control) != "ReadEEPMemory1");
    EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpIdle);
  }
}

TEST_F(WindowCommandsTest, WriteEepAloneLogsNoEmptyLineBeforeItsSettings) {
  SelectPatternChip();
  for (const auto& [control, emptyLine] : {std::pair{"SpdBtnBlankChk", true}, {"WriteEepDataMemory1", false}}) {
    SCOPED_TRACE(control);
    Trigger(control);
    const QStringList memo = Memo();
    EXPECT_TRUE(memo.back().startsWith(kSettingsLineStart));
    EXPECT_EQ(memo[memo.size() - 2].isEmpty(), emptyLine);
  }
}

// With online serial numbers, no chip means no number is written either.
TEST_F(WindowCommandsTest, AutoWithOnlineSerialNumbersAndNoChipWritesNoNumber) {
  SelectPatternChip();
  ObjectState.ChipSelected = 0;
  window->CheckBoxSN->setChecked(true);
  window->ChkBoxPCSN->setChecked(true);
  window->AddrEdit->setText("0x08000010");
  window->SNEdit1->setText("0x11223344");
  const std::uint8_t before = MemoryImages.MainFlashImage[0x10];
  Trigger("AutoSpdBtn");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::SelectChipFirstText)});
  EXPECT_EQ(MemoryImages.MainFlashImage[0x10], before);
}

// A read takes programmer 1's state; the main and EEP reads also fill the
// buffers that every programmer's step sends and compares.
TEST_F(WindowCommandsTest, AReadWaitsForProgrammerOneAndAReadIntoTheBuffersForAll) {
  SelectPatternChip();
  SessionState.ProgrammerCount = 2;
  ProgrammerState.DeviceLinked[0] = 1;
  ProgrammerState.DeviceLinked[1] = 1;
  struct Read {
    const char* Control;
    std::uint8_t State;
    bool IntoBuffer;
  };
  const Read reads[] = {
      {"ReadChipMemory1", kOpReadMain, true},     {"ReadEEPMemory1", kOpReadEep, true},
      {"ReadOptionByte1", kOpReadOption, false},  {"ReadChipCheckSum1", kOpReadChecksum, false},
      {"ReadSpcAddress", kOpReadMemory, false},   {"ReadMG32xxChipID1", kOpChipInfo, false},
  };
  for (const Read& r : reads) {
    for (int busy : {-1, 0, 1}) {
      SCOPED_TRACE(std::string(r.Control) + " with busy " + std::to_string(busy));
      Release();
      if (busy >= 0) {
        ProgrammerState.ChannelBusy[busy] = 1;
        ProgrammerState.ProgOpCode[busy] = kOpVerifyMain;
      }
      prompts.Shown.clear();
      TModalWatch watch;  // closes the read-address dialog
      Trigger(r.Control);
      const bool refused = busy == 0 || (busy == 1 && r.IntoBuffer);
      if (refused) {
        EXPECT_EQ(prompts.Shown,
                  std::vector<std::string>{busy == 0 ? Text(TTextId::ReadWhileBusyText) : Text(TTextId::ReadIntoBufferWhileBusyText)});
        EXPECT_EQ(ProgrammerState.ProgOpCode[0], busy == 0 ? kOpVerifyMain : kOpIdle);
      } else {
        EXPECT_TRUE(prompts.Shown.empty());
        EXPECT_EQ(ProgrammerState.ProgOpCode[0], r.State);
      }
      EXPECT_EQ(ProgrammerState.ProgOpCode[1], busy == 1 ? kOpVerifyMain : kOpIdle);
    }
  }
}

TEST_F(WindowCommandsTest, TheShortcutsOfALockedCommandMenuStartNothing) {
  ASSERT_TRUE(AcceptChipChoice(kVendorLE5x10, 0));
  window->ChangeChip();
  ObjectState.ObjectLoaded = 1;
  SessionState.ProgrammerCount = 1;
  ProgrammerState.DeviceLinked[0] = 1;
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  for (Qt::Key key : {Qt::Key_F4, Qt::Key_F5, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10}) {
    QTest::keyClick(window.get(), key);
    EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpIdle) << key;
  }
  // The same keys run the commands of an unlocked menu.
  WriteDriverFile(Folder(), "LDR02.VDR");
  ASSERT_TRUE(AcceptChipChoice(kVendorIndie, 0));
  window->ChangeChip();
  QTest::keyClick(window.get(), Qt::Key_F7);
  EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpBlankCheck);
}

}  // namespace
