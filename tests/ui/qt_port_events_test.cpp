#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "link/comm.h"
#include "pseudo_terminal.h"
#include "ui/qt_port_events.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A function posted as a port event; it frees itself whether run or discarded.
class TFunctionEvent final : public IPortEvent {
 public:
  static void Post(IPortEventSink& sink, std::function<void()> run) { sink.Post(*new TFunctionEvent(std::move(run))); }
  void Deliver() override {
    const std::unique_ptr<TFunctionEvent> self(this);
    run_();
  }
  void Discard() override { delete this; }

 private:
  explicit TFunctionEvent(std::function<void()> run) : run_(std::move(run)) {}
  std::function<void()> run_;
};

class QtPortEvents : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static int argc = 1;
    static char name[] = "ui_port_events_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
  }

  // Runs the GUI thread's events until done() holds; false when the limit passes first.
  static bool ProcessUntil(const std::function<bool()>& done, int limitMs = 20000) {
    QDeadlineTimer deadline(limitMs);
    while (!done()) {
      if (deadline.hasExpired()) return false;
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
  }

  const std::thread::id guiThread_ = std::this_thread::get_id();
};

TEST_F(QtPortEvents, RunOnTheGuiThreadInPostingOrderNeverInsidePost) {
  TQtPortEventSink sink;
  constexpr int kPerThread = 2000;
  std::vector<int> seen[2];
  bool offGuiThread = false;
  auto post = [&](int thread) {
    for (int i = 0; i < kPerThread; ++i)
      TFunctionEvent::Post(sink, [&, thread, i] {
        if (std::this_thread::get_id() != guiThread_) offGuiThread = true;
        seen[thread].push_back(i);
      });
  };
  std::thread a(post, 0), b(post, 1);
  a.join();
  b.join();
  EXPECT_TRUE(seen[0].empty() && seen[1].empty()) << "ran before the event loop did";
  ASSERT_TRUE(ProcessUntil([&] { return seen[0].size() + seen[1].size() == 2 * kPerThread; }));
  for (const auto& order : seen) {
    ASSERT_EQ(order.size(), std::size_t{kPerThread});
    for (int i = 0; i < kPerThread; ++i) EXPECT_EQ(order[i], i);
  }
  EXPECT_FALSE(offGuiThread);
}

TEST_F(QtPortEvents, EventsQueuedWhenTheSinkGoesAreFreedUnrun) {
  auto held = std::make_shared<int>(0);
  bool ran = false;
  {
    TQtPortEventSink sink;
    TFunctionEvent::Post(sink, [held, &ran] { ran = true; });
    EXPECT_EQ(held.use_count(), 2);
  }
  QCoreApplication::processEvents();
  EXPECT_FALSE(ran);
  EXPECT_EQ(held.use_count(), 1);
}

TEST_F(QtPortEvents, APortDeliversItsDataAndHangupOnTheGuiThread) {
  TQtPortEventSink sink;
  TPseudoTerminal line;
  TComm comm(sink);
  Bytes received;
  int hangups = 0;
  bool offGuiThread = false;
  comm.OnReceiveData = [&](TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
    EXPECT_EQ(sender, &comm);
    EXPECT_LE(length, kCommChunkSize);
    if (std::this_thread::get_id() != guiThread_) offGuiThread = true;
    received.insert(received.end(), buffer, buffer + length);
  };
  comm.OnRequestHangup = [&](TComm* sender) {
    if (std::this_thread::get_id() != guiThread_) offGuiThread = true;
    ++hangups;
    sender->ClosePort();
  };
  comm.SetLineSettings(ProgrammerLineSettings());
  comm.SetTimeouts(ProgrammerTimeouts());
  comm.CommName = line.Path();
  comm.OpenPort();

  const Bytes burst = PatternBytes(5000, 9);
  line.Write(burst);
  ASSERT_TRUE(ProcessUntil([&] { return received.size() >= burst.size(); }));
  EXPECT_EQ(received, burst);

  line.CloseFarSide();
  ASSERT_TRUE(ProcessUntil([&] { return hangups >= 1; }));
  EXPECT_FALSE(comm.PortOpen());
  QCoreApplication::processEvents();
  EXPECT_EQ(hangups, 1);
  EXPECT_FALSE(offGuiThread);
}

}  // namespace
