#include "link/comm_threads.h"

#include <algorithm>
#include <climits>

#include "platform/thread_priority.h"

namespace {
// How often an idle read thread looks at the driver's line counters.
constexpr int kLineCheckMs = 50;
// Free messages and send buffers a port keeps for reuse; more are made when
// a burst needs them, and freed again once it has passed.
constexpr std::size_t kKeptMessages = 8;
constexpr std::size_t kKeptBlocks = 4;
}  // namespace

void TPortMessage::Deliver() {
  const std::shared_ptr<TCommNotifier> notifier = std::move(notifier_);
  // Back to the pool however the handler leaves, before the notifier is let go.
  struct TBack {
    TCommNotifier& Notifier;
    TPortMessage* Message;
    ~TBack() { Notifier.Recycle(Message); }
  } back{*notifier, this};
  notifier->Raise(*this);
}

void TPortMessage::Discard() {
  const std::shared_ptr<TCommNotifier> notifier = std::move(notifier_);
  notifier->Recycle(this);
}

void TCommNotifier::Post(std::uint64_t open, TCommMessage message, std::uint32_t value, const std::uint8_t* bytes,
                         std::uint16_t length) {
  std::unique_ptr<TPortMessage> m;
  {
    std::lock_guard lock(poolMutex_);
    if (!pool_.empty()) {
      m = std::move(pool_.back());
      pool_.pop_back();
    }
  }
  if (!m) m = std::make_unique<TPortMessage>();
  m->Open = open;
  m->Message = message;
  m->Value = value;
  m->Length = length;
  if (length > 0) std::copy(bytes, bytes + length, m->Bytes);
  m->Bytes[length] = 0;
  m->notifier_ = shared_from_this();
  // Posted, it belongs to the sink until it comes back through Recycle.
  TPortMessage& posted = *m.release();
  try {
    sink_.Post(posted);
  } catch (...) {
    posted.Discard();
    throw;
  }
}

void TCommNotifier::Raise(const TPortMessage& m) {
  if (owner_) owner_->NotifyWindowProc(m.Open, m.Message, m.Value, m.Bytes, m.Length);
}

void TCommNotifier::Recycle(TPortMessage* message) {
  std::unique_ptr<TPortMessage> m(message);
  std::lock_guard lock(poolMutex_);
  if (pool_.size() < kKeptMessages) pool_.push_back(std::move(m));
}

std::vector<std::uint8_t> TSendQueue::FreeBuffer() {
  std::lock_guard lock(mutex_);
  if (pool_.empty()) return {};
  std::vector<std::uint8_t> buffer = std::move(pool_.back());
  pool_.pop_back();
  return buffer;
}

bool TSendQueue::Push(const std::uint8_t* bytes, std::size_t length) {
  std::vector<std::uint8_t> block = FreeBuffer();
  block.assign(bytes, bytes + length);
  {
    std::lock_guard lock(mutex_);
    if (closed_) return false;
    blocks_.push_back(std::move(block));
  }
  wake_.Signal();
  return true;
}

TSendQueue::TTake TSendQueue::Pop(std::vector<std::uint8_t>& block) {
  std::lock_guard lock(mutex_);
  if (block.capacity() > 0 && pool_.size() < kKeptBlocks) pool_.push_back(std::move(block));
  block = {};
  if (stopped_) return TTake::Stopped;
  if (blocks_.empty()) return TTake::Empty;
  block = std::move(blocks_.front());
  blocks_.pop_front();
  return TTake::Block;
}

void TSendQueue::Stop() {
  std::lock_guard lock(mutex_);
  stopped_ = true;
}

void TSendQueue::Close() {
  std::deque<std::vector<std::uint8_t>> dropped;
  std::vector<std::vector<std::uint8_t>> pool;
  std::lock_guard lock(mutex_);
  closed_ = true;
  dropped.swap(blocks_);
  pool.swap(pool_);
}

void TReadThread::Execute() {
  RaiseCurrentThreadPriority(TThreadPriority::Highest);
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
    if (wait == TSerialWait::TimedOut) {
      if (fill_ > 0) {
        PostChunk();
      } else if (watchLine_) {
        CheckLine();
      }
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
  // Line events go before the bytes that came with them.
  if (watchLine_) CheckLine();
  const auto length = static_cast<std::uint16_t>(fill_);
  fill_ = 0;
  context_.Post(TCommMessage::ReceiveData, 0, chunk_, length);
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
  RaiseCurrentThreadPriority(TThreadPriority::AboveNormal);
  context_.Guarded([this] { Run(); });
  context_.Device.Purge(TSerialPurge::Output);
  queue_.Close();
}

void TWriteThread::Run() {
  bool notify = true;
  std::vector<std::uint8_t> block;
  for (;;) {
    const TSendQueue::TTake take = queue_.Pop(block);
    if (take == TSendQueue::TTake::Stopped) return;
    if (take == TSendQueue::TTake::Empty) {
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
    const TWriteResult result = WriteBuffer(block);
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
