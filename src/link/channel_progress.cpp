#include "link/channel_progress.h"

#include <algorithm>
#include <iterator>

#include "link/gauge.h"

void StartChannelProgress(std::uint16_t ticks, std::uint32_t length, bool blockMode, int ch) {
  if (!IsProgrammerIndex(ch)) return;
  TProgrammerState& p = ProgrammerState;
  p.BlockIndex[ch] = 0;
  p.ReplyTimeout[ch] = ticks;
  p.ChannelBusy[ch] = 1;
  p.BlockCount[ch] = static_cast<std::uint16_t>(length / 1024 + (length % 1024 != 0 ? 1 : 0));

  TGauge* gauge = p.ProgressGauges[ch];
  if (!gauge) return;
  // Position first, maximum second: the position is held within the
  // maximum the gauge still has from the step before.
  if (!blockMode) {
    gauge->SetPosition(ticks / 100 + 10);
    gauge->SetMaxValue(ticks);
  } else if (length > 0) {
    gauge->SetPosition(4);
    gauge->SetMaxValue(p.BlockCount[ch]);
  } else {
    gauge->SetPosition(2);
    gauge->SetMaxValue(4);
  }
  gauge->SetForeColor(TGaugeColor::Blue);
}

void FinishChannelProgress(bool failed, int ch) {
  if (!IsProgrammerIndex(ch)) return;
  TProgrammerState& p = ProgrammerState;
  p.ChannelBusy[ch] = 0;
  if (TGauge* gauge = p.ProgressGauges[ch]) {
    gauge->SetForeColor(failed ? TGaugeColor::Red : TGaugeColor::Blue);
    gauge->SetPosition(gauge->MaxValue());
  }
  p.ProgOpCode[ch] = kOpIdle;
}

bool AnyProgrammerBusy() {
  return std::any_of(std::begin(ProgrammerState.ChannelBusy), std::end(ProgrammerState.ChannelBusy),
                     [](std::uint8_t busy) { return busy != 0; });
}
