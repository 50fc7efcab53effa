// The LCP037/LCM32F037 option-byte dialog: the USER bits, three data bytes,
// the write protection of WRP0..WRP3 and the read protection RDP0..RDP11.
// Created for each opening; it shows the option image as it stands, and
// only OK changes the image or OptionsModified.
#pragma once

#include <array>

#include "ui/option_dialog.h"

class QCheckBox;
class QComboBox;
class QSpinBox;
class QTabWidget;
struct TLCMPxOptionValues;

class TCfgLCMPxOptForm : public TOptionDialog {
 public:
  explicit TCfgLCMPxOptForm(QWidget* parent = nullptr);

  QComboBox* ComBoxBOT0 = nullptr;
  QComboBox* ComBoxBOT1 = nullptr;
  QComboBox* ComBoxBTSEL = nullptr;
  QComboBox* ComBoxWDG = nullptr;
  std::array<QSpinBox*, 3> SpinEditDAT{};  // SpinEditDAT0 .. SpinEditDAT2, 0..255
  QTabWidget* PageControlWRP = nullptr;
  // ChkBoxWRP[k][b] is ChkBoxWRPkb: bit b of WRPk.
  std::array<std::array<QCheckBox*, 8>, 4> ChkBoxWRP{};
  std::array<QComboBox*, 12> ComBoxRDP{};  // ComBoxRDP0 .. ComBoxRDP9, ComBoxRDPA, ComBoxRDPB
  QPushButton* BitBtnOK = nullptr;
  QPushButton* BitBtnNG = nullptr;

  TLCMPxOptionValues Values() const;
  void ShowValues(const TLCMPxOptionValues& values);

 private:
  void FormShow() override;
  void BitBtnOKClick();
};
