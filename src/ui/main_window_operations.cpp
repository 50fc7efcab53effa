// The main window's operation commands: the toolbar and "&Command" items
// start a step on every linked, idle programmer in use; the "Read" items
// read on programmer 1.
#include <QCheckBox>
#include <QTabWidget>
#include <span>

#include "chips/option_displays.h"
#include "chips/vendor_index.h"
#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/operation_starters.h"
#include "text/text_id.h"
#include "text/format_text.h"
#include "ui/command_checks.h"
#include "ui/main_window.h"
#include "ui/set_address_form.h"

namespace {

constexpr int kKeepAutoMode = -1;
constexpr int kProgrammerOne = 0;

void StartChipErase(int ch) { StartErase(Text(TTextId::DoChipEraseText), ch); }

}  // namespace

// A command on every programmer in use.
struct TGenMFrmARM::TGangCommand {
  std::span<const std::uint8_t> States;  // that the operation runs through
  bool NeedsData;
  int AutoMode;              // for the programmers it starts; kKeepAutoMode leaves it
  bool OnlineSerialNumber;   // its chips get the online S/N
  bool OptionWords;          // logs an AC78xx chip's option words
  bool EmptyLine;            // before the settings line
  bool FocusPanel;           // the focus goes to the toolbar
  void (*Start)(int ch);
};

// A read on programmer 1 through its starter.
struct TGenMFrmARM::TChipRead {
  std::span<const std::uint8_t> States;
  bool ShowsPage;
  bool IntoBuffer;  // fills the main or EEP buffer
  void (*Start)(int ch);
};

namespace {

// clang-format off
//                                                   states               data   auto           S/N    option empty  focus
constexpr TGenMFrmARM::TGangCommand kAutoProgram  = {kAutoProgramStates, true,  1,             true,  true,  true,  false, StartAutoProgramming};
constexpr TGenMFrmARM::TGangCommand kDownload     = {kDownloadStates,    true,  kKeepAutoMode, false, true,  true,  false, StartDownloadChipData};
constexpr TGenMFrmARM::TGangCommand kBlankCheck   = {kBlankCheckStates,  false, 0,             false, false, true,  false, StartBlankCheck};
constexpr TGenMFrmARM::TGangCommand kErase        = {kEraseStates,       false, 0,             false, false, true,  false, StartChipErase};
constexpr TGenMFrmARM::TGangCommand kProgram      = {kProgramStates,     true,  0,             true,  false, true,  false, StartProgramMain};
constexpr TGenMFrmARM::TGangCommand kVerify       = {kVerifyStates,      true,  0,             false, false, true,  true,  StartVerifyMain};
constexpr TGenMFrmARM::TGangCommand kWriteOption  = {kWriteOptionStates, false, 0,             false, false, true,  false, StartWriteOption};
constexpr TGenMFrmARM::TGangCommand kWriteEep     = {kWriteEepStates,    true,  0,             false, false, false, false, StartProgramEep};

//                                            states                page   buffer
constexpr TGenMFrmARM::TChipRead kReadMain     = {kReadMainStates,     true,  true,  StartReadMain};
constexpr TGenMFrmARM::TChipRead kReadEep      = {kReadEepStates,      false, true,  StartReadEep};
constexpr TGenMFrmARM::TChipRead kReadOption   = {kReadOptionStates,   true,  false, StartReadOption};
constexpr TGenMFrmARM::TChipRead kReadChecksum = {kReadChecksumStates, true,  false, StartReadChecksum};
// clang-format on

}  // namespace

void TGenMFrmARM::AutoSpdBtnClick() { RunGangCommand(kAutoProgram); }
void TGenMFrmARM::SpdBtnDownLoadClick() { RunGangCommand(kDownload); }
void TGenMFrmARM::SpdBtnBlankChkClick() { RunGangCommand(kBlankCheck); }
void TGenMFrmARM::SpdBtnEraseClick() { RunGangCommand(kErase); }
void TGenMFrmARM::SpdBtnProgClick() { RunGangCommand(kProgram); }
void TGenMFrmARM::SpdBtnVerifyClick() { RunGangCommand(kVerify); }
void TGenMFrmARM::SpdBtnWrtOPBClick() { RunGangCommand(kWriteOption); }
void TGenMFrmARM::WriteEepDataMemory1Click() { RunGangCommand(kWriteEep); }

void TGenMFrmARM::ReadChipMemory1Click() { RunChipRead(kReadMain); }
void TGenMFrmARM::ReadEEPMemory1Click() { RunChipRead(kReadEep); }
void TGenMFrmARM::ReadOptionByte1Click() { RunChipRead(kReadOption); }
void TGenMFrmARM::ReadChipCheckSum1Click() { RunChipRead(kReadChecksum); }

// The checks and the settings come before the online S/N, so the number
// sent is the one the window shows; a number that cannot be placed starts
// nothing. Only a programmer that starts gets its receive buffer emptied
// and its auto flag set: a busy one's running step is left alone, and keeps
// the settings it started with (its starter took them).
void TGenMFrmARM::RunGangCommand(const TGangCommand& command) {
  ViewPageCtrl->setCurrentWidget(ChipSett);
  if (command.FocusPanel) PanelBtns->setFocus();
  if (Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText))) return;
  if (Refused(command.NeedsData && !ObjectState.ObjectLoaded, Text(TTextId::LoadObjectFirstText))) return;
  if (RefusedWithoutDriver(command.States)) return;
  if (command.OnlineSerialNumber && !OneProgrammerForOnlineSerialNumber()) return;
  if (command.EmptyLine) AddMemoLine("");
  CollectProgramSettings();
  if (RefusedSerialStep(command.States)) return;
  if (command.OnlineSerialNumber && !PrepareSerialNumberWhenOnline()) return;
  if (command.OptionWords && SelectedChip.ChipFamilyIndex == kVendorAC78xx) ShowAC78xCurrentOption();
  for (int ch = 0; ch < ProgrammersInUse(); ++ch) {
    if (!LinkedAndIdle(ch)) continue;
    ProgrammerState.RxFill[ch] = 0;
    if (command.AutoMode != kKeepAutoMode) ProgrammerState.AutoMode[ch] = static_cast<std::uint8_t>(command.AutoMode);
    command.Start(ch);
  }
}

// One online S/N goes to every programmer that starts, so a gang run would
// give all its chips the same number; and a programmer still running has
// not yet advanced the number its chip got, so a chip started now would get
// it too.
bool TGenMFrmARM::OneProgrammerForOnlineSerialNumber() {
  if (!OnlineSerialNumbers()) return true;
  const int linked = LinkedProgrammerCount();
  if (Refused(linked != 1, FormatText(TTextId::OnlineSnOneProgrammerFormat, linked))) return false;
  return !RefusedWhileBusy(TTextId::OnlineSnBusyText);
}

// A read must not take over the state of a step that programmer 1 runs,
// nor fill a buffer that another programmer's step is sending.
bool TGenMFrmARM::ReadRefusedWhileBusy(bool intoBuffer) {
  if (Refused(ProgrammerState.ChannelBusy[kProgrammerOne] != 0, Text(TTextId::ReadWhileBusyText))) return true;
  return intoBuffer && RefusedWhileBusy(TTextId::ReadIntoBufferWhileBusyText);
}

void TGenMFrmARM::RunChipRead(const TChipRead& read) {
  if (read.ShowsPage) ViewPageCtrl->setCurrentWidget(ChipSett);
  if (Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText))) return;
  if (ReadRefusedWhileBusy(read.IntoBuffer)) return;
  if (RefusedWithoutDriver(read.States)) return;
  CollectProgramSettings();
  if (Refused(!ProgrammerState.DeviceLinked[kProgrammerOne], Text(TTextId::ConnectDeviceText))) return;
  read.Start(kProgrammerOne);
}

// The read follows however the dialog was closed, with the start and
// length that then stand.
void TGenMFrmARM::ReadSpcAddressClick() {
  ViewPageCtrl->setCurrentWidget(ChipSett);
  if (Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText))) return;
  if (Refused(!ProgrammerState.DeviceLinked[kProgrammerOne], Text(TTextId::ConnectDeviceText))) return;
  if (ReadRefusedWhileBusy(false)) return;
  CollectProgramSettings();
  {
    TSetAddressForm dialog(this);
    dialog.exec();
  }
  // While the dialog was open, the search may have started an upgrade there.
  if (ReadRefusedWhileBusy(false)) return;
  StartReadMemory(kProgrammerOne);
}

void TGenMFrmARM::ReadMG32xxChipID1Click() {
  ViewPageCtrl->setCurrentWidget(ChipSett);
  if (Refused(!ObjectState.ChipSelected, Text(TTextId::SelectChipFirstText))) return;
  if (Refused(!ProgrammerState.DeviceLinked[kProgrammerOne], Text(TTextId::ConnectDeviceText))) return;
  if (ReadRefusedWhileBusy(false)) return;
  if (RefusedWithoutDriver(kChipInfoStates)) return;
  StartReadChipInfo(kProgrammerOne);
}
