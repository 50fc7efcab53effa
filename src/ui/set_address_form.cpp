#include "ui/set_address_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <algorithm>

#include "data/integer_text.h"
#include "data/program_state.h"
#include "text/address_dialog_texts.h"
#include "text/format_text.h"
#include "ui/closing_ok_button.h"
#include "ui/place_control.h"

namespace {

constexpr int kMinReadLength = 16;
// A memory-read reply carries at most this many bytes.
constexpr int kMaxReadLength = 1024;

}  // namespace

TSetAddressForm::TSetAddressForm(QWidget* parent) : QDialog(parent) {
  setObjectName("SetAddressForm");
  setWindowTitle(kReadAddressCaption);
  setFixedSize(330, 150);
  LabelAD = Place<QLabel>(this, "LabelAD", 16, 20, 170, 18);
  EditAddr = Place<QLineEdit>(this, "EditAddr", 190, 18, 120, 22);
  LabelLL = Place<QLabel>(this, "LabelLL", 16, 56, 170, 18);
  SpinEditRD = Place<QSpinBox>(this, "SpinEditRD", 190, 54, 80, 22);
  SpinEditRD->setSingleStep(16);
  SpinEditRD->setMinimum(kMinReadLength);
  BitBtnOK = Place<QPushButton>(this, "BitBtnOK", 120, 100, 90, 32);
  BitBtnOK->setText(kAddressDialogOkCaption);
  ConnectClosingOk(*this, *BitBtnOK, [this] { BitBtnOKClick(); });
}

void TSetAddressForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TSetAddressForm::FormShow() {
  SpinEditRD->setMaximum(kMaxReadLength);
  SpinEditRD->setValue(SessionState.ReadLength);
  LabelAD->setText(kReadAddressLabel);
  LabelLL->setText(kReadLengthLabel);
  EditAddr->setText(QString::fromStdString(FormatText(kDialogAddressFormat, SessionState.ReadStartAddress)));
}

// Nothing is stored when the address is no number. The length is kept
// within what one reply carries, however it was typed.
void TSetAddressForm::BitBtnOKClick() {
  const std::uint32_t address = StrToInt32(EditAddr->text().toStdString());
  SpinEditRD->interpretText();
  SessionState.ReadStartAddress = address & ~std::uint32_t{0xF};
  SessionState.ReadLength = static_cast<std::uint16_t>(std::clamp(SpinEditRD->value(), kMinReadLength, kMaxReadLength));
}
