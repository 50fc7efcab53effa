// Blank check, erase, programming of main flash and EEP, and the option
// write: the steps of an auto run and of the single commands.
#include <algorithm>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/channel_progress.h"
#include "link/operation_starters.h"
#include "link/packet_senders.h"
#include "link/result_report.h"
#include "link/step_handlers.h"
#include "link/step_support.h"
#include "text/text_id.h"

namespace {

// The blank-check answers that an auto run erases for, and what a single
// blank check makes of them.
struct TNotBlankAnswer {
  std::uint8_t Code;
  TTextId EraseLine;   // auto run: the erase step's start line
  TTextId SingleLine;  // single check: logged before it ends
  bool ReportsCode;        // single check: the code's own message follows (red either way)
};

constexpr TNotBlankAnswer kNotBlankAnswers[] = {
    {0x15, TTextId::EraseNotBlankText, TTextId::ChipNotBlankText, false},
    {0x10, TTextId::EraseProtectedText, TTextId::ChipReadProtectedText, true},
    {0x13, TTextId::EraseProtectedText, TTextId::ChipReadProtectedText, true},
    {0x5A, TTextId::EraseProtectedText, TTextId::ChipReadProtectedText, true},
};

bool InAutoRun(int ch) { return ProgrammerState.AutoMode[ch] != 0; }

// An auto run goes on with the next step; a single command ends well here.
void NextInAutoRun(void (*next)(int ch), int ch) {
  if (InAutoRun(ch)) {
    next(ch);
  } else {
    FinishChannelProgress(false, ch);
  }
}

}  // namespace

void HandleBlankCheckReply(const TReply& reply, int ch) {
  const std::uint8_t r = reply.Result;
  if (r == 0 || r == 6) {
    LogChannelMessage(Text(TTextId::ChipBlankText), ch);
    NextInAutoRun(StartProgramMain, ch);
    return;
  }
  const auto answer = std::ranges::find(kNotBlankAnswers, r, &TNotBlankAnswer::Code);
  if (answer == std::end(kNotBlankAnswers)) {
    ReportResult(r, ch);
  } else if (InAutoRun(ch)) {
    StartErase(Text(answer->EraseLine), ch);
  } else {
    LogChannelMessage(Text(answer->SingleLine), ch);
    if (answer->ReportsCode) {
      ReportResult(r, ch);
    } else {
      FinishChannelProgress(true, ch);
    }
  }
}

void HandleEraseReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch)) return;
  LogChannelMessage(Text(TTextId::ChipErasedText), ch);
  NextInAutoRun(StartProgramMain, ch);
}

void HandleMainProgramReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch) || NextBlock(ch, SendMainProgramBlock)) return;
  if (RunSettingsOf(ch).Settings.EepProgram) {
    StartProgramEep(ch);
  } else {
    FinishMainProgramming(ch);
  }
}

void HandleEepProgramReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch) || NextBlock(ch, SendEepProgramBlock)) return;
  LogChannelMessage(Text(TTextId::EepProgrammedText), ch);
  NextInAutoRun(StartVerifyMain, ch);
}

void HandleOptionWriteReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch)) return;
  LogChannelMessage(Text(TTextId::OptionWrittenText), ch);
  if (InAutoRun(ch)) CountProgrammedChip();
  FinishChannelProgress(false, ch);
}
