// The main window's chip change: the chip button with its dialog, and the
// one routine that fits the window to the selected chip.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>

#include "chips/window_adapters.h"
#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/flash_driver.h"
#include "text/format_text.h"
#include "ui/chip_select_form.h"
#include "ui/command_checks.h"
#include "ui/control_state.h"
#include "ui/handler_guard.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"

namespace {

// The menu items that exist only for a chip with EEP.
constexpr const char* kEepMenuItems[] = {"ReadEEPMemory1", "LoadEepDataFile1", "WriteEepDataMemory1",
                                         "SaveEepDatatoFile1"};

int Signed(std::uint32_t size) { return static_cast<int>(size); }

}  // namespace

void TGenMFrmARM::BindChipHandlers() {
  connect(DevButton, &QPushButton::clicked, this, GuardedSlot(this, &TGenMFrmARM::DevButtonClick));
  connect(MCUNameEdit, &QLineEdit::textChanged, this, GuardedSlot(this, &TGenMFrmARM::MCUNameEditChange));
  // The spin edits follow the auto-start box also when a project sets it.
  connect(ChkBoxAuto, &QCheckBox::toggled, this, GuardedSlot(this, &TGenMFrmARM::ChkBoxAutoClick));
}

void TGenMFrmARM::DevButtonClick() {
  if (RefusedWhileBusy(TTextId::ChipChangeBusyText)) return;
  TChipSelForm dialog(this);
  if (dialog.exec() != QDialog::Accepted) return;
  const QString name = QString::fromStdString(SessionTexts.ChipName);
  if (MCUNameEdit->text() != name) {
    MCUNameEdit->setText(name);  // raises MCUNameEditChange
    return;
  }
  // The same part again changes nothing in the window; only a driver that
  // did not load is loaded again, its file may be in place now.
  if (SelectedChip.UseFlashDriver && !SessionState.DriverValid) LoadFlashDriver();
}

void TGenMFrmARM::MCUNameEditChange() {
  if (ObjectState.ChipSelected) ChangeChip();
}

void TGenMFrmARM::ChangeChip() {
  // A name read from a file ends at its first zero byte.
  SessionTexts.ChipName.resize(std::min(SessionTexts.ChipName.find('\0'), SessionTexts.ChipName.size()));
  const QString name = QString::fromStdString(SessionTexts.ChipName);
  if (MCUNameEdit->text() != name) {
    const QSignalBlocker noChangeEvent(MCUNameEdit);
    MCUNameEdit->setText(name);
  }
  if (!ObjectState.ChipSelected) return;

  HexViewerModel().Clear();
  EepViewerModel().Clear();
  AddLog(FormatText(TTextId::ChipSelectedFormat, SessionTexts.ChipName.c_str()));
  const bool eep = SelectedChip.EepSize > 0;
  ShowEepControls(eep);
  ApplyWindowAdapter();

  const std::string sizes = FormatText(TTextId::ChipSizesFormat, Signed(SelectedChip.MainSize), Signed(SelectedChip.EepSize));
  AddLog(sizes);
  DpCpInfX->setText(QString::fromStdString(eep ? sizes : FormatText(TTextId::ChipNoEepFormat, Signed(SelectedChip.MainSize))));
  if (SelectedChip.UseFlashDriver) LoadFlashDriver();
  AddMemoLine("");
  AddLog(FormatText(TTextId::MainSizeFormat, Signed(SelectedChip.MainSize)));
  AddLog(FormatText(TTextId::MainStartFormat, SelectedChip.MainStart));
  AddLog(FormatText(TTextId::MainEndFormat, SelectedChip.MainEnd));
  if (eep) {
    AddMemoLine("");
    AddLog(FormatText(TTextId::EepStartFormat, SelectedChip.EepStart));
    AddLog(FormatText(TTextId::EepEndFormat, SelectedChip.EepEnd));
  }
}

// Without EEP the EEP boxes are also unticked: hidden, they would still
// program and erase an EEP that the chip does not have.
void TGenMFrmARM::ShowEepControls(bool eep) {
  for (QCheckBox* box : {ChkBoxPrgEEP, ChkBoxErsEEP}) {
    box->setVisible(eep);
    if (!eep) box->setChecked(false);
  }
  ViewPageCtrl->setTabVisible(ViewPageCtrl->indexOf(TabSheetEEP), eep);
  for (const char* item : kEepMenuItems) findChild<QAction*>(item)->setVisible(eep);
}

// Every control that some family's adapter sets goes back to its layout
// state with the new family's settings laid over it, so nothing of the
// previous family stays. The interface group shows the chip's interface bit
// for every family, so that the settings collection reads it back unchanged.
void TGenMFrmARM::ApplyWindowAdapter() {
  TControlStates states = AdaptedControlStates(SelectedChip);
  states[static_cast<std::size_t>(TAdaptedControl::RadioGroupPIF)].Value = SelectedChip.ControlBytes.PifSpeedFlags & 1;
  for (const TAdaptedControlInfo& info : kAdaptedControls)
    SetControlState(*this, info.Name, states[static_cast<std::size_t>(info.Control)]);
}

void TGenMFrmARM::ChkBoxAutoClick() {
  const bool on = ChkBoxAuto->isChecked();
  SpinEditIn->setEnabled(on);
  SpinEditOut->setEnabled(on);
}
