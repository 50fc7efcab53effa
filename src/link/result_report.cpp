#include "link/result_report.h"

#include <algorithm>
#include <string>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/firmware_upgrade.h"
#include "text/format_text.h"
#include "text/result_messages.h"

namespace {

std::string FailureMessage(std::uint8_t code) {
  const std::uint8_t masked = code & 0x7F;
  const auto row = std::ranges::find(kResultMessages, masked, &TResultMessage::Code);
  if (row != std::end(kResultMessages)) return Text(row->Text);
  return FormatText(TTextId::ResultFallbackFormat, code, code);
}

}  // namespace

void ReportResult(std::uint8_t code, int ch) {
  if (!IsProgrammerIndex(ch)) return;
  if (code != 0 && code != 6) {
    ReportFailure(FailureMessage(code), ch);
    return;
  }
  FinishChannelProgress(false, ch);
  LogChannelMessage(Text(TTextId::OperationSuccessText), ch);
}

void ReportFailure(const std::string& message, int ch) {
  if (!IsProgrammerIndex(ch)) return;
  const bool upgrade = ProgrammerState.ProgOpCode[ch] == kOpFirmwareUpgrade;
  FinishChannelProgress(true, ch);
  LogChannelMessage(message, ch);
  if (upgrade) LeaveOutFailedUpgrade(ch);
}

void StopRunningOperations() {
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    if (!ProgrammerState.ChannelBusy[ch]) continue;
    FinishChannelProgress(true, ch);
    LogChannelMessage(Text(TTextId::OperationStoppedText), ch);
  }
}
