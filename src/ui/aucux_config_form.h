// The AU30x configuration dialog "Config Setting ": lifecycle management,
// the UART, JTAG and boot switches and the Info_rgn1 lock. Created for each
// opening; it shows the configuration bytes as they stand.
#pragma once

#include <array>

#include "ui/option_dialog.h"

class QCheckBox;
struct TAUCUxConfigValues;

class TAUCUxCfgForm : public TOptionDialog {
 public:
  explicit TAUCUxCfgForm(QWidget* parent = nullptr);

  QCheckBox* ChkBoxLFC = nullptr;
  std::array<QCheckBox*, 3> ChkBoxDnURT{};  // ChkBoxDnURT0 .. ChkBoxDnURT2
  QCheckBox* ChkBoxDnJTAG = nullptr;
  QCheckBox* ChkBoxDnBOT = nullptr;
  QCheckBox* ChkBoxDnRGN1 = nullptr;
  QPushButton* BitBtn1 = nullptr;  // Cancel
  QPushButton* BitBtn2 = nullptr;  // OK

  TAUCUxConfigValues Values() const;
  void ShowValues(const TAUCUxConfigValues& values);

 private:
  void FormShow() override;
  void BitBtn2Click();
};
