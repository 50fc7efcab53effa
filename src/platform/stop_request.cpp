#include "platform/stop_request.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM};

// The handler may do no more than write to a pipe.
volatile sig_atomic_t writeFd = -1;

void OnStopSignal(int) {
  const int saved = errno;
  const char byte = 1;
  if (writeFd >= 0) {
    const ssize_t written = ::write(writeFd, &byte, 1);  // a full pipe holds a request already
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
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
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
