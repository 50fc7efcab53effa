#include "link/packet_senders.h"

#include "data/program_state.h"
#include "link/channel_progress.h"
#include "link/comm.h"
#include "link/command_packets.h"
#include "link/firmware_packets.h"
#include "link/frame_coding.h"
#include "link/result_report.h"

namespace {

// Builders index the programmer's buffers, so the index is checked first.
template <typename TBuild>
bool BuildAndSend(int ch, TBuild build) {
  return IsProgrammerIndex(ch) && SendFrame(ch, build());
}

using TImageBlockBuilder = std::uint16_t (*)(std::uint16_t block, int ch);

bool SendImageBlock(TImageBlockBuilder build, std::uint16_t block, int ch) {
  if (!IsProgrammerIndex(ch)) return false;
  const std::uint16_t length = build(block, ch);
  if (length == 0) {
    ReportResult(kPacketError, ch);
    return false;
  }
  return SendFrame(ch, length);
}

}  // namespace

bool SendFrame(int ch, std::uint16_t length) {
  if (!IsProgrammerIndex(ch) || length == 0) return false;
  TComm* port = ProgrammerState.CommPorts[ch];
  return port && port->PortOpen() && port->SendBuffer(CommBuffers.TxFrameBuffers[ch], length);
}

bool SendLinkProbe(int ch) {
  return BuildAndSend(ch, [ch] { return FrameLinkProbe(ch); });
}

bool SendChipData(std::uint16_t key, int ch) {
  return BuildAndSend(ch, [key, ch] { return FrameChipData(key, ch); });
}

bool SendDriverBlock(int ch) {
  return BuildAndSend(ch, [ch] { return FrameDriverBlock(ch); });
}

bool SendCommand(std::uint8_t code, std::uint16_t argument, int ch) {
  return BuildAndSend(ch, [code, argument, ch] { return FrameCommand(code, argument, ch); });
}

bool SendOptionData(int ch) {
  return BuildAndSend(ch, [ch] { return FrameOptionData(ch); });
}

bool SendReadMemory(int ch) {
  return BuildAndSend(ch, [ch] { return FrameReadMemory(ch); });
}

bool SendReset(int ch) {
  return BuildAndSend(ch, [ch] { return FrameReset(ch); });
}

bool SendMainDataBlock(std::uint16_t block, int ch) { return SendImageBlock(FrameMainDataBlock, block, ch); }
bool SendEepDataBlock(std::uint16_t block, int ch) { return SendImageBlock(FrameEepDataBlock, block, ch); }
bool SendMainProgramBlock(std::uint16_t block, int ch) { return SendImageBlock(FrameMainProgramBlock, block, ch); }
bool SendEepProgramBlock(std::uint16_t block, int ch) { return SendImageBlock(FrameEepProgramBlock, block, ch); }

bool SendFirmwareBlock(std::uint16_t block, int ch) {
  return BuildAndSend(ch, [block, ch] { return FrameFirmwareBlock(block, ch); });
}

bool SendFirmwareFinish(int ch) {
  return BuildAndSend(ch, [ch] { return FrameFirmwareFinish(ch); });
}
