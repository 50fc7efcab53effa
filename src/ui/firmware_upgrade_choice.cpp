#include "ui/firmware_upgrade_choice.h"

#include <algorithm>

#include "data/program_state.h"
#include "text/format_text.h"
#include "text/window_texts.h"

TFirmwareUpgradeChoice ChooseFirmwareUpgrade(bool fileFound, const std::string& path) {
  if (!fileFound) return {{}, FormatText(kFileNotFoundFormat, path.c_str())};
  if (!SessionState.FirmwareLoaded) return {{}, kBadFirmwareFileText};
  TFirmwareUpgradeChoice choice;
  const int inUse = std::min<int>(SessionState.ProgrammerCount, kProgrammerMax);
  for (int ch = 0; ch < inUse; ++ch) {
    if (ProgrammerState.DeviceLinked[ch] && !ProgrammerState.ChannelBusy[ch]) choice.Programmers.push_back(ch);
  }
  if (choice.Programmers.empty()) choice.Message = kNoDeviceConnectedText;
  return choice;
}
