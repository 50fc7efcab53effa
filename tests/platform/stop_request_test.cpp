#include "platform/stop_request.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>
#include <cstdlib>

namespace {

bool Readable(const TStopRequest& request) {
  pollfd watch{request.Handle(), POLLIN, 0};
  return ::poll(&watch, 1, 0) == 1;
}

TEST(StopRequest, CtrlCOrTerminateTurnsIntoOneRequestForTheGuiThread) {
  for (const int signal : {SIGINT, SIGTERM}) {
    SCOPED_TRACE(signal);
    TStopRequest request;
    ASSERT_TRUE(request.Valid());
    EXPECT_FALSE(Readable(request));
    EXPECT_FALSE(request.Take());

    std::raise(signal);  // the process is still here: it was caught
    EXPECT_TRUE(Readable(request));
    EXPECT_TRUE(request.Take());
    EXPECT_FALSE(Readable(request));
    EXPECT_FALSE(request.Take());
  }
}

// The first request began a close that hangs: the second signal, of either
// kind and whether the first was taken or not, ends the process by that
// signal.
TEST(StopRequestDeathTest, ASecondSignalEndsTheProcessAtOnce) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  struct TCase {
    int First, Second;
    bool Taken;
  };
  for (const TCase& c : {TCase{SIGINT, SIGINT, true}, TCase{SIGTERM, SIGINT, false}, TCase{SIGINT, SIGTERM, true}}) {
    SCOPED_TRACE(testing::Message() << c.First << " then " << c.Second);
    EXPECT_EXIT(
        {
          TStopRequest request;
          std::raise(c.First);
          if (c.Taken) (void)request.Take();
          std::raise(c.Second);
          std::_Exit(0);
        },
        testing::KilledBySignal(c.Second), "");
  }
}

}  // namespace
