#include "data/log_lines.h"

#include "data/operator_io.h"
#include "data/program_state.h"
#include "text/format_text.h"

void AddMemoLine(const std::string& line) {
  if (ILogMemo* memo = SessionTexts.InfoMemoRef) memo->AddLine(line);
}

void AddLog(const std::string& message) {
  const TClockTime now = Clock().Now();
  AddMemoLine(FormatText("> %02d:%02d:%02d ", now.Hour, now.Minute, now.Second) + message);
}

void LogChannelMessage(const std::string& message, int ch) { AddLog(FormatText("C%d : ", ch + 1) + message); }
