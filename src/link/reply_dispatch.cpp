#include "link/reply_dispatch.h"

#include <algorithm>

#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/channel_progress.h"
#include "link/firmware_upgrade.h"
#include "link/frame_coding.h"
#include "link/progress_report.h"
#include "link/result_report.h"
#include "link/step_handlers.h"

namespace {

constexpr std::uint8_t kProgressReportCode = 0xFD;
constexpr std::size_t kHeaderSize = 8;
constexpr std::uint16_t kShortPayload = 2;  // a short reply: result code and one more byte

void HandleFirmwareReply(const TReply& reply, int ch) { HandleFirmwareBlockReply(reply.Result, ch); }

struct TDispatchRow {
  std::uint8_t State;
  TReplyHandler Handler;
  bool FirstProgrammerOnly;  // the reads that only programmer 1 runs
};

constexpr TDispatchRow kDispatchTable[] = {
    {kOpChipDataDownload, HandleChipDataReply, false},
    {kOpDriverDownload, HandleDriverReply, false},
    {kOpMainDownload, HandleMainDownloadReply, false},
    {kOpEepDownload, HandleEepDownloadReply, false},
    {kOpBlankCheck, HandleBlankCheckReply, false},
    {kOpErase, HandleEraseReply, false},
    {kOpProgramMain, HandleMainProgramReply, false},
    {kOpProgramEep, HandleEepProgramReply, false},
    {kOpVerifyMain, HandleMainVerifyReply, false},
    {kOpVerifyEep, HandleEepVerifyReply, false},
    {kOpWriteOption, HandleOptionWriteReply, false},
    {kOpReadOption, HandleOptionReadReply, false},
    {kOpReadMain, HandleMainReadReply, false},
    {kOpReadEep, HandleEepReadReply, false},
    {kOpReadChecksum, HandleChecksumReply, false},
    {kOpChipInfo, HandleChipInfoReply, true},
    {kOpReadMemory, HandleMemoryReadReply, true},
    {kOpFirmwareUpgrade, HandleFirmwareReply, false},
};

TReply CheckedReply(int ch, std::uint16_t decodedLength) {
  const std::span<const std::uint8_t> packet(CommBuffers.PacketBuffers[ch], decodedLength);
  TReply reply;
  reply.Result = CheckReplyPacket(packet, decodedLength);
  const std::uint16_t payloadLength = GetLe16(packet, 6);
  if (reply.Result == kStatusOk && payloadLength > kShortPayload) reply.Data = packet.subspan(kHeaderSize, payloadLength);
  return reply;
}

}  // namespace

TReplyHandler ReplyHandlerFor(std::uint8_t state, int ch) {
  const auto row = std::ranges::find(kDispatchTable, state, &TDispatchRow::State);
  if (row == std::end(kDispatchTable) || (row->FirstProgrammerOnly && ch != 0)) return nullptr;
  return row->Handler;
}

void DispatchReply(int ch, std::uint16_t frameLength) {
  if (!IsProgrammerIndex(ch)) return;
  std::uint16_t sourceLength = std::min<std::uint16_t>(frameLength, kRxFrameBufferSize);
  std::uint16_t decodedLength = 0;
  if (SlipDecode(CommBuffers.RxFrameBuffers[ch], CommBuffers.PacketBuffers[ch], decodedLength, sourceLength) !=
      kStatusOk) {
    ReportResult(kPacketError, ch);
    return;
  }
  // Its own byte sum decides about a progress report, not the reply check.
  if (CommBuffers.PacketBuffers[ch][0] == kProgressReportCode) {
    ShowProgressReport(ch);
    return;
  }
  if (const TReplyHandler handler = ReplyHandlerFor(ProgrammerState.ProgOpCode[ch], ch))
    handler(CheckedReply(ch, decodedLength), ch);
}
