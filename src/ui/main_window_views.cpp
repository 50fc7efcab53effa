// The main window's checksum lines, its two hex viewers and
// "&Save Memory to File".
#include <QCheckBox>
#include <QFileDialog>
#include <QTabWidget>

#include "data/checksum_lines.h"
#include "data/memory_areas.h"
#include "data/memory_save.h"
#include "data/memory_view_rows.h"
#include "data/program_state.h"
#include "text/checksum_texts.h"
#include "ui/file_dialogs.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"

void TGenMFrmARM::ComputeMainChecksum() { ::ComputeMainChecksum(); }

void TGenMFrmARM::ComputeEepChecksum() { ::ComputeEepChecksum(); }

void TGenMFrmARM::ShowReadMainChecksum() { ::ShowReadMainChecksum(); }

void TGenMFrmARM::ShowReadEepChecksum() { ::ShowReadEepChecksum(); }

void TGenMFrmARM::FillHexViewer(std::uint32_t first, std::uint32_t last) {
  hexViewerModel_->ShowRows(SelectedChip.MainStart, MainAreaBytes(), static_cast<int>(HexViewerRowCount(first, last)));
}

void TGenMFrmARM::UpdateHexViewerRows(std::uint32_t fromAddr, std::uint32_t toAddr) {
  const std::optional<TRowSpan> rows = MainViewerRowsOf(fromAddr, toAddr);
  if (!rows) return;
  hexViewerModel_->ShowAtLeastRows(SelectedChip.MainStart, MainAreaBytes(), static_cast<int>(rows->Last) + 1);
  hexViewerModel_->RowsChanged(static_cast<int>(rows->First), static_cast<int>(rows->Last));
}

// EEP data that is all 0x00 or 0xFF is not programmed unless the operator
// ticks "Prog. Data Flash" again.
void TGenMFrmARM::FillEepViewer() {
  ViewPageCtrl->setTabVisible(ViewPageCtrl->indexOf(TabSheetEEP), true);
  const std::uint32_t rows = EepViewerRowCount();
  eepViewerModel_->ShowRows(SelectedChip.EepStart, EepAreaBytes(), static_cast<int>(rows));
  ChkBoxPrgEEP->setChecked(EepRowsHoldData(rows));
}

// Shared with "Save EEP Data to File".
QFileDialog& TGenMFrmARM::MemorySaveDialog() {
  if (!SaveDialog1) {
    SaveDialog1 = CreateFileDialog(this, "SaveDialog1", TFileDialogMode::Save);
    SetFileFilters(*SaveDialog1, kSaveMemoryFilters, 0, kSaveMemoryDefaultSuffix);
  }
  return *SaveDialog1;
}

std::string TGenMFrmARM::RunFileDialog(QFileDialog& dialog) {
  const bool confirmed = ExecFileDialog ? ExecFileDialog(dialog) : dialog.exec() == QDialog::Accepted;
  return confirmed ? ChosenFile(dialog) : std::string();
}

void TGenMFrmARM::FileSaveBtnClick() {
  if (!ObjectState.ObjectLoaded) return;
  if (!RunFileDialog(MemorySaveDialog()).empty()) SaveMemoryToFile();
}

// The writer's file errors go on to the handler's error box.
void TGenMFrmARM::SaveMemoryToFile() {
  if (!SaveDialog1) return;
  const std::string name = ChosenFile(*SaveDialog1);
  if (name.empty()) return;
  const int filterIndex = static_cast<int>(SaveDialog1->nameFilters().indexOf(SaveDialog1->selectedNameFilter())) + 1;
  ::SaveMemoryToFile(name, filterIndex);
}
