#include "ui/offset_address_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "data/integer_text.h"
#include "data/program_state.h"
#include "text/address_dialog_texts.h"
#include "text/format_text.h"
#include "text/window_texts.h"
#include "ui/closing_ok_button.h"
#include "ui/place_control.h"

TFormOfsAddr::TFormOfsAddr(QWidget* parent) : QDialog(parent) {
  setObjectName("TFormOfsAddr");
  setWindowTitle(kOffsetAddressCaption);
  setFixedSize(330, 120);
  LabelOfsBin = Place<QLabel>(this, "LabelOfsBin", 16, 20, 170, 18);
  EditOfsAddr = Place<QLineEdit>(this, "EditOfsAddr", 190, 18, 120, 22);
  BitBtnOK = Place<QPushButton>(this, "BitBtnOK", 120, 70, 90, 32);
  BitBtnOK->setText(kAddressDialogOkCaption);
  ConnectClosingOk(*this, *BitBtnOK, [this] { BitBtnOKClick(); });
}

void TFormOfsAddr::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TFormOfsAddr::FormShow() {
  setWindowTitle(kOffsetAddressCaption);
  LabelOfsBin->setText(kOffsetAddressLabel);
  EditOfsAddr->setText(QString::fromStdString(
      FormatText(kDialogAddressFormat, static_cast<std::uint32_t>(ObjectState.BinOffsetAddress))));
}

void TFormOfsAddr::BitBtnOKClick() {
  ObjectState.BinOffsetAddress = static_cast<std::int32_t>(StrToInt32(EditOfsAddr->text().toStdString()));
}
