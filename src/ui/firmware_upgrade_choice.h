// Which programmers the "Do Firmware Upgrade" command upgrades: every
// programmer in use that the last search linked and that is idle, or the
// message to show instead.
#pragma once

#include <string>
#include <vector>

struct TFirmwareUpgradeChoice {
  std::vector<int> Programmers;  // indexes in ascending order; empty when Message is set
  std::string Message;           // the box to show instead of upgrading; empty when upgrading
};

// fileFound tells whether the firmware file exists at path; when it does it
// has been read, so FirmwareLoaded tells whether it passed its checks.
// Reads ProgrammerCount, DeviceLinked and ChannelBusy.
TFirmwareUpgradeChoice ChooseFirmwareUpgrade(bool fileFound, const std::string& path);
