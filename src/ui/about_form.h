// The About window: the program's title and an OK button.
#pragma once

#include <QDialog>

class QLabel;

class TAboutForm : public QDialog {
 public:
  explicit TAboutForm(QWidget* parent = nullptr);

  QLabel* LabelTilA;
};
