#include "ui/address_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/integer_text.h"
#include "text/address_dialog_texts.h"
#include "text/format_text.h"
#include "ui/handler_guard.h"

namespace {

constexpr int kWidth = 330;
constexpr int kLabelLeft = 16;
constexpr int kLabelWidth = 170;
constexpr int kLabelDrop = 2;  // a label sits a little below the top of its field
constexpr int kOkWidth = 90;
constexpr int kOkHeight = 32;
constexpr int kOkBelow = 18;  // from the OK button's foot to the window's

}  // namespace

TAddressDialog::TAddressDialog(QWidget* parent, const char* name, const char* caption, int height)
    : TOptionDialog(parent, name, caption, kWidth, height) {
  BitBtnOK = Place<QPushButton>(this, "BitBtnOK", (kWidth - kOkWidth) / 2, height - kOkBelow - kOkHeight, kOkWidth,
                                kOkHeight);
  BitBtnOK->setText(kAddressDialogOkCaption);
  BitBtnOK->setDefault(true);
  connect(BitBtnOK, &QPushButton::clicked, this, [this] {
    accept();
    RunGuarded([this] { BitBtnOKClick(); });
  });
}

QLabel* TAddressDialog::PlaceLabel(const char* name, int row) {
  return Place<QLabel>(this, name, kLabelLeft, kFirstFieldTop + kRowPitch * row + kLabelDrop, kLabelWidth, 18);
}

void TAddressDialog::ShowAddress(QLineEdit& edit, std::uint32_t address) {
  edit.setText(QString::fromStdString(FormatText(kDialogAddressFormat, address)));
}

std::uint32_t TAddressDialog::AddressIn(const QLineEdit& edit) { return StrToInt32(edit.text().toStdString()); }
