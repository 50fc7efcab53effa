#include "link/step_support.h"

#include <algorithm>

#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/command_packets.h"
#include "link/frame_coding.h"
#include "link/gauge.h"
#include "link/operation_views.h"
#include "link/packet_senders.h"
#include "link/result_report.h"

bool AcceptedResult(const TReply& reply, int ch) {
  if (reply.Result == 0 || reply.Result == 6) return true;
  ReportResult(reply.Result, ch);
  return false;
}

bool DataArrived(const TReply& reply, std::size_t needed, int ch) {
  if (reply.Result != 0) {
    ReportResult(reply.Result, ch);
    return false;
  }
  if (reply.Data.size() < needed) {
    ReportResult(kPacketError, ch);
    return false;
  }
  return true;
}

bool NextBlock(int ch, TBlockSender send, int gaugeExtra) {
  TProgrammerState& p = ProgrammerState;
  p.BlockIndex[ch] = static_cast<std::uint16_t>(p.BlockIndex[ch] + kBlockStepKb);
  if (TGauge* gauge = p.ProgressGauges[ch]) gauge->SetPosition(p.BlockIndex[ch] + 1 + gaugeExtra);
  if (p.BlockIndex[ch] >= p.BlockCount[ch]) return false;
  send(p.BlockIndex[ch], ch);
  return true;
}

std::size_t BlockOffset(int ch) { return std::size_t{ProgrammerState.BlockIndex[ch]} * 1024; }

namespace {

// Of an image that the area starts at `base` of and spans areaBytes.
std::span<std::uint8_t> BlockInside(std::span<std::uint8_t> image, std::size_t base, std::size_t areaBytes, int ch) {
  if (base >= image.size()) return {};
  const std::size_t offset = BlockOffset(ch);
  const std::size_t end = std::min(areaBytes, image.size() - base);
  if (offset >= end) return {};
  return image.subspan(base + offset, std::min(kStepBlockBytes, end - offset));
}

std::size_t MainAreaBytes() {
  const TSelectedChip& chip = SelectedChip;
  return chip.MainEnd >= chip.MainStart ? std::size_t{chip.MainEnd} - chip.MainStart + 1 : 0;
}

}  // namespace

std::span<std::uint8_t> MainImageBlock(int ch) {
  return BlockInside(MemoryImages.MainFlashImage, SelectedChip.MainBaseOffset, MainAreaBytes(), ch);
}

std::span<std::uint8_t> EepImageBlock(int ch) { return BlockInside(MemoryImages.EepImage, 0, SelectedChip.EepSize, ch); }

std::span<const std::uint8_t> MainBlockAsSent(int ch, TStepBlock& buffer) {
  const std::span<const std::uint8_t> image = MainImageBlock(ch);
  const std::span<std::uint8_t> block = std::span(buffer).first(image.size());
  std::ranges::copy(image, block.begin());
  PutSerialNumber(RunSettingsOf(ch).SerialNumber, BlockOffset(ch), block);
  return block;
}

bool SendMainBlockRead(std::uint16_t block, int ch) { return SendCommand(kCmdMainBlock, block, ch); }
bool SendEepBlockRead(std::uint16_t block, int ch) { return SendCommand(kCmdEepBlock, block, ch); }

void CountProgrammedChip() {
  OperationViews().AdvanceSerialNumber();
  ++SessionState.ProgrammedCount;
}
