#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <algorithm>
#include <functional>
#include <vector>

#include "data/integer_text.h"
#include "started_window.h"
#include "ui/radio_group.h"

namespace {

using WindowSettingsTest = StartedWindowTest;

TEST_F(WindowSettingsTest, TheLayoutsControlsCollectTheDefaultSettingsAndLogThem) {
  window->CollectProgramSettings();
  const TControlBytes& b = SelectedChip.ControlBytes;
  EXPECT_EQ(b.PifSpeedFlags, 0x00);
  EXPECT_EQ(b.VoltageFlags, 0x01);
  EXPECT_EQ(b.ResetPowerFlags, 0x00);
  EXPECT_EQ(b.ProgramStepFlags, 0x17);
  EXPECT_EQ(b.EraseFlags, 0x00);
  const TProgramSettings& s = ProgramSettings;
  EXPECT_EQ(s.AutoDetect, 0);
  EXPECT_EQ(s.ChipInTime, 17);
  EXPECT_EQ(s.ChipOutTime, 17);
  EXPECT_EQ(s.PowerUpTime, 10);
  EXPECT_EQ(s.PowerDownTime, 10);
  EXPECT_EQ(s.RunTime, 50);
  EXPECT_EQ(s.SnFlags, 0x04);
  EXPECT_EQ(s.SnSize, 4);
  EXPECT_EQ(s.SnGain, 1);
  EXPECT_EQ(s.SnValue, 0u);
  EXPECT_EQ(s.SnAddress, 0xFFF0u);
  EXPECT_EQ(s.DeviceAddress, 0);
  EXPECT_EQ(s.CountLimit, 0u);
  // No time prefix; the start-up length of 0x20000 shows five digits.
  EXPECT_EQ(Memo().back(), "> Chip Control Settting : 00,00,00, 00,00,20000, 00,01,00, 17,00,00, 00,00.");
}

// Each control reaches its own setting (the rules themselves are tested on
// the core's collection).
TEST_F(WindowSettingsTest, EachControlReachesItsSetting) {
  struct Case {
    const char* control;
    std::function<void(TGenMFrmARM&)> change;
    std::function<std::uint32_t()> setting;
    std::uint32_t expected;
  };
  const auto bytes = [] { return SelectedChip.ControlBytes; };
  const Case cases[] = {
      {"RadioGroupPIF", [](auto& w) { w.RadioGroupPIF->SetItemIndex(1); }, [&] { return bytes().PifSpeedFlags; }, 0x01},
      {"RadioGrpSpdF", [](auto& w) { w.RadioGrpSpdF->SetItemIndex(1); }, [&] { return bytes().PifSpeedFlags; }, 0x10},
      {"ChkBoxRunSHT", [](auto& w) { w.ChkBoxRunSHT->setChecked(true); }, [&] { return bytes().PifSpeedFlags; }, 0x20},
      {"RadioGpVolt", [](auto& w) { w.RadioGpVolt->SetItemIndex(0); }, [&] { return bytes().VoltageFlags; }, 0x00},
      {"ChkBoxBlkEr", [](auto& w) { w.ChkBoxBlkEr->setChecked(true); }, [&] { return bytes().VoltageFlags; }, 0x09},
      {"RadioGrpRST", [](auto& w) { w.RadioGrpRST->SetItemIndex(1); }, [&] { return bytes().ResetPowerFlags; }, 0x01},
      {"CheckBoxRun", [](auto& w) { w.CheckBoxRun->setChecked(true); }, [&] { return bytes().ResetPowerFlags; }, 0x04},
      {"ChkBoxVDD", [](auto& w) { w.ChkBoxVDD->setChecked(false); }, [&] { return bytes().ResetPowerFlags; }, 0x80},
      {"CheckBoxOpt", [](auto& w) { w.CheckBoxOpt->setChecked(true); }, [&] { return bytes().ProgramStepFlags; }, 0x57},
      {"ChkBoxPrgEEP", [](auto& w) { w.ChkBoxPrgEEP->setChecked(true); }, [&] { return bytes().ProgramStepFlags; },
       0x3F},
      {"ChkBoxCpErsM", [](auto& w) { w.ChkBoxCpErsM->setChecked(false); }, [&] { return bytes().EraseFlags; }, 0x01},
      {"ChkBoxErsEEP", [](auto& w) { w.ChkBoxErsEEP->setChecked(true); }, [&] { return bytes().EraseFlags; }, 0x02},
      {"ChkBoxAuto", [](auto& w) { w.ChkBoxAuto->setChecked(true); }, [] { return ProgramSettings.AutoDetect; }, 15},
      {"SpinEditIn", [](auto& w) { w.SpinEditIn->setValue(900); }, [] { return ProgramSettings.ChipInTime; }, 30},
      {"SpinEditOut", [](auto& w) { w.SpinEditOut->setValue(1200); }, [] { return ProgramSettings.ChipOutTime; }, 40},
      {"SpinEditVddTim", [](auto& w) { w.SpinEditVddTim->setValue(250); }, [] { return ProgramSettings.PowerUpTime; },
       25},
      {"SpinEditPWDTim", [](auto& w) { w.SpinEditPWDTim->setValue(300); },
       [] { return ProgramSettings.PowerDownTime; }, 30},
      {"SpinEditRTM", [](auto& w) { w.SpinEditRTM->setValue(1230); }, [] { return ProgramSettings.RunTime; }, 123},
      {"CheckBoxCtrl", [](auto& w) { w.CheckBoxCtrl->setChecked(true); }, [] { return ProgramSettings.SnFlags; }, 0x44},
      {"CheckBoxSN", [](auto& w) { w.CheckBoxSN->setChecked(true); }, [] { return ProgramSettings.SnFlags; }, 0x05},
      {"SNOrderChk", [](auto& w) { w.SNOrderChk->setChecked(false); }, [] { return ProgramSettings.SnFlags; }, 0x00},
      {"SpinEditNum", [](auto& w) { w.SpinEditNum->setValue(12345); }, [] { return ProgramSettings.CountLimit; },
       12345},
      {"GainEdit", [](auto& w) { w.GainEdit->setText("0x10"); }, [] { return ProgramSettings.SnGain; }, 16},
      {"SNEdit1", [](auto& w) { w.SNEdit1->setText("0x0000ABCD"); }, [] { return ProgramSettings.SnValue; }, 0xABCD},
      {"AddrEdit", [](auto& w) { w.AddrEdit->setText("$8001000"); }, [] { return ProgramSettings.SnAddress; },
       0x08001000},
      {"EditDevAdr", [](auto& w) { w.EditDevAdr->setText("0x5A"); }, [] { return ProgramSettings.DeviceAddress; },
       0x5A},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    window->CollectProgramSettings();
    const std::uint32_t before = c.setting();
    ASSERT_NE(before, c.expected);
    c.change(*window);
    window->CollectProgramSettings();
    EXPECT_EQ(c.setting(), c.expected);
    StartAgain();  // the next control from the window's defaults
  }
}

TEST_F(WindowSettingsTest, ANumberFieldThatIsNoIntegerRaisesTheErrorThatTheHandlerShows) {
  window->SNEdit1->setText("12a");
  const QString memo = window->InfoMemo->toPlainText();
  EXPECT_THROW(window->CollectProgramSettings(), EConvertError);
  EXPECT_EQ(window->InfoMemo->toPlainText(), memo);
  // Through a bound handler the text reaches one box and the window goes on.
  window->ChkBoxSNDP->click();
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"'12a' is not a valid integer value"});
  EXPECT_EQ(window->SNEdit1->text(), "12a");
}

TEST_F(WindowSettingsTest, TheSnBoxesEnableTheirControlsAndSwitchTheDisplay) {
  QWidget* const snControls[] = {window->AddrEdit, window->SNEdit1, window->GainEdit, window->SNOrderChk,
                                 window->ChkBoxPCSN};
  for (QWidget* control : snControls) EXPECT_FALSE(control->isEnabled());
  window->CheckBoxSN->click();
  for (QWidget* control : snControls) EXPECT_TRUE(control->isEnabled());
  window->CheckBoxSN->setChecked(false);  // as a project does
  for (QWidget* control : snControls) EXPECT_FALSE(control->isEnabled());

  EXPECT_FALSE(window->SpinEditNum->isEnabled());
  window->CheckBoxCtrl->click();
  EXPECT_TRUE(window->SpinEditNum->isEnabled());
  window->CheckBoxCtrl->setChecked(false);
  EXPECT_FALSE(window->SpinEditNum->isEnabled());

  window->SNEdit1->setText("0xFFFFFFFF");
  window->ChkBoxSNDP->click();
  EXPECT_EQ(window->SNEdit1->text(), "4294967295");
  window->ChkBoxSNDP->click();
  EXPECT_EQ(window->SNEdit1->text(), "0xFFFFFFFF");
  window->SNEdit1->setText("$2A");
  window->ChkBoxSNDP->click();
  EXPECT_EQ(window->SNEdit1->text(), "42");
  EXPECT_TRUE(prompts.Shown.empty());
}

class WindowSerialNumberTest : public WindowSettingsTest {
 protected:
  void SetUp() override {
    WindowSettingsTest::SetUp();
    SelectPatternChip();
    window->FillHexViewer(0, ObjectState.MainDataLength - 1);  // 0x130 rows
    window->CheckBoxSN->click();
    window->ChkBoxPCSN->click();
    window->SNEdit1->setText("0x12345678");
  }
};

// The number goes only into what the chips are sent: the image, the viewer
// and the data length keep the file's.
TEST_F(WindowSerialNumberTest, TheNumberIsGivenToTheChipsAndTheViewerKeepsTheFilesData) {
  window->AddrEdit->setText("0x0800FFFE");
  window->CollectProgramSettings();
  EXPECT_EQ(ProgramSettings.SnOnline, 1);
  const std::uint8_t before[4] = {MemoryImages.MainFlashImage[0xFFFE], MemoryImages.MainFlashImage[0xFFFF],
                                  MemoryImages.MainFlashImage[0x10000], MemoryImages.MainFlashImage[0x10001]};
  QSignalSpy changed(&HexCells(), &QAbstractItemModel::dataChanged);
  ASSERT_TRUE(window->PrepareSerialNumberWhenOnline());
  const TSerialNumberBytes& number = ObjectState.OnlineSerialNumber;
  EXPECT_EQ(number.First, 0xFFFEu);
  EXPECT_EQ(std::vector<std::uint8_t>(number.Bytes, number.Bytes + number.Size),
            (std::vector<std::uint8_t>{0x12, 0x34, 0x56, 0x78}));
  EXPECT_TRUE(std::equal(before, before + 4, MemoryImages.MainFlashImage + 0xFFFE));
  EXPECT_EQ(HexCells().rowCount(), 0x130);
  EXPECT_EQ(changed.size(), 0);
  EXPECT_EQ(ObjectState.MainDataLength, 0x1300u);
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WindowSerialNumberTest, ANumberOutsideTheMainAreaIsNotGivenAndStopsTheCommand) {
  window->AddrEdit->setText("0x0801FFFE");
  window->CollectProgramSettings();
  EXPECT_FALSE(window->PrepareSerialNumberWhenOnline());
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"S/N Address 0x0801FFFE (4 Bytes) is out of Main Flash "
                                                    "0x08000000 - 0x0801FFFF, no chip is programmed!"});
  EXPECT_EQ(ObjectState.OnlineSerialNumber.Size, 0);
}

TEST_F(WindowSerialNumberTest, WithoutOnlineSnNoNumberIsGivenAndTheCommandGoesOn) {
  window->ChkBoxPCSN->click();
  window->AddrEdit->setText("0x08000000");
  window->CollectProgramSettings();
  EXPECT_EQ(ProgramSettings.SnOnline, 0);
  EXPECT_TRUE(window->PrepareSerialNumberWhenOnline());
  EXPECT_EQ(ObjectState.OnlineSerialNumber.Size, 0);
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WindowSerialNumberTest, AdvanceAddsTheGainOnlyWithBothBoxesTicked) {
  struct Case {
    const char* what;
    bool snEnabled, online, decimal;
    const char* start;
    const char* gain;
    const char* shown;
  };
  const Case cases[] = {
      {"hex display", true, true, false, "0x000000FF", "0x01", "0x00000100"},
      {"decimal display", true, true, true, "4294967290", "5", "4294967295"},
      {"wrapping", true, true, false, "0xFFFFFFFF", "2", "0x00000001"},
      {"online S/N unticked", true, false, false, "0x000000FF", "0x01", "0x000000FF"},
      {"S/N unticked", false, true, false, "0x000000FF", "0x01", "0x000000FF"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    window->CheckBoxSN->setChecked(true);
    window->ChkBoxPCSN->setChecked(c.online);
    window->ChkBoxSNDP->setChecked(c.decimal);
    window->SNEdit1->setText(c.start);
    window->GainEdit->setText(c.gain);
    window->CollectProgramSettings();
    const std::uint32_t value = ProgramSettings.SnValue;
    window->CheckBoxSN->setChecked(c.snEnabled);
    window->AdvanceSerialNumber();
    EXPECT_EQ(window->SNEdit1->text(), c.shown);
    EXPECT_EQ(ProgramSettings.SnValue, c.snEnabled && c.online ? value + ProgramSettings.SnGain : value);
    // The next collection reads back what is shown.
    window->CheckBoxSN->setChecked(true);
    const std::uint32_t advanced = ProgramSettings.SnValue;
    window->CollectProgramSettings();
    EXPECT_EQ(ProgramSettings.SnValue, advanced);
  }
}

}  // namespace
