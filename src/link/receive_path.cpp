#include "link/receive_path.h"

#include <cstring>

#include "link/channel_progress.h"
#include "link/frame_extractor.h"
#include "link/link_reply.h"
#include "link/reply_dispatch.h"

namespace {

constexpr std::uint16_t kChunkReplyTicks = 1000;

}  // namespace

TReceivePath::TReceivePath() : TReceivePath(TFrameReceivers{DispatchReply, HandleLinkReply}) {}

TReceivePath::TReceivePath(TFrameReceivers receivers) : receivers_(std::move(receivers)) {}

void TReceivePath::ReceiveData(int ch, const std::uint8_t* buffer, std::size_t length) {
  if (!IsProgrammerIndex(ch) || buffer == nullptr || length == 0) return;
  TChannel& channel = channels_[ch];
  if (channel.Busy) {
    // The oldest waiting bytes go first when a box stays open for long; the
    // receive buffer could not keep more than this anyway.
    channel.Waiting.emplace_back(buffer, buffer + length);
    channel.WaitingBytes += length;
    while (channel.WaitingBytes > kRxBufferSize && channel.Waiting.size() > 1) {
      channel.WaitingBytes -= channel.Waiting.front().size();
      channel.Waiting.pop_front();
    }
    return;
  }
  channel.Busy = true;
  struct TDone {
    TChannel& Channel;
    ~TDone() { Channel.Busy = false; }
  } done{channel};
  Take(ch, buffer, length);
  while (!channel.Waiting.empty()) {
    const std::vector<std::uint8_t> chunk = std::move(channel.Waiting.front());
    channel.Waiting.pop_front();
    channel.WaitingBytes -= chunk.size();
    Take(ch, chunk.data(), chunk.size());
  }
}

void TReceivePath::ReceiveError(int, std::uint32_t) {}

void TReceivePath::Take(int ch, const std::uint8_t* buffer, std::size_t length) {
  ProgrammerState.ReplyTimeout[ch] = kChunkReplyTicks;
  Append(ch, buffer, length);
  HandFramesOn(ch);
}

// A chunk that does not fit behind the kept bytes drops them: they are the
// oldest, and all they can hold is a frame still in progress, longer than
// any reply.
void TReceivePath::Append(int ch, const std::uint8_t* buffer, std::size_t length) {
  std::uint16_t& fill = ProgrammerState.RxFill[ch];
  if (length > kRxBufferSize) {
    buffer += length - kRxBufferSize;
    length = kRxBufferSize;
  }
  if (fill > kRxBufferSize || kRxBufferSize - fill < length) fill = 0;
  std::memcpy(CommBuffers.RxBuffers[ch] + fill, buffer, length);
  fill = static_cast<std::uint16_t>(fill + length);
}

void TReceivePath::HandFramesOn(int ch) {
  std::uint16_t& fill = ProgrammerState.RxFill[ch];
  const std::uint16_t filled = fill;
  std::uint16_t position = 0;
  std::uint16_t kept = 0;  // where the last extraction began
  std::uint16_t frameLength = 0;
  for (;;) {
    kept = position;
    if (!ExtractRxFrame(ch, position, frameLength)) break;
    // Decided per frame: a link reply that links the programmer sends the
    // frames after it to the dispatcher.
    const auto& receiver = ProgrammerState.DeviceLinked[ch] ? receivers_.Linked : receivers_.Searching;
    if (receiver) receiver(ch, frameLength);
    // An operation started from the handler cleared the buffer: the rest of
    // it belongs to the programmer's past and is dropped.
    if (fill != filled) return;
  }
  const std::uint16_t rest = static_cast<std::uint16_t>(filled - kept);
  if (rest > 0 && kept > 0) std::memmove(CommBuffers.RxBuffers[ch], CommBuffers.RxBuffers[ch] + kept, rest);
  fill = rest;
}
