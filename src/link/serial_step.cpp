#include "link/serial_step.h"

#include <algorithm>

#include "data/program_state.h"
#include "text/format_text.h"

namespace {

constexpr std::uint8_t kSnEnabledFlag = 0x01;  // "Enable S/N" in SnFlags
constexpr std::uint32_t kStepFieldMax = 0xFFFF;

}  // namespace

std::uint32_t StandAloneSerialStep(const TProgramSettings& settings) {
  return std::uint32_t{settings.SnGain} * SessionState.ProgrammerCount;
}

// Without "Enable S/N" the programmers write no number, and the step is never used.
std::optional<std::string> SerialStepRefusalFor(std::span<const std::uint8_t> states) {
  if (std::ranges::find(states, std::uint8_t{kOpChipDataDownload}) == states.end()) return std::nullopt;
  if (!(ProgramSettings.SnFlags & kSnEnabledFlag)) return std::nullopt;
  const std::uint32_t step = StandAloneSerialStep(ProgramSettings);
  if (step <= kStepFieldMax) return std::nullopt;
  return FormatText(TTextId::SerialStepTooLargeFormat, unsigned{ProgramSettings.SnGain},
                    int{SessionState.ProgrammerCount}, step);
}
