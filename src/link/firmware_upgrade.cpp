#include "link/firmware_upgrade.h"

#include <algorithm>
#include <iterator>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/firmware_file.h"
#include "link/gauge.h"
#include "link/packet_senders.h"
#include "link/result_report.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

constexpr std::uint8_t kBlockAcknowledged = 6;
constexpr std::uint16_t kUpgradeTicks = 500;
constexpr int kUpgradeGaugeStart = 2;

// Ends the upgrade as failed with the code's message. ReportResult would call
// 0 a success, so 0 gets the numbered text that codes without a message get.
void ReportRefusedBlock(std::uint8_t result, int ch) {
  if (result != 0) {
    ReportResult(result, ch);
    return;
  }
  ReportFailure(FormatText(TTextId::ResultFallbackFormat, result, result), ch);
}

// UpgradeRunning cleared when no programmer has an upgrade pending.
void EndUpgradesWhenNonePending() {
  const auto& pending = ProgrammerState.UpgradePending;
  if (std::none_of(std::begin(pending), std::end(pending), [](std::uint8_t p) { return p != 0; }))
    SessionState.UpgradeRunning = 0;
}

}  // namespace

void StartFirmwareUpgrade(int ch) {
  if (!IsProgrammerIndex(ch) || !SessionState.FirmwareLoaded) return;
  TProgrammerState& p = ProgrammerState;
  // An upgrade never takes over a programmer in the middle of something.
  if (p.ChannelBusy[ch] || p.ProgOpCode[ch] != kOpIdle) return;

  SessionState.UpgradeRunning = 1;
  p.RxFill[ch] = 0;
  p.UpgradePending[ch] = 1;
  p.DeviceLinked[ch] = 1;
  p.ProgOpCode[ch] = kOpFirmwareUpgrade;
  p.GaugeTicking[ch] = 0;
  p.ChannelBusy[ch] = 1;
  p.ReplyTimeout[ch] = kUpgradeTicks;
  p.BlockIndex[ch] = 0;
  // A loaded file holds at least one block (the loader checks it).
  p.BlockCount[ch] = static_cast<std::uint16_t>(FirmwareBlockCount());
  if (TGauge* gauge = p.ProgressGauges[ch]) {
    gauge->SetPosition(kUpgradeGaugeStart);
    gauge->SetMaxValue(p.BlockCount[ch]);
    gauge->SetForeColor(TGaugeColor::Blue);
  }
  LogChannelMessage(FormatText(TTextId::UpgradeStartFormat, ch + 1), ch);
  SendFirmwareBlock(0, ch);
}

void HandleFirmwareBlockReply(std::uint8_t result, int ch) {
  if (!IsProgrammerIndex(ch) || ProgrammerState.ProgOpCode[ch] != kOpFirmwareUpgrade) return;
  if (result != kBlockAcknowledged) {
    ReportRefusedBlock(result, ch);
    return;
  }
  TProgrammerState& p = ProgrammerState;
  if (TGauge* gauge = p.ProgressGauges[ch]) gauge->SetPosition(gauge->Position() + 1);
  ++p.BlockIndex[ch];
  if (p.BlockIndex[ch] < p.BlockCount[ch]) {
    SendFirmwareBlock(p.BlockIndex[ch], ch);
    return;
  }
  p.UpgradePending[ch] = 0;
  SendFirmwareFinish(ch);
  LogChannelMessage(FormatText(TTextId::UpgradeCompletedFormat, ch + 1), ch);
  FinishChannelProgress(false, ch);
}

void LeaveOutFailedUpgrade(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  ProgrammerState.DeviceLinked[ch] = 0;
  LogChannelMessage(Text(TTextId::UpgradeLeftOutText), ch);
}

bool UpgradeFailed(int ch) {
  const TProgrammerState& p = ProgrammerState;
  return IsProgrammerIndex(ch) && p.UpgradePending[ch] && p.ProgOpCode[ch] != kOpFirmwareUpgrade;
}

void DropUpgrades() {
  std::fill(std::begin(ProgrammerState.UpgradePending), std::end(ProgrammerState.UpgradePending), 0);
  SessionState.UpgradeRunning = 0;
}

void AbandonUpgrade(int ch) {
  if (!IsProgrammerIndex(ch) || ProgrammerState.ProgOpCode[ch] != kOpFirmwareUpgrade) return;
  ProgrammerState.UpgradePending[ch] = 0;
  EndUpgradesWhenNonePending();
}
