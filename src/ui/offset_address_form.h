// The binary-offset dialog: where a binary object or EEP file is placed.
// Created once at start-up and reused; each showing offers the address that
// stands in BinOffsetAddress, and OK stores the one typed.
#pragma once

#include "ui/address_dialog.h"

class TFormOfsAddr : public TAddressDialog {
 public:
  explicit TFormOfsAddr(QWidget* parent = nullptr);

  QLabel* LabelOfsBin = nullptr;
  QLineEdit* EditOfsAddr = nullptr;

 private:
  void FormShow() override;
  void BitBtnOKClick() override;
};
