#include "platform/thread_priority.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

namespace {

int ThreadNice(pid_t thread) {
  errno = 0;
  return getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
}

pid_t CurrentThread() { return static_cast<pid_t>(syscall(SYS_gettid)); }

// Whether this process may raise a thread's priority at all.
bool MayRaise() {
  rlimit limit{};
  return geteuid() == 0 || (getrlimit(RLIMIT_NICE, &limit) == 0 && limit.rlim_cur >= 30);
}

TEST(ThreadPriority, RaisesOnlyTheCallingThreadHighestAboveAboveNormal) {
  if (!MayRaise()) GTEST_SKIP() << "this process may not raise priorities";
  const int before = ThreadNice(CurrentThread());
  int raised[2] = {0, 0};
  const TThreadPriority priorities[] = {TThreadPriority::AboveNormal, TThreadPriority::Highest};
  for (int i = 0; i < 2; ++i) {
    std::thread([&, i] {
      RaiseCurrentThreadPriority(priorities[i]);
      raised[i] = ThreadNice(CurrentThread());
    }).join();
  }
  EXPECT_LT(raised[0], before);
  EXPECT_LT(raised[1], raised[0]);
  EXPECT_EQ(ThreadNice(CurrentThread()), before);
}

}  // namespace
