// A port-event sink for the core tests: the port threads queue their events,
// and the test's own thread (the GUI thread of the test) runs them.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "link/port_events.h"

class TQueuedPortEvents : public IPortEventSink {
 public:
  using TLimit = std::chrono::milliseconds;
  static constexpr TLimit kLimit = std::chrono::seconds(20);

  TQueuedPortEvents() = default;
  TQueuedPortEvents(const TQueuedPortEvents&) = delete;
  TQueuedPortEvents& operator=(const TQueuedPortEvents&) = delete;
  ~TQueuedPortEvents() override {
    for (IPortEvent* event : queue_) event->Discard();
  }

  void Post(IPortEvent& event) override {
    {
      std::lock_guard lock(mutex_);
      queue_.push_back(&event);
    }
    posted_.notify_all();
  }

  // Runs queued events, one at a time and outside the lock (a handler may
  // close the port, which waits for its threads), until done() holds. False
  // when the limit passes first.
  bool RunUntil(const std::function<bool()>& done, TLimit limit = kLimit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
      IPortEvent* next;
      {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_until(lock, deadline, [&] { return !queue_.empty(); })) return done();
        next = queue_.front();
        queue_.pop_front();
      }
      next->Deliver();
    }
    return true;
  }

  // Runs what is queued now.
  void RunQueued() {
    std::size_t count;
    {
      std::lock_guard lock(mutex_);
      count = queue_.size();
    }
    for (; count > 0; --count) {
      IPortEvent* next;
      {
        std::lock_guard lock(mutex_);
        next = queue_.front();
        queue_.pop_front();
      }
      next->Deliver();
    }
  }

  // Waits, running nothing, until at least count events are queued.
  bool WaitQueued(std::size_t count, TLimit limit = kLimit) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, limit, [&] { return queue_.size() >= count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<IPortEvent*> queue_;
};
