// The binary-offset dialog: where a binary object or EEP file is placed.
// Created once at start-up and reused; its controls arrive with its commands.
#pragma once

#include <QDialog>

class TFormOfsAddr : public QDialog {
 public:
  explicit TFormOfsAddr(QWidget* parent = nullptr);
};
