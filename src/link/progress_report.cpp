#include "link/progress_report.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/channel_progress.h"
#include "link/gauge.h"
#include "text/format_text.h"
#include "text/text_id.h"

namespace {

// Report layout: code, stage, result, current (u16), total (u16), balance.
constexpr std::size_t kReportLength = 8;
constexpr std::uint8_t kFinalStage = 0xF0;

struct TStageRow {
  std::uint8_t Stage;
  TTextId Text;
  bool Blocks;    // position current + 2 of total, logged only at current 0
  int Position;   // otherwise the fixed position ...
  int Maximum;    // ... of this maximum
  bool SetsBlue;  // else the colour stays as it is
};

constexpr TStageRow kStages[] = {
    {0x10, TTextId::StageInitialInterfaceText, false, 5, 100, true},
    {0x20, TTextId::StageBlankCheckText, false, 50, 100, false},
    {0x30, TTextId::StageEraseText, false, 50, 100, false},
    {0x40, TTextId::StageMainProgramText, true, 0, 0, true},
    {0x50, TTextId::StageEepProgramText, true, 0, 0, false},
    {0x70, TTextId::StageMainVerifyText, false, 50, 100, true},
    {0x80, TTextId::StageEepVerifyText, false, 50, 100, false},
    {0xA0, TTextId::StageOptionProgramText, false, 50, 100, false},
};

void ShowChipVerdict(std::uint8_t result, int ch) {
  TProgrammerState& p = ProgrammerState;
  TGauge* gauge = p.ProgressGauges[ch];
  std::string text = Text(TTextId::ChipCompletedText);
  const bool passed = result == 6;
  if (passed) {
    text += Text(TTextId::ChipPassedText);
    ++p.ProgramOkCount[ch];
  } else {
    text += FormatText(TTextId::ChipFailedFormat, result);
    ++p.ProgramNgCount[ch];
  }
  if (gauge) gauge->SetForeColor(passed ? TGaugeColor::Blue : TGaugeColor::Red);
  LogChannelMessage(text, ch);
  LogChannelMessage(FormatText(TTextId::ChipCountsFormat, p.ProgramOkCount[ch], p.ProgramNgCount[ch]), ch);
  if (gauge) gauge->SetPosition(gauge->MaxValue());
}

}  // namespace

void ShowProgressReport(int ch) {
  if (!IsProgrammerIndex(ch)) return;
  // A decoded packet holds at least 8 bytes, so the report is never stale.
  const std::uint8_t* r = CommBuffers.PacketBuffers[ch];
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < kReportLength; ++i) sum = static_cast<std::uint8_t>(sum + r[i]);
  if (sum != 0) return;

  const std::uint8_t stage = r[1];
  const std::uint8_t result = r[2];
  if (stage == kFinalStage) {
    ShowChipVerdict(result, ch);
    return;
  }
  const auto row = std::ranges::find(kStages, stage, &TStageRow::Stage);
  if (row == std::end(kStages)) return;

  const std::span<const std::uint8_t> report(r, kReportLength);
  const int current = row->Blocks ? GetLe16(report, 3) : 0;
  const int total = GetLe16(report, 5);
  if (TGauge* gauge = ProgrammerState.ProgressGauges[ch]) {
    gauge->SetPosition(row->Blocks ? current + 2 : row->Position);
    gauge->SetMaxValue(row->Blocks ? total : row->Maximum);
    if (row->SetsBlue) gauge->SetForeColor(TGaugeColor::Blue);
  }
  if (!row->Blocks || current == 0) LogChannelMessage(Text(row->Text), ch);
}
