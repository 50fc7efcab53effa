// The main window's project commands: saving the whole job as a project
// file, opening one, and showing its settings in the window's controls.
#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>
#include <algorithm>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "data/serial_number.h"
#include "project/project_file.h"
#include "project/project_format.h"
#include "project/project_options.h"
#include "text/file_command_texts.h"
#include "text/format_text.h"
#include "ui/command_checks.h"
#include "ui/main_window.h"
#include "ui/radio_group.h"

namespace {

bool Bit(std::uint32_t value, int bit) { return ((value >> bit) & 1) != 0; }

// A value beyond the group's items chooses its last one.
void ChooseItem(TRadioGroup& group, int index) { group.SetItemIndex(std::min(index, group.ItemCount() - 1)); }

QString ToQString(const std::string& text) { return QString::fromStdString(text); }

std::string ShortDate() {
  const TClockTime now = Clock().Now();
  return FormatText(kShortDateFormat, now.Year, now.Month, now.Day);
}

}  // namespace

void TGenMFrmARM::SavetoProjectFile1Click() {
  SaveDialogPrj.SetFilters({kSaveProjectFilters, 0, kProjectDefaultSuffix});
  if (Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText))) return;
  if (Refused(!ObjectState.ObjectLoaded, Text(TTextId::LoadObjectFirstText))) return;
  const std::string name = RunFileDialog(SaveDialogPrj);
  if (name.empty()) return;
  ProgramSettings.ProjectOptionBits = ProjectOptionBits(
      {ChkBoxSNDP->isChecked(), ChkBoxPCSN->isChecked(), SelectedChip.UseFlashDriver != 0});
  // The settings saved are those on screen; a field that is no number stops the save here.
  CollectProgramSettings();
  // A job the file cannot hold is refused with the writer's own message, the old file kept.
  WriteProjectFile(name, SelectedChip.ChipCode);
}

void TGenMFrmARM::SpdBtnLdPrjClick() {
  OpenDialogPrj.SetFilters({kOpenProjectFilters, 0, kProjectDefaultSuffix});
  if (RefusedWhileBusy(TTextId::LoadBusyText)) return;
  const std::string name = ChosenWhileIdle(RunFileDialog(OpenDialogPrj));
  if (!name.empty()) OpenProjectFile(name);
}

// The reader replaces the job only with a file that passed every check, once
// its message has been answered and no programmer is busy; a refused file
// leaves the window alone too.
std::uint8_t TGenMFrmARM::OpenProjectFile(const std::string& fileName) {
  AddLog(FormatText(TTextId::LoadProjectFormat, fileName.c_str()) + ShortDate());
  if (const std::uint8_t result = ReadProjectFile(fileName, IdleToPlace); result != kProjectOpenOk) return result;
  ObjectState.ObjectLoaded = 1;
  ObjectState.ChipSelected = 1;
  const TProjectOptions options = ProjectOptionsOf(ProgramSettings.ProjectOptionBits);
  SelectedChip.UseFlashDriver = options.UseFlashDriver;
  ChkBoxSNDP->setChecked(options.SnDecimal);
  ChkBoxPCSN->setChecked(options.OnlineSn);
  ApplyChipDataBlock();
  // Directly: the edit may already show this name, and the window must fit the project's chip all the same.
  ChangeChip();
  RefreshChecksumsAndViews();
  ShowProjectSettings();
  SetStatusPanelText(2, SessionTexts.ChipText2);
  ShowChecksumPanels();
  return kProjectOpenOk;
}

// "S/N Decimal Display" stays as the open command set it from the project's
// option bits (the bit the save writes), and SNEdit1 follows it.
void TGenMFrmARM::ShowProjectSettings() {
  TSelectedChip& chip = SelectedChip;
  const TControlBytes& bytes = chip.ControlBytes;
  const TProgramSettings& settings = ProgramSettings;
  chip.MainBaseOffset = ProjectMainBaseOffset(chip.MainStart);
  chip.BlankIsZero = Bit(bytes.VoltageFlags, 4);

  ChooseItem(*RadioGpVolt, bytes.VoltageFlags & 3);
  ChkBoxBlkEr->setChecked(Bit(bytes.VoltageFlags, 3));

  ChooseItem(*RadioGrpRST, bytes.ResetPowerFlags & 3);
  ChkBoxVDD->setChecked(!Bit(bytes.ResetPowerFlags, 7));
  CheckBoxRun->setChecked(Bit(bytes.ResetPowerFlags, 2));

  ChooseItem(*RadioGrpSpdF, Bit(bytes.PifSpeedFlags, 4));
  ChkBoxRunSHT->setChecked(Bit(bytes.PifSpeedFlags, 5));
  SpinEditRTM->setValue(settings.RunTime * 10);

  const bool option = Bit(bytes.ProgramStepFlags, 6);
  ProgramSettings.OptionProgram = option;
  CheckBoxOpt->setChecked(option);
  ChkBoxPrgEEP->setChecked(Bit(bytes.ProgramStepFlags, 3));
  ChkBoxErsEEP->setChecked(Bit(bytes.EraseFlags, 1));
  // Else the next collection would turn the project's page erase back into a mass erase.
  ChkBoxCpErsM->setChecked(!Bit(bytes.EraseFlags, 0));
  ChkBoxAuto->setChecked(settings.AutoDetect != 0);

  SpinEditIn->setValue(settings.ChipInTime * 30);
  SpinEditOut->setValue(settings.ChipOutTime * 30);
  SpinEditVddTim->setValue(settings.PowerUpTime * 10);
  SpinEditPWDTim->setValue(settings.PowerDownTime * 10);
  const auto limit = std::min<std::uint32_t>(settings.CountLimit, static_cast<std::uint32_t>(SpinEditNum->maximum()));
  SpinEditNum->setValue(static_cast<int>(limit));

  CheckBoxCtrl->setChecked(Bit(settings.SnFlags, 6));
  CheckBoxSN->setChecked(Bit(settings.SnFlags, 0));
  SNOrderChk->setChecked(Bit(settings.SnFlags, 2));

  GainEdit->setText(ToQString(FormatText(kShownGainFormat, settings.SnGain)));
  SNEdit1->setText(ToQString(SerialNumberText(settings.SnValue, ChkBoxSNDP->isChecked())));
  AddrEdit->setText(ToQString(FormatText(kShownSnAddressFormat, settings.SnAddress)));
  EditDevAdr->setText(ToQString(FormatText(kShownDeviceAddressFormat, settings.DeviceAddress)));
}
