// The read-address dialog: start address and length of a memory read.
// Created for each use and shown modally; OK stores both, and the caller
// reads with whatever values then stand.
#pragma once

#include "ui/address_dialog.h"

class QSpinBox;

class TSetAddressForm : public TAddressDialog {
 public:
  explicit TSetAddressForm(QWidget* parent = nullptr);

  QLabel* LabelAD = nullptr;
  QLabel* LabelLL = nullptr;
  QLineEdit* EditAddr = nullptr;
  QSpinBox* SpinEditRD = nullptr;

 private:
  void FormShow() override;
  void BitBtnOKClick() override;
};
