#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "data/program_state.h"
#include "operator_fakes.h"
#include "ui/offset_address_form.h"
#include "ui/set_address_form.h"

namespace {

class AddressFormsTest : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    SessionState.ReadStartAddress = 0x1230;
    SessionState.ReadLength = 64;
  }
  void TearDown() override { ResetProgramState(); }

  static void Retype(QWidget* field, const QString& text) {
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
  }

  TFakePrompts prompts;
};

TEST_F(AddressFormsTest, TheReadDialogOffersTheStandingValuesWithTheLengthInItsRange) {
  struct Case {
    std::uint16_t Length;
    int Offered;
  };
  for (const Case c : {Case{64, 64}, Case{2000, 1024}, Case{5, 16}}) {
    SCOPED_TRACE(c.Length);
    SessionState.ReadLength = c.Length;
    TSetAddressForm form;
    form.show();
    EXPECT_EQ(form.windowTitle(), "Specify Read Address");
    EXPECT_EQ(form.LabelAD->text(), "Set the Start Read Address: ");
    EXPECT_EQ(form.LabelLL->text(), "Set the Length to be read: ");
    EXPECT_EQ(form.EditAddr->text(), "0x00001230");
    EXPECT_EQ(form.SpinEditRD->value(), c.Offered);
    EXPECT_EQ(form.SpinEditRD->singleStep(), 16);
  }
}

// OK stores the address aligned down to 16 and a length of 16 .. 1024,
// whether it was clicked or the entry was confirmed with Enter.
TEST_F(AddressFormsTest, OkStoresTheAlignedAddressAndALengthThatOneReplyCarries) {
  struct Case {
    const char* Address;
    const char* Length;  // typed over the offered value
    bool Enter;          // confirmed in the length field with Enter instead of OK
    std::uint32_t StoredAddress;
    std::uint16_t StoredLength;
  };
  const Case cases[] = {
      {"0x2007", "256", false, 0x2000, 256}, {"0x10", "16", false, 0x10, 16},
      {"$FFFF", "1024", true, 0xFFF0, 1024}, {"4100", "48", true, 0x1000, 48},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Address);
    TSetAddressForm form;
    form.show();
    Retype(form.EditAddr, c.Address);
    Retype(form.SpinEditRD, c.Length);
    if (c.Enter) {
      QTest::keyClick(form.SpinEditRD, Qt::Key_Return);
    } else {
      QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
    }
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(SessionState.ReadStartAddress, c.StoredAddress);
    EXPECT_EQ(SessionState.ReadLength, c.StoredLength);
  }
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(AddressFormsTest, ALengthTypedOutOfRangeAndConfirmedWithEnterStaysInRange) {
  for (const char* typed : {"2000", "99999", "5", "0"}) {
    SCOPED_TRACE(typed);
    TSetAddressForm form;
    form.show();
    Retype(form.SpinEditRD, typed);
    QTest::keyClick(form.SpinEditRD, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_GE(SessionState.ReadLength, 16);
    EXPECT_LE(SessionState.ReadLength, 1024);
  }
}

// The conversion error is shown; the window closes with OK all the same and
// neither value changes, so the read goes on with the previous ones.
TEST_F(AddressFormsTest, AnAddressThatIsNoNumberStoresNothing) {
  TSetAddressForm form;
  form.show();
  Retype(form.EditAddr, "0x12G4");
  Retype(form.SpinEditRD, "512");
  QTest::mouseClick(form.BitBtnOK, Qt::LeftButton);
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(SessionState.ReadStartAddress, 0x1230u);
  EXPECT_EQ(SessionState.ReadLength, 64);
  ASSERT_EQ(prompts.Shown.size(), 1u);
  EXPECT_NE(prompts.Shown[0].find("0x12G4"), std::string::npos);
}

TEST_F(AddressFormsTest, TheOffsetDialogShowsTheOffsetAndStoresTheTypedOne) {
  TFormOfsAddr form;
  struct Case {
    std::int32_t Before;
    const char* Shown;
    const char* Typed;  // nullptr: closed with the close box
    std::int32_t After;
  };
  const Case cases[] = {
      {0x08000000, "0x08000000", "0x08001000", 0x08001000},
      {0x08000000, "0x08000000", nullptr, 0x08000000},
      {0x03000000, "0x03000000", "$10", 0x10},
      {0, "0x00000000", "-16", -16},
      {-16, "0xFFFFFFF0", "12x", -16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Shown);
    ObjectState.BinOffsetAddress = c.Before;
    prompts.Shown.clear();
    form.show();
    EXPECT_EQ(form.windowTitle(), "Set Binary Offset Address");
    EXPECT_EQ(form.LabelOfsBin->text(), "Set Binary Offset Address: ");
    EXPECT_EQ(form.EditOfsAddr->text(), c.Shown);
    if (c.Typed) {
      Retype(form.EditOfsAddr, c.Typed);
      QTest::keyClick(form.EditOfsAddr, Qt::Key_Return);
      EXPECT_EQ(form.result(), QDialog::Accepted);
    } else {
      form.reject();
    }
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(ObjectState.BinOffsetAddress, c.After);
    EXPECT_EQ(prompts.Shown.size(), std::string_view(c.Typed ? c.Typed : "") == "12x" ? 1u : 0u);
  }
}

}  // namespace
