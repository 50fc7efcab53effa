// The constant-filling dialog: a fixed constant written into the loaded data.
// Created once at start-up and reused; its controls arrive with its commands.
#pragma once

#include <QDialog>

class TConfigSNForm : public QDialog {
 public:
  explicit TConfigSNForm(QWidget* parent = nullptr);
};
