#include "platform/stop_request.h"

#include <gtest/gtest.h>
#include <poll.h>

#include <csignal>

namespace {

bool Readable(const TStopRequest& request) {
  pollfd watch{request.Handle(), POLLIN, 0};
  return ::poll(&watch, 1, 0) == 1;
}

TEST(StopRequest, CtrlCAndTerminateTurnIntoOneRequestForTheGuiThread) {
  TStopRequest request;
  ASSERT_TRUE(request.Valid());
  EXPECT_FALSE(Readable(request));
  EXPECT_FALSE(request.Take());

  std::raise(SIGINT);
  std::raise(SIGTERM);  // the process is still here: both were caught
  EXPECT_TRUE(Readable(request));
  EXPECT_TRUE(request.Take());
  EXPECT_FALSE(Readable(request));
  EXPECT_FALSE(request.Take());

  std::raise(SIGTERM);
  EXPECT_TRUE(request.Take());
}

}  // namespace
