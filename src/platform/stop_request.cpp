#include "platform/stop_request.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

// The handler may do no more than write to a pipe, or end the process.
volatile sig_atomic_t writeFd = -1;
// Taken in one step, so of two signals that come at one moment (on two
// threads) exactly one is the first.
std::atomic<bool> requested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "a signal handler needs a lock-free flag");

// A second request is taken to mean that the close the first one began
// hangs: the signal's own default action ends the process, with that signal
// as its end.
void EndAtOnce(int signal) {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  ::sigaction(signal, &action, nullptr);
  ::raise(signal);  // delivered as soon as the handler returns
}

void OnStopSignal(int signal) {
  const int saved = errno;
  if (requested.exchange(true)) {
    EndAtOnce(signal);
  } else if (writeFd >= 0) {
    const char byte = 1;
    const ssize_t written = ::write(writeFd, &byte, 1);
    (void)written;
  }
  errno = saved;
}

}  // namespace

TStopRequest::TStopRequest() {
  int fds[2];
  if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) return;
  readFd_ = fds[0];
  writeFd = fds[1];
  requested = false;
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  // Neither handler interrupts the other, so two signals at once are two requests.
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) sigaddset(&action.sa_mask, signal);
  action.sa_flags = SA_RESTART;
  for (const int signal : kStopSignals) ::sigaction(signal, &action, nullptr);
}

TStopRequest::~TStopRequest() {
  if (readFd_ < 0) return;
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  for (const int signal : kStopSignals) ::sigaction(signal, &action, nullptr);
  ::close(writeFd);
  writeFd = -1;
  ::close(readFd_);
}

bool TStopRequest::Take() const {
  bool taken = false;
  char bytes[16];
  while (readFd_ >= 0 && ::read(readFd_, bytes, sizeof bytes) > 0) taken = true;
  return taken;
}
