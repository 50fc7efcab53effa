// The frame of the option dialogs, the constant-filling dialog and the
// address dialogs: a fixed-size window whose show handler loads its controls
// at every showing the program asks for, with labels and OK and Cancel
// buttons placed on it.
#pragma once

#include <QDialog>
#include <functional>

#include "ui/place_control.h"

class QLabel;
class QPushButton;

class TOptionDialog : public QDialog {
 protected:
  TOptionDialog(QWidget* parent, const char* name, const char* caption, int width, int height);

  QLabel* PlaceLabel(QWidget* parent, const QString& text, int x, int y, int width);
  // An OK button whose handler writes the option image: while a programmer
  // is busy it is refused with a box and the dialog stays open; otherwise
  // the handler runs (its error shown) and the dialog closes with OK
  // whatever the handler did.
  QPushButton* PlaceOk(const char* name, int x, int y, std::function<void()> handler);
  QPushButton* PlaceOk(const char* name, int x, int y);  // the caller binds it
  // A Cancel button: closes with Cancel, nothing else.
  QPushButton* PlaceCancel(const char* name, int x, int y);

  void showEvent(QShowEvent* event) override;
  virtual void FormShow() = 0;

  static constexpr int kButtonWidth = 90;
  static constexpr int kButtonHeight = 30;
};
