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

// Stands in for the component's hidden window: the threads post messages to
// it, and it hands each to the component on the GUI thread.
class TCommNotifier : public std::enable_shared_from_this<TCommNotifier> {
 public:
  TCommNotifier(IPortEventSink& sink, TComm& owner) : sink_(sink), owner_(&owner) {}
  // Any thread. open numbers the open the message belongs to.
  void Post(std::uint64_t open, TCommMessage message, std::uint32_t value = 0,
            std::vector<std::uint8_t> chunk = {});
  // GUI thread: the owner is going; messages still queued are dropped.
  void Detach() { owner_ = nullptr; }

 private:
  IPortEventSink& sink_;
  TComm* owner_;  // read and cleared on the GUI thread only
};

// Blocks waiting for the write thread. Once closed (the thread has ended) it
// refuses new blocks and has freed the queued ones.
class TSendQueue {
 public:
  bool Valid() const { return wake_.Valid(); }
  bool Push(std::vector<std::uint8_t> block);
  bool Pop(std::vector<std::uint8_t>& block);
  void Close();
  const TWakeEvent& Wake() const { return wake_; }

 private:
  std::mutex mutex_;
  std::deque<std::vector<std::uint8_t>> blocks_;
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

  void Post(TCommMessage message, std::uint32_t value = 0, std::vector<std::uint8_t> chunk = {}) const {
    NotifyWindow->Post(Open, message, value, std::move(chunk));
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

// Posts the received bytes in chunks of at most kCommChunkSize, each once the
// line has been silent for the gap or the chunk is full; reports line errors
// and modem-line changes where the driver counts them; posts a hang-up when
// the device is lost.
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

// Writes the queued blocks whole and in order; posts SendDataEmpty (when
// reported) once after starting and once each time the queue drains after a
// write; posts a hang-up when a write fails.
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
