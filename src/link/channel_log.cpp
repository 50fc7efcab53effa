#include "link/channel_log.h"

#include "data/operator_io.h"
#include "data/program_state.h"
#include "text/format_text.h"

void AddLog(const std::string& message) {
  ILogMemo* memo = SessionTexts.InfoMemoRef;
  if (!memo) return;
  const TClockTime now = Clock().Now();
  memo->AddLine(FormatText("> %02d:%02d:%02d ", now.Hour, now.Minute, now.Second) + message);
}

void LogChannelMessage(const std::string& message, int ch) { AddLog(FormatText("C%d : ", ch + 1) + message); }
