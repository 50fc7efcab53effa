#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "driver_file.h"
#include "modal_closer.h"
#include "modal_watch.h"
#include "started_window.h"
#include "text/format_text.h"
#include "text/text_id.h"
#include "ui/chip_select_form.h"
#include "ui/message_box_prompts.h"
#include "ui/radio_group.h"

namespace {

class WindowChipTest : public StartedWindowTest {
 protected:
  // A part chosen as the dialog's OK chooses it, then shown as the chip
  // button shows it: its name into the chip-name edit.
  void Choose(std::uint8_t vendor, std::size_t row) {
    ASSERT_TRUE(AcceptChipChoice(vendor, row));
    window->MCUNameEdit->setText(QString::fromStdString(SessionTexts.ChipName));
  }
  QAction* Action(const char* name) const { return window->findChild<QAction*>(name); }
  QWidget* Widget(const char* name) const { return window->findChild<QWidget*>(name); }
  bool Shown(const char* name) const {
    if (QAction* action = Action(name)) return action->isVisible();
    return !Widget(name)->isHidden();
  }
  bool TabShown(QWidget* page) const { return window->ViewPageCtrl->isTabVisible(window->ViewPageCtrl->indexOf(page)); }
  std::string DriverPath(const char* file) const { return Folder() + "QuorixDRVs/" + file + ".VDR"; }
};

// What each family's adapter leaves, whatever family came before it.
TEST_F(WindowChipTest, EachFamilyLeavesItsOwnControlsWhateverFamilyCameBefore) {
  struct Family {
    const char* Name;
    bool Options;       // the option commands
    bool OptionTicked;  // "Prog. Option Byte"
    bool OptionData;    // "Show Chip Option Data"
    bool ChipInfo;      // "&Read Chip Information"
    bool Interface;     // the SWD/SWE group
    bool Locked;        // the "&Command" menu and the erase, program, auto and download buttons
    int Voltage;        // item of the voltage group
  };
  const Family families[] = {
      {"AC78xx", true, false, true, true, false, false, 1},   {"Indie", false, false, false, true, false, false, 0},
      {"LAPIS", false, false, false, false, false, false, 0}, {"AU30x", true, true, true, true, false, false, 1},
      {"MR88F", false, false, false, true, true, false, 1},   {"LCP037", true, true, true, false, false, false, 1},
      {"BAT32", false, false, false, false, false, false, 0}, {"SN32F", false, false, true, false, false, false, 0},
      {"SPC/SPD", false, false, false, false, false, false, 1}, {"LE5x10", false, false, false, true, false, true, 0},
      {"SA32B", false, false, false, true, false, false, 1},
  };
  static_assert(std::size(families) == kVendorCount);
  for (std::uint8_t to = 0; to < kVendorCount; ++to) {
    const Family& f = families[to];
    for (std::uint8_t from = 0; from < kVendorCount; ++from) {
      if (from == to) continue;
      SCOPED_TRACE(std::string(families[from].Name) + " to " + f.Name);
      Choose(from, 0);
      Choose(to, 0);
      EXPECT_TRUE(Shown("RadioGpVolt"));
      EXPECT_TRUE(window->RadioGpVolt->isEnabled());
      EXPECT_EQ(window->RadioGpVolt->ItemIndex(), f.Voltage);
      EXPECT_FALSE(Shown("LabelDEVA"));
      EXPECT_FALSE(Shown("EditDevAdr"));
      for (const char* option : {"BtnOptionCfg", "CheckBoxOpt", "ReadOptionByte1", "WriteOptionByte1"})
        EXPECT_EQ(Shown(option), f.Options) << option;
      EXPECT_EQ(Shown("SpdBtnWrtOPB"), f.Options && !f.Locked);
      EXPECT_TRUE(window->CheckBoxOpt->isEnabled());
      EXPECT_EQ(window->CheckBoxOpt->isChecked(), f.OptionTicked);
      EXPECT_EQ(Shown("ShowChipOptionData1"), f.OptionData);
      EXPECT_EQ(Shown("ReadMG32xxChipID1"), f.ChipInfo);
      EXPECT_EQ(Shown("RadioGroupPIF"), f.Interface);
      EXPECT_TRUE(window->RadioGroupPIF->isEnabled());  // row 0 of MR88F is an SWD part
      EXPECT_EQ(window->RadioGroupPIF->ItemIndex(), 0);
      auto* commands = window->findChild<QMenu*>("Execute2");
      EXPECT_EQ(commands->menuAction()->isEnabled(), !f.Locked);
      for (const char* button : {"SpdBtnErase", "SpdBtnProg", "AutoSpdBtn", "SpdBtnDownLoad"}) {
        EXPECT_EQ(Shown(button), !f.Locked) << button;
        EXPECT_TRUE(Widget(button)->isEnabled()) << button;
      }
      const bool eep = SelectedChip.EepSize > 0;
      for (const char* control : {"ChkBoxPrgEEP", "ChkBoxErsEEP", "ReadEEPMemory1", "LoadEepDataFile1",
                                  "WriteEepDataMemory1", "SaveEepDatatoFile1"})
        EXPECT_EQ(Shown(control), eep) << control;
      EXPECT_EQ(TabShown(window->TabSheetEEP), eep);
    }
  }
}

// The interface group always shows the chip's interface bit, so the
// settings collection sends back what the chip (or a project) set.
TEST_F(WindowChipTest, TheInterfaceGroupShowsTheChipsInterfaceBitAtEveryChange) {
  Choose(kVendorMR88F, 39);  // "MR88F002Bx": SWE only
  ASSERT_EQ(SessionTexts.ChipName, "MR88F002Bx");
  EXPECT_TRUE(Shown("RadioGroupPIF"));
  EXPECT_FALSE(window->RadioGroupPIF->isEnabled());
  EXPECT_EQ(window->RadioGroupPIF->ItemIndex(), 1);

  Choose(kVendorIndie, 0);
  EXPECT_FALSE(Shown("RadioGroupPIF"));
  EXPECT_EQ(window->RadioGroupPIF->ItemIndex(), 0);
  window->CollectProgramSettings();
  EXPECT_EQ(SelectedChip.ControlBytes.PifSpeedFlags & 1, 0);

  // A chip of another family that comes with the SWE bit set keeps it.
  ASSERT_TRUE(AcceptChipChoice(kVendorIndie, 1));
  SelectedChip.ControlBytes.PifSpeedFlags |= 1;
  window->ChangeChip();
  EXPECT_EQ(window->RadioGroupPIF->ItemIndex(), 1);
  window->CollectProgramSettings();
  EXPECT_EQ(SelectedChip.ControlBytes.PifSpeedFlags & 1, 1);
}

TEST_F(WindowChipTest, AChipWithEepLogsItsMemoryMapAndShowsItsEepControls) {
  window->InfoMemo->clear();
  HexCells().ShowRows(0, MemoryImages.MainFlashImage, 8);
  EepCells().ShowRows(0, MemoryImages.EepImage, 8);
  Choose(kVendorAUCUx, 0);  // no flash driver
  EXPECT_EQ(Memo(), (QStringList{
                        "> 09:05:07 Chip \"AU301LDF51xx\" has been selected!",
                        "> 09:05:07 Main Flash=32768Byte, EEP=8192Bytes",
                        "",
                        "> 09:05:07 Chip Main Flash Memory Size = 32768Bytes.",
                        "> 09:05:07 Chip Main Flash Start Address = 0x03000000.",
                        "> 09:05:07 Chip Main Flash End Address  = 0x03007FFF.",
                        "",
                        "> 09:05:07 Chip EEP Data Start Address = 0x03026000.",
                        "> 09:05:07 Chip EEP Data End Address  = 0x03027FFF.",
                    }));
  EXPECT_EQ(window->DpCpInfX->text(), "Main Flash=32768Byte, EEP=8192Bytes");
  EXPECT_EQ(HexCells().rowCount(), 0);
  EXPECT_EQ(EepCells().rowCount(), 0);
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_TRUE(TabShown(window->TabSheetEEP));
  EXPECT_TRUE(Shown("ChkBoxPrgEEP"));

  // The same part again leaves the window as it is.
  window->InfoMemo->clear();
  window->MCUNameEdit->setText("AU301LDF51xx");
  EXPECT_TRUE(window->InfoMemo->toPlainText().isEmpty());
}

TEST_F(WindowChipTest, AChipWithoutEepLogsNoEepLinesAndClearsTheEepBoxes) {
  Choose(kVendorAUCUx, 0);
  window->ChkBoxPrgEEP->setChecked(true);
  window->ChkBoxErsEEP->setChecked(true);
  window->InfoMemo->clear();
  Choose(kVendorIndie, 0);  // its flash driver is not in the folder
  EXPECT_EQ(Memo(), (QStringList{
                        "> 09:05:07 Chip \"IND83204xx\" has been selected!",
                        "> 09:05:07 Main Flash=65536Byte, EEP=0Bytes",
                        "",
                        "> 09:05:07 Chip Main Flash Memory Size = 65536Bytes.",
                        "> 09:05:07 Chip Main Flash Start Address = 0x00000000.",
                        "> 09:05:07 Chip Main Flash End Address  = 0x0000FFFF.",
                    }));
  EXPECT_EQ(window->DpCpInfX->text(), "Main Flash= 65536Bytes, No EEP.");
  EXPECT_EQ(prompts.Shown,
            std::vector<std::string>{"File \"" + DriverPath("LDR02") + "\" is not exists, please check it!"});
  EXPECT_FALSE(TabShown(window->TabSheetEEP));
  for (QCheckBox* box : {window->ChkBoxPrgEEP, window->ChkBoxErsEEP}) {
    EXPECT_TRUE(box->isHidden());
    EXPECT_FALSE(box->isChecked());
  }
  window->CollectProgramSettings();
  EXPECT_EQ(SelectedChip.ControlBytes.ProgramStepFlags & 0x28, 0);
  EXPECT_EQ(SelectedChip.ControlBytes.EraseFlags & 0x02, 0);
  EXPECT_EQ(ProgramSettings.EepProgram, 0);
}

TEST_F(WindowChipTest, TheChipButtonTakesThePartChosenInTheDialog) {
  OnNextModal([](QWidget& modal) {
    auto& dialog = dynamic_cast<TChipSelForm&>(modal);
    dialog.ListBoxCP->setCurrentRow(5);
    dialog.BitBtnOK->click();
  });
  window->DevButton->click();
  EXPECT_EQ(window->MCUNameEdit->text(), "IND86201xx");
  EXPECT_EQ(SelectedChip.ChipSubType, 0x10);
  EXPECT_TRUE(Memo().contains("> 09:05:07 Chip \"IND86201xx\" has been selected!"));
}

// A driver file that was missing when the part was chosen: the commands
// that would send the driver name the file, and choosing the part again,
// once the file is in place, loads it.
TEST_F(WindowChipTest, ChoosingThePartAgainLoadsADriverThatDidNotLoad) {
  const auto chooseFirstPart = [] {
    OnNextModal([](QWidget& modal) {
      auto& dialog = dynamic_cast<TChipSelForm&>(modal);
      dialog.ListBoxCP->setCurrentRow(0);
      dialog.BitBtnOK->click();
    });
  };
  chooseFirstPart();
  window->DevButton->click();
  ASSERT_EQ(window->MCUNameEdit->text(), "IND83204xx");
  const std::string path = DriverPath("LDR02");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{FormatText(TTextId::DriverFileMissingFormat, path.c_str())});
  prompts.Shown.clear();
  Trigger("SpdBtnBlankChk");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{FormatText(TTextId::DriverNotLoadedFormat, path.c_str())});

  WriteDriverFile(Folder(), "LDR02.VDR");
  const QString memo = window->InfoMemo->toPlainText();
  prompts.Shown.clear();
  chooseFirstPart();
  window->DevButton->click();
  EXPECT_EQ(SessionState.DriverValid, 1);
  EXPECT_EQ(window->InfoMemo->toPlainText(), memo);  // the window is left as it was
  Trigger("SpdBtnBlankChk");
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WindowChipTest, CancellingTheDialogChangesNothing) {
  const QString memo = window->InfoMemo->toPlainText();
  OnNextModal([](QWidget& modal) { dynamic_cast<TChipSelForm&>(modal).BitBtnNO->click(); });
  window->DevButton->click();
  EXPECT_EQ(window->MCUNameEdit->text(), "Please select Chip....");
  EXPECT_EQ(window->InfoMemo->toPlainText(), memo);
  EXPECT_EQ(ObjectState.ChipSelected, 0);
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 0);
}

// Neither from the button nor at the OK of a dialog that was open when the
// programmer started: the dialog then stays open.
TEST_F(WindowChipTest, TheChipCannotChangeWhileAProgrammerIsBusy) {
  Choose(kVendorAUCUx, 0);
  ProgrammerState.ChannelBusy[3] = 1;
  {
    TModalWatch watch;
    window->DevButton->click();
    EXPECT_EQ(watch.Opened, 0);  // no dialog
  }
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ChipChangeBusyText)});
  EXPECT_EQ(SessionTexts.ChipName, "AU301LDF51xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorAUCUx);

  ProgrammerState.ChannelBusy[3] = 0;
  prompts.Shown.clear();
  bool stayedOpen = false;
  OnNextModal([&stayedOpen](QWidget& modal) {
    auto& dialog = dynamic_cast<TChipSelForm&>(modal);
    ProgrammerState.ChannelBusy[3] = 1;
    dialog.ListBoxCP->setCurrentRow(1);
    dialog.BitBtnOK->click();
    stayedOpen = dialog.isVisible();
    dialog.reject();
  });
  window->DevButton->click();
  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ChipChangeBusyText)});
  EXPECT_EQ(SessionTexts.ChipName, "AU301LDF51xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorAUCUx);
  EXPECT_EQ(window->MCUNameEdit->text(), "AU301LDF51xx");
}

// A project hands over the chip directly, its name as read from the file.
TEST_F(WindowChipTest, AChipFromAProjectIsShownByNameUpToItsFirstZero) {
  ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 1));
  SessionTexts.ChipName = std::string("AU302NDF51xx\0\0old", 17);
  window->InfoMemo->clear();
  window->ChangeChip();
  EXPECT_EQ(SessionTexts.ChipName, "AU302NDF51xx");
  EXPECT_EQ(window->MCUNameEdit->text(), "AU302NDF51xx");
  EXPECT_EQ(Memo().front(), "> 09:05:07 Chip \"AU302NDF51xx\" has been selected!");
  EXPECT_EQ(Memo().size(), 9);  // once, not again through the edit's change
  EXPECT_TRUE(Shown("BtnOptionCfg"));
  // Opening the same project again adapts the window again.
  window->ChangeChip();
  EXPECT_EQ(Memo().size(), 18);
}

// Only an unattended ("OFF") run puts the driver loader's boxes into the log;
// with a project on the command line and no "OFF" the operator sees them.
TEST_F(WindowChipTest, TheDriverLoadersBoxesGoToTheLogOnlyInAnUnattendedRun) {
  const QString logged =
      QString::fromStdString("> 09:05:07 File \"" + DriverPath("LDR02") + "\" is not exists, please check it!");
  for (const bool off : {true, false}) {
    SCOPED_TRACE(off ? "OFF" : "project alone");
    StartAgain();
    SessionState.CmdLineMode = 1;
    SessionState.AutoCloseMode = off;
    TMessageBoxPrompts boxes;
    SetPrompts(&boxes);
    TModalWatch watch;
    Choose(kVendorIndie, 0);
    SetPrompts(&prompts);
    EXPECT_EQ(watch.Opened, off ? 0 : 1);
    EXPECT_EQ(Memo().contains(logged), off);
  }
}

TEST_F(WindowChipTest, TheStableTimesFollowTheAutoStartBoxFromItsFirstChange) {
  EXPECT_TRUE(window->SpinEditIn->isEnabled());
  EXPECT_TRUE(window->SpinEditOut->isEnabled());
  window->ChkBoxAuto->click();
  EXPECT_TRUE(window->SpinEditIn->isEnabled());
  window->ChkBoxAuto->click();
  EXPECT_FALSE(window->SpinEditIn->isEnabled());
  EXPECT_FALSE(window->SpinEditOut->isEnabled());
  window->ChkBoxAuto->setChecked(true);  // as a project sets it
  EXPECT_TRUE(window->SpinEditOut->isEnabled());
}

// A family with EEP and option bytes, chosen as a project would choose it.
TEST_F(WindowChipTest, PictureOfTheWindowWithAnAU30xChip) {
  ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 0));
  window->ChangeChip();
  QCoreApplication::processEvents();
  const QString folder = QStringLiteral(VELMOT_UI_TEST_OUTPUT_DIR);
  EXPECT_TRUE(window->grab().toImage().save(folder + "/main_window_au30x.png"));
}

}  // namespace
