// The main window's settings collection, serial numbers and the three S/N
// check boxes.
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

#include "data/integer_text.h"
#include "data/program_state.h"
#include "data/serial_number.h"
#include "data/settings_collection.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/radio_group.h"

void TGenMFrmARM::BindSettingsHandlers() {
  // The enabled states follow their box also when a project sets it.
  connect(CheckBoxSN, &QCheckBox::toggled, this, GuardedSlot(this, &TGenMFrmARM::CheckBoxSNClick));
  connect(CheckBoxCtrl, &QCheckBox::toggled, this, GuardedSlot(this, &TGenMFrmARM::CheckBoxCtrlClick));
  // Only the operator's click rewrites the number; a project writes its own text.
  connect(ChkBoxSNDP, &QCheckBox::clicked, this, GuardedSlot(this, &TGenMFrmARM::ChkBoxSNDPClick));
}

void TGenMFrmARM::CollectProgramSettings() {
  const auto text = [](const QLineEdit* edit) { return edit->text().toStdString(); };
  const TSettingsControls controls{
      .RadioGroupPIF = RadioGroupPIF->ItemIndex(),
      .RadioGrpSpdF = RadioGrpSpdF->ItemIndex(),
      .ChkBoxRunSHT = ChkBoxRunSHT->isChecked(),
      .RadioGpVolt = RadioGpVolt->ItemIndex(),
      .ChkBoxBlkEr = ChkBoxBlkEr->isChecked(),
      .RadioGrpRST = RadioGrpRST->ItemIndex(),
      .CheckBoxRun = CheckBoxRun->isChecked(),
      .ChkBoxVDD = ChkBoxVDD->isChecked(),
      .CheckBoxOpt = CheckBoxOpt->isChecked(),
      .ChkBoxPrgEEP = ChkBoxPrgEEP->isChecked(),
      .ChkBoxCpErsM = ChkBoxCpErsM->isChecked(),
      .ChkBoxErsEEP = ChkBoxErsEEP->isChecked(),
      .ChkBoxAuto = ChkBoxAuto->isChecked(),
      .SpinEditIn = SpinEditIn->value(),
      .SpinEditOut = SpinEditOut->value(),
      .SpinEditVddTim = SpinEditVddTim->value(),
      .SpinEditPWDTim = SpinEditPWDTim->value(),
      .SpinEditRTM = SpinEditRTM->value(),
      .CheckBoxCtrl = CheckBoxCtrl->isChecked(),
      .CheckBoxSN = CheckBoxSN->isChecked(),
      .SNOrderChk = SNOrderChk->isChecked(),
      .ChkBoxPCSN = ChkBoxPCSN->isChecked(),
      .SpinEditNum = SpinEditNum->value(),
      .GainEdit = text(GainEdit),
      .SNEdit1 = text(SNEdit1),
      .AddrEdit = text(AddrEdit),
      .EditDevAdr = text(EditDevAdr),
  };
  ::CollectProgramSettings(controls);
}

bool TGenMFrmARM::OnlineSerialNumbers() const { return CheckBoxSN->isChecked() && ChkBoxPCSN->isChecked(); }

bool TGenMFrmARM::PrepareSerialNumberWhenOnline() { return !OnlineSerialNumbers() || PrepareSerialNumber(); }

void TGenMFrmARM::AdvanceSerialNumber() {
  if (!OnlineSerialNumbers()) return;
  ProgramSettings.SnValue += ProgramSettings.SnGain;
  SNEdit1->setText(QString::fromStdString(SerialNumberText(ProgramSettings.SnValue, ChkBoxSNDP->isChecked())));
}

void TGenMFrmARM::CheckBoxSNClick() {
  const bool on = CheckBoxSN->isChecked();
  for (QWidget* control : std::initializer_list<QWidget*>{AddrEdit, SNEdit1, GainEdit, SNOrderChk, ChkBoxPCSN})
    control->setEnabled(on);
}

void TGenMFrmARM::ChkBoxSNDPClick() {
  const std::uint32_t value = StrToInt32(SNEdit1->text().toStdString());
  SNEdit1->setText(QString::fromStdString(SerialNumberText(value, ChkBoxSNDP->isChecked())));
}

void TGenMFrmARM::CheckBoxCtrlClick() { SpinEditNum->setEnabled(CheckBoxCtrl->isChecked()); }
