#include "ui/log_config_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "data/operator_io.h"
#include "text/log_dialog_texts.h"
#include "text/text_id.h"
#include "text/window_texts.h"
#include "ui/handler_guard.h"
#include "ui/place_control.h"
#include "ui/radio_group.h"

TLogCfgForm::TLogCfgForm(QWidget* parent) : QDialog(parent) {
  setObjectName("TLogCfgForm");
  setWindowTitle(kLogConfigCaption);
  setFixedSize(460, 250);

  CheckBoxLog = Place<QCheckBox>(this, "CheckBoxLog", 12, 10, 200, 22);
  CheckBoxLog->setText(Text(TTextId::GenerateLogCaption));
  RadioGrpCreat = Place<TRadioGroup>(this, "RadioGrpCreat", 12, 38, 226, 90);
  RadioGrpCreat->setTitle(Text(TTextId::LogLocationCaption));
  RadioGrpCreat->SetItems(kLogLocationItems);
  RadioGrpMod = Place<TRadioGroup>(this, "RadioGrpMod", 248, 38, 200, 90);
  RadioGrpMod->setTitle(Text(TTextId::LogModeCaption));
  RadioGrpMod->SetItems(kLogModeItems);
  LabelFNM = Place<QLabel>(this, "LabelFNM", 12, 138, 200, 18);
  LabelFNM->setText(Text(TTextId::LogFileNameLabel));
  EditLogName = Place<QLineEdit>(this, "EditLogName", 12, 158, 360, 24);
  SpeedButtonOP = Place<QPushButton>(this, "SpeedButtonOP", 380, 157, 68, 26);
  SpeedButtonOP->setText(Text(TTextId::LogBrowseCaption));
  OK = Place<QPushButton>(this, "OK", 185, 206, 90, 30);
  OK->setText(kLogOkCaption);
  OK->setAutoDefault(false);

  ShowSettings(TLogConfig{});

  connect(CheckBoxLog, &QCheckBox::clicked, this, GuardedSlot(this, &TLogCfgForm::CheckBoxLogClick));
  RadioGrpCreat->SetOnClick([this](int location) { RunGuarded([this, location] { RadioGrpCreatClick(location); }); });
  connect(SpeedButtonOP, &QPushButton::clicked, this, GuardedSlot(this, &TLogCfgForm::SpeedButtonOPClick));
  connect(OK, &QPushButton::clicked, this, GuardedSlot(this, &TLogCfgForm::OKClick));
}

TLogConfig TLogCfgForm::Settings() const {
  TLogConfig config;
  config.GenerateLog = CheckBoxLog->isChecked();
  config.Location = RadioGrpCreat->ItemIndex() == kLogLocationCustomer ? kLogLocationCustomer : kLogLocationSystem;
  config.WriteMode = GetWriteMode();
  config.LogFileName = GetLogFileName().toStdString();
  return config;
}

void TLogCfgForm::ShowSettings(const TLogConfig& config) {
  CheckBoxLog->setChecked(config.GenerateLog);
  RadioGrpCreat->SetItemIndex(config.Location);
  RadioGrpMod->SetItemIndex(config.WriteMode);
  EditLogName->setText(QString::fromStdString(config.LogFileName));
  UpdateEnabledControls();
}

int TLogCfgForm::GetWriteMode() const {
  const int mode = RadioGrpMod->ItemIndex();
  return mode >= kLogModeNew && mode <= kLogModeAppend ? mode : kLogModeNew;
}

QString TLogCfgForm::GetLogFileName() const { return EditLogName->text(); }

void TLogCfgForm::UpdateEnabledControls() {
  const bool generate = CheckBoxLog->isChecked();
  const bool customer = generate && RadioGrpCreat->ItemIndex() == kLogLocationCustomer;
  RadioGrpCreat->setEnabled(generate);
  RadioGrpMod->setEnabled(customer);
  EditLogName->setEnabled(customer);
  SpeedButtonOP->setEnabled(customer);
}

void TLogCfgForm::LoadLogConfig() {
  TLogConfig config = Settings();
  ::LoadLogConfig(config);
  ShowSettings(config);
}

void TLogCfgForm::WriteLog(const TMemoLines& memo) {
  if (const std::optional<std::string> error = ::WriteLog(Settings(), memo)) Prompts().ShowInfo(*error);
}

void TLogCfgForm::CheckBoxLogClick() { UpdateEnabledControls(); }

void TLogCfgForm::RadioGrpCreatClick(int location) {
  TLogConfig config = Settings();
  SelectLogLocation(config, location);
  ShowSettings(config);
}

void TLogCfgForm::SpeedButtonOPClick() {
  const std::string chosen = OpenDialogLog.Run(this, {});
  if (!chosen.empty()) EditLogName->setText(QString::fromStdString(chosen));
}

void TLogCfgForm::OKClick() {
  if (RadioGrpCreat->ItemIndex() == kLogLocationCustomer && EditLogName->text().isEmpty()) {
    Prompts().ShowInfo(Text(TTextId::LogFileNamePrompt));
    EditLogName->setFocus();
    return;
  }
  accept();
}

void TLogCfgForm::done(int result) {
  RunGuarded([this] { FormClose(); });
  QDialog::done(result);
}

// A file that cannot be written is reported once; the dialog closes all the same.
void TLogCfgForm::FormClose() {
  if (const std::optional<std::string> error = SaveLogConfig(Settings())) Prompts().ShowInfo(*error);
}
