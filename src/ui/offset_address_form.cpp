#include "ui/offset_address_form.h"

#include <QLabel>
#include <QLineEdit>

#include "data/program_state.h"
#include "text/text_id.h"

TFormOfsAddr::TFormOfsAddr(QWidget* parent)
    : TAddressDialog(parent, "TFormOfsAddr", Text(TTextId::OffsetAddressCaption), 120) {
  LabelOfsBin = PlaceLabel("LabelOfsBin", 0);
  EditOfsAddr = PlaceField<QLineEdit>("EditOfsAddr", 0, 120);
}

void TFormOfsAddr::FormShow() {
  setWindowTitle(Text(TTextId::OffsetAddressCaption));
  LabelOfsBin->setText(Text(TTextId::OffsetAddressLabel));
  ShowAddress(*EditOfsAddr, static_cast<std::uint32_t>(ObjectState.BinOffsetAddress));
}

void TFormOfsAddr::BitBtnOKClick() {
  ObjectState.BinOffsetAddress = static_cast<std::int32_t>(AddressIn(*EditOfsAddr));
}
