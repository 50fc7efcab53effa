#include "platform/wake_event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

TWakeEvent::TWakeEvent() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

TWakeEvent::~TWakeEvent() {
  if (fd_ >= 0) close(fd_);
}

void TWakeEvent::Signal() const {
  const std::uint64_t one = 1;
  // Only fails when the counter is saturated, which still leaves it signalled.
  [[maybe_unused]] const ssize_t n = write(fd_, &one, sizeof one);
}

void TWakeEvent::Clear() const {
  std::uint64_t count;
  [[maybe_unused]] const ssize_t n = read(fd_, &count, sizeof count);  // EAGAIN: already clear
}

TEventWait WaitForEither(const TWakeEvent& first, const TWakeEvent& second) {
  pollfd p[2] = {{first.Handle(), POLLIN, 0}, {second.Handle(), POLLIN, 0}};
  for (;;) {
    const int n = poll(p, 2, -1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return TEventWait::Failed;
    if (p[0].revents & POLLIN) return TEventWait::First;
    if (p[1].revents & POLLIN) return TEventWait::Second;
    return TEventWait::Failed;  // POLLERR or POLLNVAL on an event
  }
}
