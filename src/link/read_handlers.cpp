// The reads on programmer 1: option bytes, main flash, EEP, checksums,
// chip information and a memory range.
#include <algorithm>
#include <string>

#include "data/log_lines.h"
#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/channel_progress.h"
#include "link/frame_coding.h"
#include "link/operation_views.h"
#include "link/result_report.h"
#include "link/step_handlers.h"
#include "link/step_support.h"
#include "text/format_text.h"
#include "text/step_messages.h"

namespace {

constexpr std::size_t kChecksumBytes = 6;  // CRC16, then ACC32
constexpr std::size_t kChipInfoBytes = 512;
constexpr std::size_t kDumpRowBytes = 16;

// Stores the block of the reply in the image block it belongs to.
bool StoreBlock(const TReply& reply, std::span<std::uint8_t> image, int ch) {
  if (!DataArrived(reply, image.size(), ch)) return false;
  std::copy_n(reply.Data.begin(), image.size(), image.begin());
  return true;
}

std::string DumpRow(const char* rowFormat, std::uint32_t address, const char* byteFormat,
                    std::span<const std::uint8_t> bytes) {
  std::string row = FormatText(rowFormat, static_cast<unsigned>(address));
  for (const std::uint8_t b : bytes) row += FormatText(byteFormat, b);
  return row;
}

}  // namespace

void HandleOptionReadReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch)) return;
  FinishChannelProgress(false, ch);
  // A short reply carries no option bytes, and the display gets none.
  OperationViews().ShowReadOption(ch, reply.Data.size());
}

void HandleMainReadReply(const TReply& reply, int ch) {
  if (!StoreBlock(reply, MainImageBlock(ch), ch) || NextBlock(ch, SendMainBlockRead)) return;
  ObjectState.ObjectLoaded = 1;
  FinishChannelProgress(false, ch);
  LogChannelMessage(Text(TTextId::MainReadOutText), ch);
  OperationViews().ShowReadMainChecksum();
  OperationViews().FillHexViewer(SelectedChip.MainStart, SelectedChip.MainEnd);
}

void HandleEepReadReply(const TReply& reply, int ch) {
  if (!StoreBlock(reply, EepImageBlock(ch), ch) || NextBlock(ch, SendEepBlockRead)) return;
  LogChannelMessage(Text(TTextId::EepReadOutText), ch);
  FinishChannelProgress(false, ch);
  OperationViews().ShowReadEepChecksum();
  OperationViews().FillEepViewer();
}

void HandleChecksumReply(const TReply& reply, int ch) {
  if (!DataArrived(reply, kChecksumBytes, ch)) return;
  const unsigned crc16 = GetLe16(reply.Data, 0);
  const unsigned acc32 = GetLe32(reply.Data, 2);
  LogChannelMessage(FormatText(TTextId::ChecksumReadFormat, crc16, acc32), ch);
  FinishChannelProgress(false, ch);
}

void HandleChipInfoReply(const TReply& reply, int ch) {
  if (!DataArrived(reply, kChipInfoBytes, ch)) return;
  FinishChannelProgress(false, ch);
  AddMemoLine("");
  AddMemoLine(Text(TTextId::ChipInfoHeadingText));
  for (std::size_t at = 0; at < kChipInfoBytes; at += kDumpRowBytes) {
    AddMemoLine(DumpRow(kChipInfoRowFormat, static_cast<std::uint32_t>(at), kChipInfoByteFormat,
                        reply.Data.subspan(at, kDumpRowBytes)));
  }
}

// A short reply that accepts the read shows no dump: it carries no memory.
void HandleMemoryReadReply(const TReply& reply, int ch) {
  if (!AcceptedResult(reply, ch)) return;
  const std::size_t length = SessionState.ReadLength;
  if (!reply.Data.empty() && reply.Data.size() < length) {
    ReportResult(kPacketError, ch);
    return;
  }
  FinishChannelProgress(false, ch);
  if (reply.Data.empty()) return;
  AddMemoLine(Text(TTextId::MemoryDumpHeadingText));
  for (std::size_t at = 0; at + kDumpRowBytes <= length; at += kDumpRowBytes) {
    AddMemoLine(DumpRow(kMemoryDumpRowFormat, static_cast<std::uint32_t>(SessionState.ReadStartAddress + at),
                        kMemoryDumpByteFormat, reply.Data.subspan(at, kDumpRowBytes)));
  }
}
