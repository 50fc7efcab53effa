// The AC78xx option-byte dialog "Config N32xx Option Byte Wizard": read and
// write protection, watchdog and the two user words. Created for each
// opening; it shows the option image as it stands and OK writes it back.
#pragma once

#include <array>

#include "ui/option_dialog.h"

class QComboBox;
class QLineEdit;
struct TAC78xOptionValues;

class TAC78xOptBForm : public TOptionDialog {
 public:
  explicit TAC78xOptBForm(QWidget* parent = nullptr);

  QComboBox* ComBoxROP = nullptr;
  QLabel* PanelROP = nullptr;
  QComboBox* ComBoxWDT = nullptr;
  QLabel* PanelWDT = nullptr;
  std::array<QLineEdit*, 4> EditERP{};  // EditERP0 .. EditERP3
  QLineEdit* EditUSER0 = nullptr;
  QLineEdit* EditUser1 = nullptr;
  QPushButton* BitBtnOK = nullptr;
  QPushButton* BitBtnNG = nullptr;

  TAC78xOptionValues Values() const;
  void ShowValues(const TAC78xOptionValues& values);

 private:
  void FormShow() override;
  void BitBtnOKClick();
  void ComBoxROPChange();
  void ComBoxWDTChange();
};
