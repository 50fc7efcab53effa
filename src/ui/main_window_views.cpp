// The main window's checksum lines, its two hex viewers and
// "&Save Memory to File".
#include <QCheckBox>
#include <QTabWidget>

#include "data/checksum_lines.h"
#include "data/memory_areas.h"
#include "data/memory_save.h"
#include "data/memory_view_rows.h"
#include "data/program_state.h"
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

std::string TGenMFrmARM::RunFileDialog(TFileDialogSettings& dialog) { return dialog.Run(this, ExecFileDialog); }

void TGenMFrmARM::FileSaveBtnClick() {
  if (!ObjectState.ObjectLoaded) return;
  if (!RunFileDialog(SaveDialog1).empty()) SaveMemoryToFile();
}

// The writer's file errors go on to the handler's error box.
void TGenMFrmARM::SaveMemoryToFile() {
  const std::string& name = SaveDialog1.FileName();
  if (name.empty()) return;
  ::SaveMemoryToFile(name, SaveDialog1.FilterIndex() + 1);
}
