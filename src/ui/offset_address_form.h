// The binary-offset dialog: where a binary object or EEP file is placed.
// Created once at start-up and reused; each showing offers the address that
// stands in BinOffsetAddress, and OK stores the one typed.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

class TFormOfsAddr : public QDialog {
 public:
  explicit TFormOfsAddr(QWidget* parent = nullptr);

  QLabel* LabelOfsBin = nullptr;
  QLineEdit* EditOfsAddr = nullptr;
  QPushButton* BitBtnOK = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void BitBtnOKClick();
};
