#include "ui/set_address_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

#include "data/program_state.h"
#include "text/address_dialog_texts.h"
#include "text/text_id.h"

namespace {

constexpr int kMinReadLength = 16;
// A memory-read reply carries at most this many bytes.
constexpr int kMaxReadLength = 1024;

}  // namespace

TSetAddressForm::TSetAddressForm(QWidget* parent) : TAddressDialog(parent, "SetAddressForm", kReadAddressCaption, 150) {
  LabelAD = PlaceLabel("LabelAD", 0);
  EditAddr = PlaceField<QLineEdit>("EditAddr", 0, 120);
  LabelLL = PlaceLabel("LabelLL", 1);
  SpinEditRD = PlaceField<QSpinBox>("SpinEditRD", 1, 80);
  SpinEditRD->setSingleStep(16);
  SpinEditRD->setMinimum(kMinReadLength);
}

void TSetAddressForm::FormShow() {
  SpinEditRD->setMaximum(kMaxReadLength);
  SpinEditRD->setValue(SessionState.ReadLength);
  LabelAD->setText(Text(TTextId::ReadAddressLabel));
  LabelLL->setText(Text(TTextId::ReadLengthLabel));
  ShowAddress(*EditAddr, SessionState.ReadStartAddress);
}

// Nothing is stored when the address is no number. The length is kept
// within what one reply carries, however it was typed.
void TSetAddressForm::BitBtnOKClick() {
  const std::uint32_t address = AddressIn(*EditAddr);
  SpinEditRD->interpretText();
  SessionState.ReadStartAddress = address & ~std::uint32_t{0xF};
  SessionState.ReadLength = static_cast<std::uint16_t>(std::clamp(SpinEditRD->value(), kMinReadLength, kMaxReadLength));
}
