// The log-configuration dialog: which log file the program writes when the
// main window closes. Created once at start-up and reused; its controls are
// the only store of the settings, and every closing of the dialog writes
// them to "DivAriR.cfg".
#pragma once

#include <QDialog>

#include "text/log_dialog_texts.h"
#include "ui/file_dialogs.h"
#include "ui/log_config.h"
#include "ui/log_files.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TRadioGroup;

class TLogCfgForm : public QDialog {
 public:
  explicit TLogCfgForm(QWidget* parent = nullptr);

  // Reads "DivAriR.cfg" into the controls; without a readable file they keep
  // what they show.
  void LoadLogConfig();
  // Writes the memo's lines to the configured log file; an error is shown.
  void WriteLog(const TMemoLines& memo);

  // What the controls hold, and showing settings in them.
  TLogConfig Settings() const;
  void ShowSettings(const TLogConfig& config);
  int GetWriteMode() const;
  QString GetLogFileName() const;

  QCheckBox* CheckBoxLog = nullptr;
  TRadioGroup* RadioGrpCreat = nullptr;
  TRadioGroup* RadioGrpMod = nullptr;
  QLabel* LabelFNM = nullptr;
  QLineEdit* EditLogName = nullptr;
  QPushButton* SpeedButtonOP = nullptr;
  QPushButton* OK = nullptr;
  TFileDialogSettings OpenDialogLog{"OpenDialogLog", TFileDialogMode::Name, {kLogFileFilters, 0, kLogDefaultSuffix}};

  // Every way of closing (OK, the close box, Escape) ends here.
  void done(int result) override;

 private:
  void CheckBoxLogClick();
  void RadioGrpCreatClick(int location);
  void SpeedButtonOPClick();
  void OKClick();
  void FormClose();
  // Location and mode apply while a log is generated, the name and the
  // browse button for the customer's own file.
  void UpdateEnabledControls();
};
