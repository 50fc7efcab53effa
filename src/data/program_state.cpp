#include "data/program_state.h"

#include <cstring>
#include <type_traits>

#include "data/random.h"
#include "text/texts.h"

TMemoryImages MemoryImages;
TSelectedChip SelectedChip;
TProgramSettings ProgramSettings;
TObjectState ObjectState;
TProgrammerState ProgrammerState;
TCommBuffers CommBuffers;
TSessionTexts SessionTexts;
TSessionState SessionState;

namespace {

// The large records are plain bytes; clearing them in place keeps megabytes
// of temporaries off the stack.
template <typename T>
void ClearInPlace(T& record) {
  static_assert(std::is_trivially_copyable_v<T>);
  std::memset(&record, 0, sizeof record);
}

}  // namespace

void ResetProgramState() {
  ClearInPlace(MemoryImages);
  ClearInPlace(SelectedChip);
  ClearInPlace(ProgramSettings);
  ClearInPlace(ObjectState);
  ClearInPlace(ProgrammerState);
  ClearInPlace(CommBuffers);
  ClearInPlace(SessionState);
  SessionTexts = TSessionTexts{};
  ResetRandom();
}

void InitChipViewDefaults() {
  std::memset(MemoryImages.MainFlashImage, 0xFF, sizeof MemoryImages.MainFlashImage);
  std::memset(MemoryImages.EepImage, 0xFF, sizeof MemoryImages.EepImage);
  std::memset(MemoryImages.OptionImage, 0x00, sizeof MemoryImages.OptionImage);
  ObjectState.MainDataLength = 0x20000;
  SelectedChip.MainSize = 0x20000;
  SelectedChip.MainPageSize = 1024;
  SelectedChip.ChipCode = 0x53;
  SelectedChip.ControlBytes = TControlBytes{};
  SelectedChip.ChipSubParam1 = 0;
  SelectedChip.ChipSubParam2 = 0;
  SelectedChip.OptionStart = 0x1FFFF800;
  SessionState.ReadLength = 64;
  ProgramSettings.SnAddress = 0xFFFFFF;
}

void InitGlobalSettings(const TProgrammerBindings& bindings) {
  SessionTexts.ModelName = kDefaultModelName;
  SessionTexts.ChipText2.clear();
  SessionTexts.ChipName.clear();

  SelectedChip.MainSize = 0;
  SelectedChip.EepSize = 0;
  SelectedChip.MainPageSize = 0;
  ObjectState.ChipChecksum = 0;
  ObjectState.FileChecksum = 0;
  ObjectState.MainSum = 0;
  ObjectState.EepSum = 0;
  ObjectState.EepFileSum = 0;
  ProgramSettings.CountLimit = 0;
  ProgramSettings.SnFlags = 0;

  ProgramSettings.PowerUpTime = 10;
  ProgramSettings.PowerDownTime = 10;
  ProgramSettings.ChipInTime = 17;
  ProgramSettings.ChipOutTime = 17;
  ProgramSettings.AutoDetect = 0;

  SessionState.DownloadDoneCount = 0;
  SessionState.FoundDeviceCount = 0;
  SelectedChip.ChipSubType = 0;
  SelectedChip.ChipFamilyCode = 0;
  SelectedChip.EepStart = 0;
  SelectedChip.EepEnd = 0;
  SelectedChip.MainStart = 0;
  SelectedChip.MainEnd = 0;
  ObjectState.ObjectLoaded = 0;
  ObjectState.ChipSelected = 0;

  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    ProgrammerState.RxFill[ch] = 0;
    ProgrammerState.BlockIndex[ch] = 0;
    ProgrammerState.BlockCount[ch] = 0;
    ProgrammerState.ProgramNgCount[ch] = 0;
    ProgrammerState.ProgramOkCount[ch] = 0;
    ProgrammerState.ReplyTimeout[ch] = 200;
    ProgrammerState.ProgOpCode[ch] = kOpIdle;
    ProgrammerState.GaugeTicking[ch] = 0;
    ProgrammerState.ChannelBusy[ch] = 0;
    ProgrammerState.UpgradePending[ch] = 0;
    ProgrammerState.DeviceLinked[ch] = 0;
    ProgrammerState.AutoMode[ch] = 0;
    ProgrammerState.CommPorts[ch] = bindings.Ports[ch];
    ProgrammerState.ProgressGauges[ch] = bindings.Gauges[ch];
  }
}
