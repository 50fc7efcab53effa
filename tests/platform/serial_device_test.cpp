#include <gtest/gtest.h>

#include <poll.h>
#include <termios.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/serial_device.h"
#include "platform/wake_event.h"
#include "pseudo_terminal.h"

namespace {

struct TOpenLine {
  TOpenLine() {
    EXPECT_EQ(Device.Open(Line.Path()), TSerialOpenResult::Opened);
    EXPECT_TRUE(Device.Apply(TSerialLineSettings{}));
  }
  TPseudoTerminal Line;
  TSerialDevice Device;
  TWakeEvent Stop;
};

TEST(SerialDevice, StopWinsOverWaitingInput) {
  TOpenLine open;
  open.Line.Write({1, 2, 3});
  EXPECT_EQ(open.Device.WaitReadable(open.Stop, -1), TSerialWait::Ready);
  open.Stop.Signal();
  EXPECT_EQ(open.Device.WaitReadable(open.Stop, -1), TSerialWait::Stopped);
}

TEST(SerialDevice, ReadsWhatArrivedThenTimesOutOnASilentLine) {
  TOpenLine open;
  open.Line.Write({1, 2, 3});
  ASSERT_EQ(open.Device.WaitReadable(open.Stop, -1), TSerialWait::Ready);
  std::uint8_t buffer[16];
  const TSerialIo io = open.Device.Read(buffer, sizeof buffer);
  EXPECT_EQ(io.Status, TSerialIoStatus::Done);
  EXPECT_EQ(io.Count, 3u);
  EXPECT_EQ(open.Device.WaitReadable(open.Stop, 1), TSerialWait::TimedOut);
}

TEST(SerialDevice, AGoneFarSideIsReportedAsLost) {
  TOpenLine open;
  open.Line.CloseFarSide();
  // Either the wait itself or the read after it reports the loss.
  const TSerialWait wait = open.Device.WaitReadable(open.Stop, -1);
  ASSERT_NE(wait, TSerialWait::Stopped);
  ASSERT_NE(wait, TSerialWait::TimedOut);
  std::uint8_t buffer[16];
  if (wait == TSerialWait::Ready) {
    EXPECT_EQ(open.Device.Read(buffer, sizeof buffer).Status, TSerialIoStatus::Lost);
  }
  const std::uint8_t byte = 0;
  EXPECT_EQ(open.Device.Write(&byte, 1).Status, TSerialIoStatus::Lost);
}

TEST(SerialDevice, AStalledWriteWaitsUntilStopped) {
  TOpenLine open;
  // The far side never reads: the writer fills the line, then waits for room
  // that never comes, until it is stopped.
  std::atomic<bool> filled = false;
  TSerialWait result = TSerialWait::Ready;
  std::thread writer([&] {
    const auto block = PatternBytes(4096, 0);
    for (;;) {
      const TSerialIo io = open.Device.Write(block.data(), block.size());
      if (io.Status == TSerialIoStatus::Lost) break;
      if (io.Status == TSerialIoStatus::Done) continue;
      filled = true;
      result = open.Device.WaitWritable(open.Stop);
      if (result != TSerialWait::Ready) break;
    }
  });
  while (!filled) std::this_thread::yield();
  open.Stop.Signal();
  writer.join();
  EXPECT_EQ(result, TSerialWait::Stopped);
}

TEST(SerialDevice, AnUnknownBaudRateIsRefusedAndTheLineKept) {
  TOpenLine open;
  TSerialLineSettings odd;
  odd.BaudRate = 12345;
  EXPECT_FALSE(open.Device.Apply(odd));
  const termios t = open.Line.LineSettings();
  EXPECT_EQ(cfgetospeed(&t), B1000000);
}

// Whether the event is signalled, tested without waiting or clearing it.
bool Signalled(const TWakeEvent& event) {
  pollfd p{event.Handle(), POLLIN, 0};
  return poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

TEST(WakeEvent, WaitForEitherPrefersTheFirstAndClearEmptiesTheSecond) {
  TWakeEvent first, second;
  second.Signal();
  second.Signal();
  EXPECT_EQ(WaitForEither(first, second), TEventWait::Second);
  first.Signal();
  EXPECT_EQ(WaitForEither(first, second), TEventWait::First);
  second.Clear();
  EXPECT_FALSE(Signalled(second));
  EXPECT_TRUE(Signalled(first));
}

}  // namespace
