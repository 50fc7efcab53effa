// The frame of the two small address dialogs: an option-dialog frame of a
// fixed width with rows of a label and a field, and the OK button BitBtnOK
// at its foot. OK closes the dialog with the OK result before the dialog's
// handler runs, so a handler that fails (a number that is no number) shows
// its error and leaves the caller the values that stood.
#pragma once

#include <cstdint>

#include "ui/option_dialog.h"

class QLineEdit;

class TAddressDialog : public TOptionDialog {
 public:
  QPushButton* BitBtnOK = nullptr;

 protected:
  TAddressDialog(QWidget* parent, const char* name, const char* caption, int height);

  // The label of row row (from 0), and the field of kind W beside it.
  QLabel* PlaceLabel(const char* name, int row);
  template <typename W>
  W* PlaceField(const char* name, int row, int width) {
    return Place<W>(this, name, kFieldLeft, kFirstFieldTop + kRowPitch * row, width, kFieldHeight);
  }

  // An address field shows "0x%08X"; it is read as decimal, or as hex after
  // "0x" or "$", and a text that is no number throws EConvertError.
  static void ShowAddress(QLineEdit& edit, std::uint32_t address);
  static std::uint32_t AddressIn(const QLineEdit& edit);

  virtual void BitBtnOKClick() = 0;

 private:
  static constexpr int kFieldLeft = 190;
  static constexpr int kFirstFieldTop = 18;
  static constexpr int kRowPitch = 36;
  static constexpr int kFieldHeight = 22;
};
