// The constant-filling dialog "Config S/N Constant": a fixed constant (an
// ASCII text or hex bytes) written from an address on into the main flash
// or EEP image. Created once at start-up and reused: every showing offers
// the main area's start, while the data and its format stay as they were.
#pragma once

#include "chips/constant_fill.h"
#include "ui/option_dialog.h"

class QLineEdit;
class TGenMFrmARM;
class TRadioGroup;

class TConfigSNForm : public TOptionDialog {
 public:
  // The window whose viewers show what the dialog writes; also its parent.
  explicit TConfigSNForm(TGenMFrmARM* window);

  TRadioGroup* RadioGrpSN = nullptr;
  QLineEdit* AddrEditSN = nullptr;
  TRadioGroup* RadioGroupFM = nullptr;
  QLineEdit* EditDataSN = nullptr;
  QLabel* LabelAdrS = nullptr;
  QLabel* LabelCntDT = nullptr;
  QPushButton* BitBtnOK = nullptr;
  QPushButton* BitBtnCancel = nullptr;

  TConstantInput Input() const;

 private:
  void FormShow() override;
  void RadioGrpSNClick();
  void BitBtnOKClick();
  void StoreConstantInMainImage();
  void StoreConstantInEepImage();
  void StoreConstantIn(TConstantArea area);
  void ShowAreaStart(TConstantArea area);

  TGenMFrmARM* window_;
};
