#include "link/result_report.h"

#include <algorithm>
#include <string>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/command_packets.h"
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

// The command of the packet last sent to programmer ch: the byte after its
// frame's opening 0xC0 (no command code needs an escape). 0 for the link
// request, which no operation sends: its answer is the search's own.
std::uint8_t SentCommand(int ch) {
  const std::uint8_t command = CommBuffers.TxFrameBuffers[ch][1];
  return command == kCmdLinkProbe ? 0 : command;
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

TStoppedProgrammers StopRunningOperations() {
  TStoppedProgrammers stopped;
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    if (!ProgrammerState.ChannelBusy[ch]) continue;
    ProgrammerState.StoppedCommand[ch] = SentCommand(ch);
    FinishChannelProgress(true, ch);
    LogChannelMessage(Text(TTextId::OperationStoppedText), ch);
    stopped.set(static_cast<std::size_t>(ch));
  }
  return stopped;
}
