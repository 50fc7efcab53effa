// The SPD117x configuration dialog "SPD117x Chip Configuration": the debug
// interface lock and the start-up watchdog. Created for each opening; only
// OK writes, the close box leaves the image as it was.
#pragma once

#include "ui/option_dialog.h"

class QCheckBox;
struct TSPD117xConfigValues;

class TCfgSPD117xFRM : public TOptionDialog {
 public:
  explicit TCfgSPD117xFRM(QWidget* parent = nullptr);

  QCheckBox* ChkBoxLckCP = nullptr;
  QCheckBox* ChkBoxEnWDT = nullptr;
  QPushButton* BitBtnOK = nullptr;

  TSPD117xConfigValues Values() const;
  void ShowValues(const TSPD117xConfigValues& values);

 private:
  void FormShow() override;
  void BitBtnOKClick();
};
