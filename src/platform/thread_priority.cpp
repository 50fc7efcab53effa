#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void RaiseCurrentThreadPriority(TThreadPriority priority) {
  // Nice values of a Linux thread; each thread is a task of its own.
  const int nice = priority == TThreadPriority::Highest ? -10 : -5;
  const auto thread = static_cast<id_t>(syscall(SYS_gettid));
  [[maybe_unused]] const int refused = setpriority(PRIO_PROCESS, thread, nice);
}
