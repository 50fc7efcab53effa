// "Set Option Byte", "Show Chip Option Data" and "Fill SN Data" in the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <optional>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "data/image_sums.h"
#include "data/memory_areas.h"
#include "modal_closer.h"
#include "modal_watch.h"
#include "started_window.h"
#include "text/option_dialog_texts.h"
#include "text/text_id.h"
#include "ui/ac78x_option_form.h"
#include "ui/aucux_config_form.h"
#include "ui/config_sn_form.h"
#include "ui/lcmpx_option_form.h"
#include "ui/radio_group.h"
#include "ui/spd117x_config_form.h"

namespace {

class WindowDialogsTest : public StartedWindowTest {
 protected:
  // A part chosen as the chip dialog's OK chooses it, and shown.
  void Choose(std::uint8_t vendor) {
    ASSERT_TRUE(AcceptChipChoice(vendor, 0));
    window->MCUNameEdit->setText(QString::fromStdString(SessionTexts.ChipName));
  }
  // The memo's lines added since it held memoBefore lines.
  QStringList LinesSince(qsizetype memoBefore) const { return Memo().mid(memoBefore); }
};

template <typename Form>
std::function<void(QWidget&)> Press(QPushButton* Form::*button) {
  return [button](QWidget& modal) {
    auto& form = dynamic_cast<Form&>(modal);
    (form.*button)->click();
  };
}

TEST_F(WindowDialogsTest, SetOptionByteOpensTheFamilysDialogListsTheOptionsAndFollowsTheFlag) {
  struct Case {
    const char* Name;
    std::uint8_t Vendor;
    std::function<void(QWidget&)> Close;  // none: no dialog opens
    std::uint8_t FlagBefore;
    std::uint8_t FlagAfter;
    const char* FirstListed;  // the first line listed; none for no listing
    qsizetype Listed;
  };
  const Case cases[] = {
      {"AC78xx, Cancel", kVendorAC78xx, Press(&TAC78xOptBForm::BitBtnNG), 1, 1,
       "> 09:05:07 Current Option: FFAC FFFF FFFF FFFF FFFF FFFF FFFF FFFF", 1},
      {"AC78xx, OK", kVendorAC78xx,
       [](QWidget& modal) {
         auto& form = dynamic_cast<TAC78xOptBForm&>(modal);
         form.ComBoxWDT->setCurrentIndex(1);
         form.BitBtnOK->click();
       },
       0, 1, "> 09:05:07 Current Option: FFAC FF33 FFFF FFFF FFFF FFFF FFFF FFFF", 1},
      {"AU30x, OK", kVendorAUCUx, Press(&TAUCUxCfgForm::BitBtn2), 0, 1,
       "  0x03802000 : FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF", 16},
      {"LCP037/LCM32F037, Cancel", kVendorLCMPx, Press(&TCfgLCMPxOptForm::BitBtnNG), 0, 0, "", 5},
      {"LCP037/LCM32F037, OK", kVendorLCMPx, Press(&TCfgLCMPxOptForm::BitBtnOK), 0, 1, "", 5},
      {"SPD117x, OK", kVendorSpctrol, Press(&TCfgSPD117xFRM::BitBtnOK), 1, 1, nullptr, 0},
      {"Indie, no dialog", kVendorIndie, {}, 1, 1, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Choose(c.Vendor);
    ProgramSettings.OptionsModified = c.FlagBefore;
    window->CheckBoxOpt->setChecked(!c.FlagAfter);
    const qsizetype before = Memo().size();
    std::optional<TModalWatch> unexpected;  // rejects a dialog where none may open
    if (c.Close) {
      OnNextModal(c.Close);
    } else {
      unexpected.emplace();
    }
    // The SPD/SPC adapter hides the button, so its handler runs as a click would run it.
    if (window->BtnOptionCfg->isVisible()) {
      window->BtnOptionCfg->click();
    } else {
      window->BtnOptionCfgClick();
    }
    if (unexpected) {
      EXPECT_EQ(unexpected->Opened, 0);
    }
    EXPECT_EQ(ProgramSettings.OptionsModified, c.FlagAfter);
    EXPECT_EQ(window->CheckBoxOpt->isChecked(), c.FlagAfter != 0);
    const QStringList listed = LinesSince(before);
    EXPECT_EQ(listed.size(), c.Listed) << listed.join('\n').toStdString();
    if (c.FirstListed && *c.FirstListed && !listed.isEmpty()) {
      EXPECT_EQ(listed.front(), c.FirstListed);
    }
  }
}

TEST_F(WindowDialogsTest, ShowChipOptionDataListsTheFamilysOptionsOnly) {
  auto* item = window->findChild<QAction*>("ShowChipOptionData1");
  Choose(kVendorSonic);  // its adapter leaves the item shown; the family has no listing
  ASSERT_TRUE(item->isVisible());
  const QString memo = window->InfoMemo->toPlainText();
  item->trigger();
  EXPECT_EQ(window->InfoMemo->toPlainText(), memo);

  Choose(kVendorAC78xx);
  const qsizetype before = Memo().size();
  item->trigger();
  EXPECT_EQ(LinesSince(before),
            QStringList{"> 09:05:07 Current Option: FFAC FFFF FFFF FFFF FFFF FFFF FFFF FFFF"});
}

// "Fill SN Data" without a chip, or with a chip and no data, warns; it and
// "Set Option Byte" while a programmer is busy say so. One box, no dialog,
// nothing logged, the images and the option flag as they were.
TEST_F(WindowDialogsTest, WithoutAChipOrDataOrWhileBusyTheCommandsSayWhyAndOpenNoDialog) {
  struct Case {
    const char* Control;
    bool Chip, Data, Busy;
    std::string Box;
    bool Warning;
  };
  const std::string busy = Text(TTextId::JobChangeBusyText);
  const Case cases[] = {
      {"ButtonCfgSN", false, false, false, kSelectChipAndLoadDataText, true},
      {"ButtonCfgSN", true, false, false, kSelectChipAndLoadDataText, true},
      {"ButtonCfgSN", true, true, true, busy, false},
      {"BtnOptionCfg", true, true, true, busy, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Control) + (c.Chip ? " chip" : "") + (c.Data ? " data" : "") + (c.Busy ? " busy" : ""));
    StartAgain();
    if (c.Chip) {
      Choose(kVendorAUCUx);
      ObjectState.ObjectLoaded = c.Data;
    }
    ProgrammerState.ChannelBusy[6] = c.Busy;
    ProgramSettings.OptionsModified = 1;
    window->CheckBoxOpt->setChecked(false);
    prompts.Shown.clear();
    prompts.Warned.clear();
    const QString memo = window->InfoMemo->toPlainText();
    const std::vector<std::uint8_t> main(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage));
    const std::vector<std::uint8_t> options(std::begin(MemoryImages.OptionImage), std::end(MemoryImages.OptionImage));
    TModalWatch watch;
    Trigger(c.Control);
    EXPECT_EQ(watch.Opened, 0);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{c.Box});
    EXPECT_EQ(prompts.Warned, c.Warning ? prompts.Shown : std::vector<std::string>{});
    EXPECT_EQ(window->InfoMemo->toPlainText(), memo);
    EXPECT_TRUE(std::ranges::equal(MemoryImages.MainFlashImage, main));
    EXPECT_TRUE(std::ranges::equal(MemoryImages.OptionImage, options));
    EXPECT_EQ(ProgramSettings.OptionsModified, 1);
    EXPECT_FALSE(window->CheckBoxOpt->isChecked());
  }
}

TEST_F(WindowDialogsTest, FillSnDataCancelledStillSumsTheDataAgain) {
  SelectPatternChip();
  ObjectState.FileChecksum = 0x00ABCDEF;
  ObjectState.MainDataLength = 0x400;  // as an earlier load left it
  for (QLabel* panel : window->StatusPanels) panel->setText("stale");
  const qsizetype before = Memo().size();
  OnNextModal(Press(&TConfigSNForm::BitBtnCancel));
  window->ButtonCfgSN->click();

  const std::uint32_t mainSum = SumBytes(MainAreaBytes(), 0, 0x12FF);
  const std::uint32_t eepSum = SumBytes(EepAreaBytes(), 0, 0xFFF);
  EXPECT_EQ(ObjectState.MainDataLength, 0x1300u);
  EXPECT_EQ(ObjectState.ChipChecksum, mainSum + eepSum);
  const QStringList expected = {
      "> 09:05:07 Chip Actual Programmed Data Size is: 4864Bytes/0x000012FF.",
      "",
      QString::asprintf("> 09:05:07 Chip Main Flash ACC32 CheckSum = 0x%08X.", mainSum),
      QString::asprintf("> 09:05:07 Chip EEP Data ACC32 CheckSum   = 0x%08X", eepSum),
      QString::asprintf("> 09:05:07 Chip ACC32 CheckSum is : 0x%08X", mainSum + eepSum),
  };
  EXPECT_EQ(LinesSince(before), expected);
  EXPECT_EQ(window->StatusPanels[0]->text(), "File CheckSum: 0x00ABCDEF");
  EXPECT_EQ(window->StatusPanels[1]->text(), QString::asprintf("Chip CheckSum: 0x%08X", mainSum + eepSum));
}

// A constant above the data loaded so far lengthens the data to program.
TEST_F(WindowDialogsTest, FillSnDataWrittenPastTheDataLengthensIt) {
  SelectPatternChip();
  window->RefreshChecksumsAndViews();
  OnNextModal([](QWidget& modal) {
    auto& form = dynamic_cast<TConfigSNForm&>(modal);
    form.AddrEditSN->setText("0x08002000");
    form.RadioGroupFM->SetItemIndex(1);
    form.EditDataSN->setText("12 34");
    form.BitBtnOK->click();
  });
  const qsizetype before = Memo().size();
  window->ButtonCfgSN->click();
  EXPECT_EQ(MemoryImages.MainFlashImage[0x2000], 0x12);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x2001], 0x34);
  EXPECT_EQ(Cell(HexCells(), 0x200, 2), "34");
  EXPECT_EQ(ObjectState.MainDataLength, 0x2100u);
  EXPECT_EQ(LinesSince(before).front(), "> 09:05:07 Chip Actual Programmed Data Size is: 8448Bytes/0x000020FF.");
}

}  // namespace
