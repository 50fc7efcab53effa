// The two threads of an open port and what they share with their component:
// the notifier that carries their messages to the GUI thread, and the queue
// of blocks to send.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "link/comm.h"
#include "platform/serial_device.h"
#include "platform/wake_event.h"

class TCommNotifier;

// One message of a port thread, with the bytes of a chunk when it carries
// one. Messages are reused: once delivered or discarded, a message goes back
// to its notifier's pool.
class TPortMessage final : public IPortEvent {
 public:
  void Deliver() override;
  void Discard() override;

  std::uint64_t Open = 0;  // the open the message belongs to
  TCommMessage Message = TCommMessage::ReceiveData;
  std::uint32_t Value = 0;
  std::uint16_t Length = 0;  // chunk bytes
  // The received bytes, then a zero byte not counted in Length.
  std::uint8_t Bytes[kCommChunkSize + 1];

 private:
  friend class TCommNotifier;
  // Keeps the notifier, and so this message, while the message is posted.
  std::shared_ptr<TCommNotifier> notifier_;
};

// Stands in for the component's hidden window: the threads post messages to
// it, and it hands each to the component on the GUI thread.
class TCommNotifier : public std::enable_shared_from_this<TCommNotifier> {
 public:
  TCommNotifier(IPortEventSink& sink, TComm& owner) : sink_(sink), owner_(&owner) {}
  // Any thread. open numbers the open the message belongs to; the chunk's
  // bytes (at most kCommChunkSize) are copied. Throws std::bad_alloc when no
  // message can be had.
  void Post(std::uint64_t open, TCommMessage message, std::uint32_t value = 0, const std::uint8_t* bytes = nullptr,
            std::uint16_t length = 0);
  // GUI thread: the owner is going; messages still queued are dropped.
  void Detach() { owner_ = nullptr; }

 private:
  friend class TPortMessage;
  void Raise(const TPortMessage& message);  // GUI thread
  void Recycle(TPortMessage* message);

  IPortEventSink& sink_;
  TComm* owner_;  // read and cleared on the GUI thread only
  std::mutex poolMutex_;
  std::vector<std::unique_ptr<TPortMessage>> pool_;  // messages free for reuse
};

// Blocks waiting for the write thread. The buffers go round: SendBuffer fills
// one from the pool, the write thread takes it off the queue and gives it
// back when it takes the next. Once closed (the thread has ended) the queue
// refuses new blocks and has freed the queued ones.
class TSendQueue {
 public:
  bool Valid() const { return wake_.Valid(); }
  bool Push(const std::uint8_t* bytes, std::size_t length);
  enum class TTake { Block, Empty, Stopped };
  // Returns block's buffer to the pool and puts the first queued block in it.
  TTake Pop(std::vector<std::uint8_t>& block);
  // The owner closes the port: the write thread takes no further block.
  void Stop();
  void Close();
  const TWakeEvent& Wake() const { return wake_; }

 private:
  std::vector<std::uint8_t> FreeBuffer();

  std::mutex mutex_;
  std::deque<std::vector<std::uint8_t>> blocks_;
  std::vector<std::vector<std::uint8_t>> pool_;
  bool stopped_ = false;
  bool closed_ = false;
  TWakeEvent wake_;
};

// Copied into each thread before it starts; valid until the component has
// joined it.
struct TPortThreadContext {
  const TSerialDevice& Device;
  const TWakeEvent& StopEvent;
  std::shared_ptr<TCommNotifier> NotifyWindow;
  std::uint64_t Open;
  // An empty send queue is reported only to a component that listens for it:
  // otherwise every block written would wake the GUI thread for nothing.
  bool ReportSendEmpty;

  void Post(TCommMessage message, std::uint32_t value = 0, const std::uint8_t* bytes = nullptr,
            std::uint16_t length = 0) const {
    NotifyWindow->Post(Open, message, value, bytes, length);
  }
  // Runs a thread's loop. A failure inside it (no memory for a chunk or a
  // message) becomes a hang-up request, as every thread failure does.
  template <typename TLoop>
  void Guarded(TLoop loop) const {
    try {
      loop();
    } catch (const std::exception&) {
      try {
        Post(TCommMessage::RequestHangup);
      } catch (const std::exception&) {
        // A hang-up request that cannot be posted is not retried.
      }
    }
  }
};

// Runs at the highest priority. Posts the received bytes in chunks of at most
// kCommChunkSize, each once the line has been silent for the gap or the chunk
// is full; reports line errors and modem-line changes where the driver counts
// them, looking before each chunk and while idle; posts a hang-up when the
// device is lost.
class TReadThread {
 public:
  TReadThread(TPortThreadContext context, const std::atomic<std::uint32_t>& gapMs)
      : context_(std::move(context)), gapMs_(gapMs) {}
  void Execute();

 private:
  void Run();
  void PostChunk();
  void CheckLine();

  TPortThreadContext context_;
  const std::atomic<std::uint32_t>& gapMs_;
  std::uint8_t chunk_[kCommChunkSize];
  std::size_t fill_ = 0;
  bool watchLine_ = false;
  TSerialLineCounters counters_;
};

// Runs above normal priority. Writes the queued blocks whole and in order;
// posts SendDataEmpty (when reported) once after starting and once each time
// the queue drains after a write; posts a hang-up when a write fails.
class TWriteThread {
 public:
  TWriteThread(TPortThreadContext context, TSendQueue& queue) : context_(std::move(context)), queue_(queue) {}
  void Execute();

 private:
  void Run();
  enum class TWriteResult { Written, Stopped, Lost };
  TWriteResult WriteBuffer(const std::vector<std::uint8_t>& block);

  TPortThreadContext context_;
  TSendQueue& queue_;
};
