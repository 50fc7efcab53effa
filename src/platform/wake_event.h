// An event that a port thread waits on together with its device: the stop
// request of an open port, or the wake-up of its write thread.
#pragma once

// Signal and Clear may be called from any thread.
class TWakeEvent {
 public:
  TWakeEvent();
  ~TWakeEvent();
  TWakeEvent(const TWakeEvent&) = delete;
  TWakeEvent& operator=(const TWakeEvent&) = delete;

  bool Valid() const { return fd_ >= 0; }
  void Signal() const;
  void Clear() const;

  // For the waits of this layer only.
  int Handle() const { return fd_; }

 private:
  int fd_;
};

enum class TEventWait { First, Second, Failed };

// Waits without limit until one of the two is signalled; first wins when both are.
TEventWait WaitForEither(const TWakeEvent& first, const TWakeEvent& second);
