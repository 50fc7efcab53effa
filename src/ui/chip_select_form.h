// The chip-selection dialog: one list of part names per vendor, and OK makes
// the chosen part the selected chip through its family's setter. This build
// offers the Indie parts only; the vendor group is kept but hidden. Created
// for each use and shown modally.
#pragma once

#include <QDialog>
#include <cstdint>

class QListWidget;
class QPushButton;
class TRadioGroup;

class TChipSelForm : public QDialog {
 public:
  explicit TChipSelForm(QWidget* parent = nullptr);

  // The list of a vendor index (10 and above: the SA32B list), row 0 selected.
  void FillChipList(std::uint8_t vendorIndex);

  QListWidget* ListBoxCP = nullptr;
  QPushButton* BitBtnOK = nullptr;
  QPushButton* BitBtnNO = nullptr;
  TRadioGroup* RadioGrpSelMF = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void BitBtnOKClick();
  void RadioGrpSelMFClick();
  // The vendor whose list is shown.
  std::uint8_t VendorIndex() const;

  bool shown_ = false;
};
