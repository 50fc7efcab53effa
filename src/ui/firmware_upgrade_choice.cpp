#include "ui/firmware_upgrade_choice.h"

#include "data/program_state.h"
#include "text/format_text.h"
#include "ui/command_checks.h"

TFirmwareUpgradeChoice ChooseFirmwareUpgrade(bool fileFound, const std::string& path) {
  if (!fileFound) return {{}, FormatText(TTextId::FileNotFoundFormat, path.c_str())};
  if (!SessionState.FirmwareLoaded) return {{}, Text(TTextId::BadFirmwareFileText)};
  TFirmwareUpgradeChoice choice{LinkedIdleProgrammers(), {}};
  if (choice.Programmers.empty()) choice.Message = Text(TTextId::NoDeviceConnectedText);
  return choice;
}
