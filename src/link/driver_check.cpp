#include "link/driver_check.h"

#include <algorithm>

#include "data/program_state.h"
#include "link/command_packets.h"
#include "text/format_text.h"

bool DriverMissingFor(std::span<const std::uint8_t> states) {
  if (!SelectedChip.UseFlashDriver || SessionState.DriverValid) return false;
  return std::ranges::any_of(states, PacketsCarryDriver);
}

std::string DriverMissingText() {
  const std::string& path = SessionTexts.DriverFilePath;
  // A part name that no driver file serves.
  if (path.empty()) return Text(TTextId::NoDriverForChip);
  return FormatText(TTextId::DriverNotLoadedFormat, path.c_str());
}
