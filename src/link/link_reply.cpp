#include "link/link_reply.h"

#include <algorithm>
#include <span>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/device_identity.h"
#include "link/firmware_upgrade.h"
#include "link/frame_coding.h"
#include "link/operation_views.h"
#include "link/progress_report.h"
#include "text/discovery_messages.h"
#include "text/format_text.h"

namespace {

constexpr std::uint8_t kProgressReportCode = 0xFD;
constexpr std::uint8_t kStartAnswerCode = 0xFA;
constexpr std::uint16_t kLinkedReplyTicks = 500;

void Link(const TIdentityText& deviceText, int ch) {
  TProgrammerState& p = ProgrammerState;
  ++SessionState.FoundDeviceCount;
  p.DeviceLinked[ch] = 1;
  p.ProgOpCode[ch] = kOpIdle;
  p.ReplyTimeout[ch] = kLinkedReplyTicks;
  OperationViews().SetInfoPanelCaption(deviceText.data());
  LogChannelMessage(FormatText(TTextId::FindDeviceFormat, deviceText.data()), ch);
}

// A unit still working on the packet an operation was stopped on answers
// it after the stop, before it answers anything sent since: its answer
// echoes that packet's command and is dropped. Any other answer, but for
// a progress report, comes after it, so none is awaited any more.
bool AnswersStoppedPacket(std::span<const std::uint8_t> reply, int ch) {
  std::uint8_t& awaited = ProgrammerState.StoppedCommand[ch];
  const bool late = awaited != 0 && reply[0] == awaited;
  awaited = 0;
  return late;
}

}  // namespace

void HandleLinkReply(int ch, std::uint16_t frameLength) {
  if (!IsProgrammerIndex(ch)) return;
  std::uint16_t sourceLength = std::min<std::uint16_t>(frameLength, kRxFrameBufferSize);
  std::uint16_t decodedLength = 0;
  if (SlipDecode(CommBuffers.RxFrameBuffers[ch], CommBuffers.PacketBuffers[ch], decodedLength, sourceLength) !=
      kStatusOk)
    return;
  const std::span<const std::uint8_t> reply(CommBuffers.PacketBuffers[ch], decodedLength);
  if (reply[0] == kProgressReportCode) {
    ShowProgressReport(ch);
    return;
  }
  if (AnswersStoppedPacket(reply, ch) || reply[0] == kStartAnswerCode) return;
  // Its upgrade failed in this run: it is left out, whatever it answers.
  if (UpgradeFailed(ch)) return;

  TIdentityText application = IdentityText(kApplicationIdentity);
  const std::uint8_t found = CheckDeviceIdReply(reply, application, kIdentityTextStart);
  if (found == kIdentityMatches || found == kIdentityOlderFirmware) {
    Link(application, ch);
    if (found == kIdentityOlderFirmware) StartFirmwareUpgrade(ch);
    return;
  }
  TIdentityText bootLoader = IdentityText(kBootLoaderIdentity);
  if (CheckDeviceNameReply(reply, bootLoader, kIdentityTextStart) == kIdentityMatches) {
    if (SessionState.FirmwareLoaded) {
      StartFirmwareUpgrade(ch);
    } else if (!ProgrammerState.NoUpgradeLogged[ch]) {
      ProgrammerState.NoUpgradeLogged[ch] = 1;
      LogChannelMessage(Text(TTextId::BootLoaderNoFirmwareText), ch);
    }
    return;
  }
  ProgrammerState.DeviceLinked[ch] = 0;
  OperationViews().SetInfoPanelCaption(Text(TTextId::NoDeviceFoundText));
  LogChannelMessage(Text(TTextId::NoDeviceFoundText), ch);
}
