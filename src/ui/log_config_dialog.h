// The log-configuration dialog: which log file the program writes when it closes.
// Created once at start-up and reused; its controls arrive with its commands.
#pragma once

#include <QDialog>

class TLogCfgForm : public QDialog {
 public:
  explicit TLogCfgForm(QWidget* parent = nullptr);
};
