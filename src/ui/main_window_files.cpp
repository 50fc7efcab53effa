// The main window's object and EEP data file commands: "&Load" (images
// blanked first), "Load &More" (images kept), loading and saving EEP data,
// and the refresh of sums and viewers that follows a load.
#include <QCheckBox>
#include <QTabWidget>

#include "data/binary_file.h"
#include "data/object_load.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "ui/command_checks.h"
#include "ui/main_window.h"
#include "ui/offset_address_form.h"

// A chip, and no operation running that reads the images.
bool TGenMFrmARM::ReadyToLoad() {
  return !Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText)) &&
         !RefusedWhileBusy(TTextId::LoadBusyText);
}

// Empty when there is nothing to load.
std::string TGenMFrmARM::ChooseObjectFile() {
  if (!ReadyToLoad()) return {};
  return ChosenWhileIdle(RunFileDialog(OpenDialog1));
}

void TGenMFrmARM::FileOpenBtnClick() {
  const std::string name = ChooseObjectFile();
  if (!name.empty()) LoadObjectFile(name, TObjectLoadMode::Fresh);
}

void TGenMFrmARM::SpdBtnLoadMoreClick() {
  const std::string name = ChooseObjectFile();
  if (!name.empty()) LoadObjectFile(name, TObjectLoadMode::More);
}

void TGenMFrmARM::LoadObjectFile(const std::string& fileName, TObjectLoadMode mode) {
  if (!LoadObjectData(fileName, mode, [this] { AskBinaryOffset(); }, IdleToPlace)) return;
  if (mode == TObjectLoadMode::Fresh) SetStatusPanelText(2, fileName);
  RefreshChecksumsAndViews();
}

// The load goes on however the dialog is closed.
void TGenMFrmARM::AskBinaryOffset() {
  if (!offsetForm_) offsetForm_ = new TFormOfsAddr(this);
  if (ExecOffsetDialog) {
    ExecOffsetDialog(*offsetForm_);
  } else {
    offsetForm_->exec();
  }
}

void TGenMFrmARM::RefreshChecksums() {
  ComputeMainChecksum();
  if (SelectedChip.EepSize > 0) ComputeEepChecksum();
  ComputeChipChecksum();
  ShowChecksumPanels();
}

void TGenMFrmARM::RefreshChecksumsAndViews() {
  RefreshChecksums();
  const std::uint32_t base = SelectedChip.MainBaseOffset;
  FillHexViewer(base, base + ObjectState.MainDataLength - 1);
  if (SelectedChip.EepSize > 0) FillEepViewer();
  ViewPageCtrl->setCurrentWidget(TabSheetFlash);
}

void TGenMFrmARM::ShowChecksumPanels() {
  SetStatusPanelText(0, FormatText(TTextId::FileChecksumPanelFormat, ObjectState.FileChecksum));
  SetStatusPanelText(1, FormatText(TTextId::ChipChecksumPanelFormat, ObjectState.ChipChecksum));
}

void TGenMFrmARM::LoadEepDataFile1Click() {
  if (!ReadyToLoad()) return;
  const std::string name = ChosenWhileIdle(RunFileDialog(OpenDialogOTP));
  if (name.empty()) return;
  const std::optional<TAreaSet> changed = LoadEepData(name, [this] { AskBinaryOffset(); }, IdleToPlace);
  if (!changed) return;
  ChkBoxErsEEP->setChecked(true);
  // Records in the main area change the main sums and viewer too.
  if (*changed & AreaBit(TRecordArea::Main)) {
    RefreshChecksumsAndViews();
    return;
  }
  ComputeEepChecksum();
  ComputeChipChecksum();
  ShowChecksumPanels();
  FillEepViewer();
}

// Binary whichever filter entry is chosen.
void TGenMFrmARM::SaveEepDatatoFile1Click() {
  const std::string name = RunFileDialog(SaveDialog1);
  if (!name.empty()) WriteBinaryFile(name, MemoryImages.EepImage, 0, SelectedChip.EepSize - 1);
}
