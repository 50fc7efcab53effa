#include "link/reply_timeout.h"

#include "data/program_state.h"
#include "link/gauge.h"
#include "link/result_report.h"
#include "text/text_id.h"

void TickReplyTimeouts() {
  TProgrammerState& p = ProgrammerState;
  for (int n = 0; n < kProgrammerMax; ++n) {
    if (!p.ChannelBusy[n]) continue;
    TGauge* gauge = p.ProgressGauges[n];
    if (p.GaugeTicking[n] && gauge) gauge->SetPosition(gauge->Position() + 1);
    if (p.ReplyTimeoutHeld[n]) continue;
    if (p.ReplyTimeout[n] > 0) --p.ReplyTimeout[n];
    if (p.ReplyTimeout[n] == 0) ReportFailure(Text(TTextId::CommandTimeOutText), n);
  }
}

TReplyTimeoutHold::TReplyTimeoutHold(int ch) : ch_(ch), before_(ProgrammerState.ReplyTimeoutHeld[ch]) {
  ProgrammerState.ReplyTimeoutHeld[ch_] = 1;
}

TReplyTimeoutHold::~TReplyTimeoutHold() { ProgrammerState.ReplyTimeoutHeld[ch_] = before_; }
