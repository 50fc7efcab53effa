#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "data/program_state.h"
#include "ui/chip_select_form.h"
#include "ui/radio_group.h"

namespace {

class ChipSelectFormTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    form.show();
  }
  void TearDown() override { ResetProgramState(); }

  QStringList Rows() const {
    QStringList rows;
    for (int i = 0; i < form.ListBoxCP->count(); ++i) rows << form.ListBoxCP->item(i)->text();
    return rows;
  }
  void ChooseRow(int row) { form.ListBoxCP->setCurrentRow(row); }
  void ClickOk() { QTest::mouseClick(form.BitBtnOK, Qt::LeftButton); }

  TChipSelForm form;
};

TEST_F(ChipSelectFormTest, OpensOnTheSixIndiePartsWithTheFirstSelectedAndNoVendorChoice) {
  EXPECT_EQ(form.windowTitle(), "Chip Select Dialog");
  EXPECT_EQ(Rows(), (QStringList{"IND83204xx", "IND83205xx", "IND83209xx", "IND83212xx", "IND83213A", "IND86201xx"}));
  EXPECT_EQ(form.ListBoxCP->currentRow(), 0);
  EXPECT_TRUE(form.ListBoxCP->item(0)->isSelected());
  EXPECT_TRUE(form.RadioGrpSelMF->isHidden());
  EXPECT_EQ(form.RadioGrpSelMF->ItemIndex(), kVendorIndie);
  EXPECT_EQ(form.RadioGrpSelMF->ItemCount(), 11);
  EXPECT_EQ(form.RadioGrpSelMF->ItemText(10), "矽力杰-Silergy");
  // Opening alone changes nothing of the selected chip.
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 0);
  EXPECT_EQ(ObjectState.ChipSelected, 0);

  ObjectState.ObjectLoaded = 1;
  ClickOk();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(SessionTexts.ChipName, "IND83204xx");
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorIndie);
  EXPECT_EQ(SelectedChip.ChipSubType, 0);
  EXPECT_EQ(ObjectState.ChipSelected, 1);
  EXPECT_EQ(ObjectState.ObjectLoaded, 0);  // data of the earlier chip must be loaded again
}

// One name of every vendor's list, from the vendor item through the list
// into the vendor's setter.
TEST_F(ChipSelectFormTest, EveryVendorsListReachesItsSetterThroughTheDialog) {
  struct Case {
    int Vendor;
    int Rows;
    int Row;
    const char* Name;
    std::uint32_t MainSize;  // what the vendor's setter makes of the name
  };
  const Case cases[] = {
      {0, 31, 30, "AC7815QBxx", 256 * 1024},   {1, 6, 5, "IND86201xx", 0x27F00},
      {2, 3, 2, "ML630Q448", 512 * 1024},      {3, 3, 1, "AU302NDF51xx", 32 * 1024},
      {4, 53, 52, "MR88FE02Cx", 128 * 1024},   {5, 17, 16, "LCM32F037R8xx", 0},
      {6, 23, 22, "BAT32A279KM100xx", 0},      {7, 15, 14, "SN32F7661BJG", 0},
      {8, 10, 9, "SPD1179DPW48", 0},           {9, 14, 13, "LE5110SI", 0},
      {10, 3, 2, "SA32B12xx", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ResetProgramState();
    TChipSelForm dialog;
    dialog.show();
    // The operator's click on a vendor item: hidden in this build, the group still serves every vendor.
    dialog.RadioGrpSelMF->findChildren<QRadioButton*>()[c.Vendor]->click();
    ASSERT_EQ(dialog.ListBoxCP->count(), c.Rows);
    EXPECT_EQ(dialog.ListBoxCP->currentRow(), 0);
    dialog.ListBoxCP->setCurrentRow(c.Row);
    EXPECT_EQ(dialog.ListBoxCP->currentItem()->text(), c.Name);
    QTest::mouseClick(dialog.BitBtnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(SessionTexts.ChipName, c.Name);
    EXPECT_EQ(SelectedChip.ChipFamilyIndex, c.Vendor);
    EXPECT_EQ(ObjectState.ChipSelected, 1);
    EXPECT_GT(SelectedChip.MainSize, 0u);
    if (c.MainSize) {
      EXPECT_EQ(SelectedChip.MainSize, c.MainSize);
    }
    EXPECT_EQ(ObjectState.MainDataLength, SelectedChip.MainSize);
    EXPECT_EQ(ObjectState.EepDataLength, SelectedChip.EepSize);
  }
}

TEST_F(ChipSelectFormTest, TheIndieSetterTakesTheRowAsSubTypeExceptForIND86201) {
  ChooseRow(3);
  ClickOk();
  EXPECT_EQ(SelectedChip.ChipSubType, 3);
  TChipSelForm again;
  again.show();
  again.ListBoxCP->setCurrentRow(5);
  QTest::mouseClick(again.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(SessionTexts.ChipName, "IND86201xx");
  EXPECT_EQ(SelectedChip.ChipSubType, 0x10);
}

// Closing without OK, or OK with no part selected, leaves the chip chosen
// before exactly as it was, its vendor included.
TEST_F(ChipSelectFormTest, NoCancelAndOkWithoutAPartLeaveTheChipAsItWas) {
  const std::vector<std::pair<const char*, std::function<void()>>> ways = {
      {"No button", [this] { QTest::mouseClick(form.BitBtnNO, Qt::LeftButton); }},
      {"Escape", [this] { QTest::keyClick(&form, Qt::Key_Escape); }},
      {"OK without a part",
       [this] {
         form.ListBoxCP->clearSelection();
         ClickOk();
       }},
  };
  for (const auto& [way, close] : ways) {
    SCOPED_TRACE(way);
    ResetProgramState();
    ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 2));
    ObjectState.ObjectLoaded = 1;
    std::array<unsigned char, sizeof SelectedChip> before;
    std::array<unsigned char, sizeof ObjectState> objectBefore;
    std::memcpy(before.data(), &SelectedChip, before.size());
    std::memcpy(objectBefore.data(), &ObjectState, objectBefore.size());
    form.hide();
    form.setResult(0);
    form.show();
    close();
    EXPECT_NE(form.result(), QDialog::Accepted);
    EXPECT_EQ(SelectedChip.ChipFamilyIndex, kVendorAUCUx);
    EXPECT_EQ(std::memcmp(&SelectedChip, before.data(), before.size()), 0);
    EXPECT_EQ(std::memcmp(&ObjectState, objectBefore.data(), objectBefore.size()), 0);
    EXPECT_EQ(SessionTexts.ChipName, "AU302PDF51xx");
  }
  // OK without a part keeps the dialog open for a choice.
  EXPECT_TRUE(form.isVisible());
}

}  // namespace
