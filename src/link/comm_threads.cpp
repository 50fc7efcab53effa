#include "link/comm_threads.h"

#include <algorithm>
#include <climits>

namespace {
// How often an idle read thread looks at the driver's line counters.
constexpr int kLineCheckMs = 50;
}  // namespace

void TCommNotifier::Post(std::uint64_t open, TCommMessage message, std::uint32_t value,
                         std::vector<std::uint8_t> chunk) {
  sink_.Post([self = shared_from_this(), open, message, value, chunk = std::move(chunk)] {
    if (self->owner_) self->owner_->NotifyWindowProc(open, message, value, chunk);
  });
}

bool TSendQueue::Push(std::vector<std::uint8_t> block) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    blocks_.push_back(std::move(block));
  }
  wake_.Signal();
  return true;
}

bool TSendQueue::Pop(std::vector<std::uint8_t>& block) {
  std::lock_guard lock(mutex_);
  if (blocks_.empty()) return false;
  block = std::move(blocks_.front());
  blocks_.pop_front();
  return true;
}

void TSendQueue::Close() {
  std::deque<std::vector<std::uint8_t>> dropped;
  std::lock_guard lock(mutex_);
  closed_ = true;
  dropped.swap(blocks_);
}

void TReadThread::Execute() {
  context_.Guarded([this] { Run(); });
  context_.Device.Purge(TSerialPurge::Input);
}

void TReadThread::Run() {
  const TSerialDevice& device = context_.Device;
  watchLine_ = device.ReadLineCounters(counters_);
  for (;;) {
    const int gap = static_cast<int>(std::min<std::uint32_t>(gapMs_.load(), INT_MAX));
    const int timeout = fill_ > 0 ? gap : (watchLine_ ? kLineCheckMs : -1);
    const TSerialWait wait = device.WaitReadable(context_.StopEvent, timeout);
    if (wait == TSerialWait::Stopped) return;
    // Line events go before the bytes that came with them.
    if (watchLine_) CheckLine();
    if (wait == TSerialWait::TimedOut) {
      if (fill_ > 0) PostChunk();
      continue;
    }
    const TSerialIo io = wait == TSerialWait::Ready ? device.Read(chunk_ + fill_, kCommChunkSize - fill_)
                                                    : TSerialIo{TSerialIoStatus::Lost, 0};
    if (io.Status == TSerialIoStatus::Lost) {
      // What arrived before the loss still goes out.
      if (fill_ > 0) PostChunk();
      context_.Post(TCommMessage::RequestHangup);
      return;
    }
    fill_ += io.Count;
    if (fill_ == kCommChunkSize) PostChunk();
  }
}

void TReadThread::PostChunk() {
  // The chunk carries a zero byte after the received ones, not counted in
  // its length.
  std::vector<std::uint8_t> chunk(fill_ + 1, 0);
  std::copy(chunk_, chunk_ + fill_, chunk.begin());
  fill_ = 0;
  context_.Post(TCommMessage::ReceiveData, 0, std::move(chunk));
}

void TReadThread::CheckLine() {
  TSerialLineCounters now;
  if (!context_.Device.ReadLineCounters(now)) return;
  const TLineEvents events = LineEventsBetween(counters_, now);
  counters_ = now;
  if (events.ErrorFlags) context_.Post(TCommMessage::ReceiveError, events.ErrorFlags);
  if (events.ModemBits) context_.Post(TCommMessage::ModemStateChange, events.ModemBits);
}

void TWriteThread::Execute() {
  context_.Guarded([this] { Run(); });
  context_.Device.Purge(TSerialPurge::Output);
  queue_.Close();
}

void TWriteThread::Run() {
  bool notify = true;
  std::vector<std::uint8_t> block;
  for (;;) {
    if (!queue_.Pop(block)) {
      if (notify && context_.ReportSendEmpty) context_.Post(TCommMessage::SendDataEmpty);
      notify = false;
      const TEventWait wait = WaitForEither(context_.StopEvent, queue_.Wake());
      if (wait == TEventWait::First) return;
      if (wait == TEventWait::Failed) {
        context_.Post(TCommMessage::RequestHangup);
        return;
      }
      queue_.Wake().Clear();
      continue;
    }
    if (context_.StopEvent.Signalled()) return;
    const TWriteResult result = WriteBuffer(block);
    block = {};
    if (result == TWriteResult::Lost) context_.Post(TCommMessage::RequestHangup);
    if (result != TWriteResult::Written) return;
    notify = true;
  }
}

TWriteThread::TWriteResult TWriteThread::WriteBuffer(const std::vector<std::uint8_t>& block) {
  std::size_t offset = 0;
  while (offset < block.size()) {
    const TSerialIo io = context_.Device.Write(block.data() + offset, block.size() - offset);
    if (io.Status == TSerialIoStatus::Lost) return TWriteResult::Lost;
    if (io.Status == TSerialIoStatus::Done) {
      offset += io.Count;
      continue;
    }
    const TSerialWait wait = context_.Device.WaitWritable(context_.StopEvent);
    if (wait == TSerialWait::Stopped) return TWriteResult::Stopped;
    if (wait == TSerialWait::Lost) return TWriteResult::Lost;
  }
  return TWriteResult::Written;
}
