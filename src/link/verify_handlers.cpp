// Verification: the chip is read back 4 KB at a time and compared with the
// image here.
#include <cstring>
#include <span>

#include "data/log_lines.h"
#include "data/operator_io.h"
#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/channel_progress.h"
#include "link/operation_starters.h"
#include "link/reply_timeout.h"
#include "link/result_report.h"
#include "link/step_handlers.h"
#include "link/step_support.h"
#include "text/format_text.h"

namespace {

constexpr std::uint8_t kVerifyError = 0x31;
constexpr std::uint8_t kShortSuccess = 6;  // a short reply that ends the step well
constexpr int kEepVerifyGaugeExtra = 3;

// Shows a box for every byte that differs, until the operator answers
// Abort. True when the block matches.
bool BlockMatches(std::span<const std::uint8_t> image, std::span<const std::uint8_t> chip, std::uint32_t address,
                  int ch) {
  if (image.empty() || std::memcmp(image.data(), chip.data(), image.size()) == 0) return true;
  bool matches = true;
  for (std::size_t i = 0; i < image.size(); ++i) {
    if (image[i] == chip[i]) continue;
    matches = false;
    const std::string text =
        FormatText(TTextId::VerifyMismatchFormat, ch + 1, static_cast<unsigned>(address + i), image[i], chip[i]);
    // The programmer waits for the operator now, not for its reply.
    const TReplyTimeoutHold waitingForOperator(ch);
    if (Prompts().AskYesAbort(text) == TPromptAnswer::Abort) break;
  }
  return matches;
}

// Compares the block of the reply with the image. A difference ends the
// step, but only if the programmer is still in it once the boxes are
// closed: a search from the timer may have ended it meanwhile.
bool VerifyBlock(const TReply& reply, std::span<const std::uint8_t> image, std::uint32_t address, int ch) {
  // A short 6 ends the verification as a success (DataArrived reports it),
  // and with it an auto run: its chip counts as one done well.
  if (reply.Result == kShortSuccess && ProgrammerState.AutoMode[ch]) CountProgrammedChip();
  if (!DataArrived(reply, image.size(), ch)) return false;
  const std::uint8_t state = ProgrammerState.ProgOpCode[ch];
  if (BlockMatches(image, reply.Data.first(image.size()), address, ch)) return true;
  if (ProgrammerState.ChannelBusy[ch] && ProgrammerState.ProgOpCode[ch] == state) ReportResult(kVerifyError, ch);
  return false;
}

// The end of the verification in an auto run: the option bytes, or the
// chip is done.
void FinishAutoVerification(int ch) {
  if (RunSettingsOf(ch).Settings.OptionProgram) {
    StartWriteOption(ch);
    return;
  }
  LogChannelMessage(Text(TTextId::ChipProgrammedText), ch);
  CountProgrammedChip();
  FinishChannelProgress(false, ch);
}

}  // namespace

void HandleMainVerifyReply(const TReply& reply, int ch) {
  // Addresses shown from the start of the main area.
  const auto address = static_cast<std::uint32_t>(BlockOffset(ch));
  TStepBlock sent;
  if (!VerifyBlock(reply, MainBlockAsSent(ch, sent), address, ch)) return;
  if (NextBlock(ch, SendMainBlockRead)) return;
  LogChannelMessage(Text(TTextId::MainVerifiedText), ch);
  if (RunSettingsOf(ch).Settings.EepProgram) {
    StartVerifyEep(ch);
  } else if (ProgrammerState.AutoMode[ch]) {
    FinishAutoVerification(ch);
  } else {
    FinishChannelProgress(false, ch);
  }
}

void HandleEepVerifyReply(const TReply& reply, int ch) {
  // Absolute addresses.
  const auto address = static_cast<std::uint32_t>(SelectedChip.EepStart + BlockOffset(ch));
  if (!VerifyBlock(reply, EepImageBlock(ch), address, ch)) return;
  if (NextBlock(ch, SendEepBlockRead, kEepVerifyGaugeExtra)) return;
  LogChannelMessage(Text(TTextId::EepVerifiedText), ch);
  if (ProgrammerState.AutoMode[ch]) {
    FinishAutoVerification(ch);
  } else {
    FinishChannelProgress(false, ch);
  }
}
