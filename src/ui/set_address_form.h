// The read-address dialog: start address and length of a memory read.
// Created for each use and shown modally; OK stores both, and the caller
// reads with whatever values then stand.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class TSetAddressForm : public QDialog {
 public:
  explicit TSetAddressForm(QWidget* parent = nullptr);

  QLabel* LabelAD = nullptr;
  QLabel* LabelLL = nullptr;
  QLineEdit* EditAddr = nullptr;
  QSpinBox* SpinEditRD = nullptr;
  QPushButton* BitBtnOK = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void BitBtnOKClick();
};
