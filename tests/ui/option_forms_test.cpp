// The option dialogs and the constant-filling dialog as the operator uses
// them: what each shows when it opens, and what its OK writes. Each writes
// a picture of itself beside the window's.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <cstring>
#include <vector>

#include "chips/ac78x_option_values.h"
#include "chips/aucux_config_values.h"
#include "chips/lcmpx_option_values.h"
#include "chips/option_presets.h"
#include "chips/spd117x_config_values.h"
#include "data/program_state.h"
#include "operator_fakes.h"
#include "started_window.h"
#include "text/option_dialog_texts.h"
#include "ui/ac78x_option_form.h"
#include "ui/aucux_config_form.h"
#include "ui/config_sn_form.h"
#include "ui/lcmpx_option_form.h"
#include "ui/radio_group.h"
#include "ui/spd117x_config_form.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes OptionBytes(std::size_t from, std::size_t to) {
  return {MemoryImages.OptionImage + from, MemoryImages.OptionImage + to};
}
Bytes WholeOptionImage() { return OptionBytes(0, kOptionImageSize); }

void SavePicture(QWidget& dialog, const char* file) {
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.grab().toImage().save(QStringLiteral(VELMOT_UI_TEST_OUTPUT_DIR "/") + file)) << file;
}

void Retype(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(field, text);
}

class OptionFormsTest : public testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }
  void TearDown() override { ResetProgramState(); }

  TFakePrompts prompts;
};

TEST_F(OptionFormsTest, AC78xxDialogShowsTheImageAndOkWritesIt) {
  ResetAC78xOptionImage();
  const Bytes erp0 = {0xFF, 0x00, 0x00, 0xFF};  // ERP0 0x00FF
  std::memcpy(MemoryImages.OptionImage + 8, erp0.data(), erp0.size());
  TAC78xOptBForm form;
  form.show();
  EXPECT_EQ(form.windowTitle(), "Config N32xx Option Byte Wizard");
  EXPECT_EQ(form.ComBoxROP->currentIndex(), 0);
  EXPECT_EQ(form.PanelROP->text(), "0xFFAC");
  EXPECT_EQ(form.ComBoxWDT->currentText(), "WDT 关闭");
  EXPECT_EQ(form.PanelWDT->text(), "0xFFFF");
  EXPECT_EQ(form.EditERP[0]->text(), "0x00FF");
  EXPECT_EQ(form.EditUser1->text(), "0xFFFF");

  form.ComBoxROP->setCurrentIndex(1);
  EXPECT_EQ(form.PanelROP->text(), "0xFF00");
  form.ComBoxWDT->setCurrentIndex(1);
  EXPECT_EQ(form.PanelWDT->text(), "0xFF33");
  Retype(form.EditUser1, "0x1234");
  SavePicture(form, "ac78x_option_form.png");
  QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(OptionBytes(0, 12), (Bytes{0x00, 0xFF, 0xFF, 0xFF, 0x33, 0xFF, 0xCC, 0xFF, 0xFF, 0x00, 0x00, 0xFF}));
  EXPECT_EQ(OptionBytes(44, 48), (Bytes{0x34, 0x12, 0xCB, 0xED}));
  EXPECT_EQ(ProgramSettings.OptionsModified, 1);
  EXPECT_TRUE(prompts.Shown.empty());
}

// The error names the text; the dialog closes as after OK and the image
// stays as it was, so "Prog. Option Byte" programs nothing half rebuilt.
TEST_F(OptionFormsTest, AC78xxFieldThatIsNoNumberIsShownAndChangesNothing) {
  ResetAC78xOptionImage();
  const Bytes before = WholeOptionImage();
  TAC78xOptBForm form;
  form.show();
  form.ComBoxROP->setCurrentIndex(1);
  Retype(form.EditERP[2], "0x12K4");
  QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"'0x12K4' is not a valid integer value"});
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(WholeOptionImage(), before);
  EXPECT_EQ(ProgramSettings.OptionsModified, 0);
}

TEST_F(OptionFormsTest, AU30xDialogShowsTheBitsAndOkWritesTheBoxes) {
  ResetAUCUxConfigImage();
  MemoryImages.OptionImage[0x10] = 0x05;
  MemoryImages.OptionImage[0x20] = 0xFE;
  TAUCUxCfgForm form;
  form.show();
  EXPECT_EQ(form.windowTitle(), "Config Setting ");
  EXPECT_FALSE(form.ChkBoxDnURT[0]->isChecked());
  EXPECT_TRUE(form.ChkBoxDnURT[1]->isChecked());
  EXPECT_FALSE(form.ChkBoxDnURT[2]->isChecked());
  EXPECT_TRUE(form.ChkBoxDnRGN1->isChecked());
  EXPECT_FALSE(form.ChkBoxDnRGN1->isEnabled());
  EXPECT_FALSE(form.ChkBoxDnJTAG->isEnabled());
  EXPECT_EQ(form.ChkBoxLFC->text(), "启用生命周期权限管理");

  form.ChkBoxLFC->click();
  form.ChkBoxDnURT[2]->click();
  SavePicture(form, "aucux_config_form.png");
  QTest::mouseClick(form.BitBtn2, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  const Bytes expected = {0xFE, 0xF9, 0xFF, 0xFF, 0xFF};
  const std::size_t offsets[] = {0x00, 0x10, 0x14, 0x18, 0x20};
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(MemoryImages.OptionImage[offsets[i]], expected[i]) << offsets[i];
  EXPECT_EQ(ProgramSettings.OptionsModified, 1);
}

TEST_F(OptionFormsTest, AU30xCancelChangesNothing) {
  ResetAUCUxConfigImage();
  const Bytes before = WholeOptionImage();
  TAUCUxCfgForm form;
  form.show();
  form.ChkBoxDnBOT->click();
  QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_EQ(WholeOptionImage(), before);
  EXPECT_EQ(ProgramSettings.OptionsModified, 0);
}

TEST_F(OptionFormsTest, LCMPxDialogShowsTheImageAndOkWritesIt) {
  ResetLCMPxOptionImage();
  SessionTexts.ChipName = "LCM32F037C8";
  ProgramSettings.OptionsModified = 1;
  TCfgLCMPxOptForm form;
  form.show();
  EXPECT_EQ(form.windowTitle(), "LCM32F037C8 Option Byte Setup");
  EXPECT_EQ(ProgramSettings.OptionsModified, 1);  // looking does not clear it
  EXPECT_EQ(form.ComBoxBTSEL->currentIndex(), 0);
  EXPECT_EQ(form.ComBoxWDG->currentText(), "1 ：软件看门狗");
  EXPECT_EQ(form.ComBoxRDP[11]->currentText(), "0x00 ：启用保护");  // the preset's RDP bytes are 0x00
  EXPECT_EQ(form.SpinEditDAT[0]->value(), 255);
  EXPECT_EQ(form.PageControlWRP->tabText(3), "WRP3-写保护3");

  // A data field holds one byte: typing 300 leaves 30.
  Retype(form.SpinEditDAT[1], "300");
  EXPECT_EQ(form.SpinEditDAT[1]->value(), 30);
  form.ChkBoxWRP[3][7]->click();
  form.ComBoxBTSEL->setCurrentIndex(1);
  for (QComboBox* rdp : form.ComBoxRDP) rdp->setCurrentIndex(0);
  form.PageControlWRP->setCurrentIndex(3);
  SavePicture(form, "lcmpx_option_form.png");
  QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(OptionBytes(0, 16), (Bytes{0xFF, 0x00, 0xFF, 0x00, 30, 0xE1, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF,
                                       0x00, 0x7F, 0x80}));
  for (std::size_t j = 0; j < 12; ++j) EXPECT_EQ(OptionBytes(16 + 2 * j, 18 + 2 * j), (Bytes{0xAA, 0x55})) << j;
  EXPECT_EQ(ProgramSettings.OptionsModified, 1);
}

TEST_F(OptionFormsTest, LCMPxCancelChangesNeitherTheImageNorTheFlag) {
  for (const std::uint8_t flag : {0, 1}) {
    ResetLCMPxOptionImage();
    const Bytes before = WholeOptionImage();
    ProgramSettings.OptionsModified = flag;
    TCfgLCMPxOptForm form;
    form.show();
    form.ChkBoxWRP[0][0]->click();
    QTest::mouseClick(form.BitBtnNG, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(WholeOptionImage(), before);
    EXPECT_EQ(ProgramSettings.OptionsModified, flag);
  }
}

TEST_F(OptionFormsTest, SPD117xDialogShowsTheSettingsAndOkErasesTheRest) {
  ResetSpctrolOptionImage();
  MemoryImages.OptionImage[2] = 0x00;
  MemoryImages.OptionImage[100] = 0x12;
  TCfgSPD117xFRM form;
  form.show();
  EXPECT_EQ(form.windowTitle(), "SPD117x Chip Configuration");
  EXPECT_TRUE(form.ChkBoxLckCP->isChecked());
  EXPECT_FALSE(form.ChkBoxEnWDT->isChecked());
  form.ChkBoxEnWDT->click();
  SavePicture(form, "spd117x_config_form.png");
  QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  Bytes expected(kOptionImageSize, 0xFF);
  std::fill_n(expected.begin(), 4, 0x55);
  std::fill_n(expected.begin() + 4, 4, 0x33);
  EXPECT_EQ(WholeOptionImage(), expected);
  EXPECT_EQ(ProgramSettings.OptionsModified, 0);
}

// The constant-filling dialog writes into the window's images and viewers.
class ConstantFormTest : public StartedWindowTest {
 protected:
  void SetUp() override {
    StartedWindowTest::SetUp();
    if (HasFatalFailure()) return;
    SelectPatternChip();
    window->RefreshChecksumsAndViews();
    form = std::make_unique<TConfigSNForm>(window.get());
  }
  void TearDown() override {
    form.reset();
    StartedWindowTest::TearDown();
  }
  static void Choose(TRadioGroup& group, int item) {
    group.findChildren<QRadioButton*>().at(item)->click();
  }

  std::unique_ptr<TConfigSNForm> form;
};

TEST_F(ConstantFormTest, ShowsItsCaptionsAndOffersTheMainAreasStart) {
  form->show();
  EXPECT_EQ(form->windowTitle(), "Config S/N Constant");
  EXPECT_EQ(form->RadioGrpSN->title(), " SN Address Scope ");
  EXPECT_EQ(form->RadioGrpSN->ItemText(1), "EEP Flash Area");
  EXPECT_EQ(form->RadioGroupFM->ItemText(0), "ASCII Code(String)");
  EXPECT_EQ(form->RadioGroupFM->ItemText(1), "HEX Data");
  EXPECT_EQ(form->LabelAdrS->text(), "Data Starting Address:");
  EXPECT_EQ(form->LabelCntDT->text(), "Data Content(Hex data Separated by spaces):  ");
  EXPECT_EQ(form->RadioGrpSN->ItemIndex(), 0);
  EXPECT_EQ(form->RadioGroupFM->ItemIndex(), 0);
  EXPECT_EQ(form->AddrEditSN->text(), "0x08000000");
  Choose(*form->RadioGrpSN, 1);
  EXPECT_EQ(form->AddrEditSN->text(), "0x08100000");
  Choose(*form->RadioGrpSN, 0);
  EXPECT_EQ(form->AddrEditSN->text(), "0x08000000");
  Choose(*form->RadioGrpSN, 1);

  // Shown again: the main area and its start, the data and format kept.
  Choose(*form->RadioGroupFM, 1);
  QTest::keyClicks(form->EditDataSN, "ab 12");
  form->reject();
  form->show();
  EXPECT_EQ(form->RadioGrpSN->ItemIndex(), 0);
  EXPECT_EQ(form->AddrEditSN->text(), "0x08000000");
  EXPECT_EQ(form->RadioGroupFM->ItemIndex(), 1);
  EXPECT_EQ(form->EditDataSN->text(), "AB 12");  // typed letters in upper case
  SavePicture(*form, "config_sn_form.png");
}

TEST_F(ConstantFormTest, OkWritesTheTypedConstantAndShowsIt) {
  form->show();
  Retype(form->AddrEditSN, "0x08000013");
  QTest::keyClicks(form->EditDataSN, "sn01");
  QTest::mouseClick(form->BitBtnOK, Qt::LeftButton);
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(form->result(), QDialog::Accepted);
  EXPECT_EQ(Bytes(MemoryImages.MainFlashImage + 0x13, MemoryImages.MainFlashImage + 0x17),
            (Bytes{0x53, 0x4E, 0x30, 0x31}));
  EXPECT_EQ(Cell(HexCells(), 1, 4), "53");
  EXPECT_EQ(Cell(HexCells(), 1, 17).mid(3, 4), "SN01");
  EXPECT_TRUE(prompts.Shown.empty());

  // Hex bytes into the EEP image: its sum logged again and its viewer refilled.
  form->show();
  Choose(*form->RadioGrpSN, 1);
  Choose(*form->RadioGroupFM, 1);
  Retype(form->EditDataSN, "5a a5");
  QTest::mouseClick(form->BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(Bytes(MemoryImages.EepImage, MemoryImages.EepImage + 2), (Bytes{0x5A, 0xA5}));
  EXPECT_EQ(Cell(EepCells(), 0, 1), "5A");
  EXPECT_TRUE(Memo().last().startsWith("> 09:05:07 Chip EEP Data ACC32 CheckSum   = 0x"));
}

TEST_F(ConstantFormTest, RefusalsAreShownAndWriteNothing) {
  const Bytes main(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kMainFlashImageSize);
  form->show();
  QTest::mouseClick(form->BitBtnOK, Qt::LeftButton);  // no data: the dialog stays
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ConstantDataPrompt)});
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->EditDataSN->hasFocus() || !form->isActiveWindow());

  struct Case {
    const char* Address;
    std::string Box;
  };
  const Case cases[] = {{"0x08020000", Text(TTextId::ConstantAddressOutOfChip)},
                        {"0x07FFFFFF", Text(TTextId::ConstantAddressOutOfChip)},
                        {"0x0801FFFF", Text(TTextId::ConstantAddressOutOfChip)},  // "AB" would end past the area
                        {"0x0800Z000", "'0x0800Z000' is not a valid integer value"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Address);
    prompts.Shown.clear();
    form->show();
    Retype(form->AddrEditSN, c.Address);
    Retype(form->EditDataSN, "AB");
    QTest::mouseClick(form->BitBtnOK, Qt::LeftButton);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{c.Box});
    EXPECT_FALSE(form->isVisible());  // closed as after OK
    EXPECT_TRUE(Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kMainFlashImageSize) == main);
  }
}

}  // namespace
