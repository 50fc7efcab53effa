#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "link/comm.h"
#include "pseudo_terminal.h"
#include "queued_port_events.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Binds every event of a component and records what arrives, where and from whom.
struct TPortRecorder {
  explicit TPortRecorder(TComm& comm) : Comm(comm) {
    comm.OnReceiveData = [this](TComm* sender, const std::uint8_t* buffer, std::uint16_t length) {
      Note(sender);
      Chunks.emplace_back(buffer, buffer + length);
      Received.insert(Received.end(), buffer, buffer + length);
    };
    comm.OnRequestHangup = [this](TComm* sender) {
      Note(sender);
      ++Hangups;
      if (AtHangup) AtHangup();
    };
    comm.OnSendDataEmpty = [this](TComm* sender) {
      Note(sender);
      ++Empties;
    };
    comm.OnReceiveError = [this](TComm* sender, std::uint32_t) { Note(sender); };
    comm.OnModemStateChange = [this](TComm* sender, std::uint32_t) { Note(sender); };
  }
  void Note(TComm* sender) {
    if (sender != &Comm) WrongSender = true;
    if (std::this_thread::get_id() != GuiThread) OffGuiThread = true;
  }

  TComm& Comm;
  const std::thread::id GuiThread = std::this_thread::get_id();
  std::vector<Bytes> Chunks;
  Bytes Received;
  int Hangups = 0;
  int Empties = 0;
  bool OffGuiThread = false;
  bool WrongSender = false;
  std::function<void()> AtHangup;
};

void OpenProgrammerPort(TComm& comm, const std::string& path) {
  comm.SetLineSettings(ProgrammerLineSettings());
  comm.SetTimeouts(ProgrammerTimeouts());
  comm.CommName = path;
  comm.OpenPort();
}

// A programmer port open on a fresh line, its events recorded. Members go
// in reverse: the port closes before its line and its sink.
class CommOnLine : public ::testing::Test {
 protected:
  void SetUp() override { OpenProgrammerPort(comm, line.Path()); }

  TQueuedPortEvents events;
  TPseudoTerminal line;
  TComm comm{events};
  TPortRecorder recorder{comm};
};

speed_t FarSpeed(const TPseudoTerminal& line) {
  const termios t = line.LineSettings();
  return cfgetospeed(&t);
}

std::string OpenError(TComm& comm) {
  try {
    comm.OpenPort();
  } catch (const ECommsError& e) {
    return e.what();
  }
  return "(opened)";
}

// A regular file, removed at the end of the test.
struct TTempFile {
  TTempFile() : Path((std::filesystem::temp_directory_path() / ("comm_test_" + std::to_string(getpid()))).string()) {
    std::FILE* f = std::fopen(Path.c_str(), "w");
    std::fputs("not a port", f);
    std::fclose(f);
  }
  ~TTempFile() { std::filesystem::remove(Path); }
  std::string Path;
};

TEST(CommOpen, FailuresRaiseTheirTextHoldNothingAndThePortOpensAfterwards) {
  TQueuedPortEvents events;
  TPseudoTerminal line;
  TTempFile file;
  TComm holder(events);
  int lockFd = -1;

  struct TCase {
    const char* What;
    std::string Path;
    std::string Error;
    std::function<void()> Hold, Release;
  };
  const TCase cases[] = {
      {"missing device", "/dev/velmot-no-such-port", "Error opening serial port:/dev/velmot-no-such-port", {}, {}},
      {"regular file", file.Path, "File handle is not a comm handle ", {}, {}},
      {"not a terminal", "/dev/null", "Cannot setup comm buffer", {}, {}},
      {"held by another component", line.Path(), "Error opening serial port:" + line.Path(),
       [&] {
         holder.CommName = line.Path();
         holder.OpenPort();
       },
       [&] { holder.ClosePort(); }},
      {"locked by another program", line.Path(), "Error opening serial port:" + line.Path(),
       [&] {
         lockFd = open(line.Path().c_str(), O_RDWR | O_NOCTTY);
         ASSERT_EQ(flock(lockFd, LOCK_EX | LOCK_NB), 0);
       },
       [&] { close(lockFd); }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TComm comm(events);
    if (c.Hold) c.Hold();
    const std::size_t descriptors = OpenDescriptorCount();
    comm.CommName = c.Path;
    EXPECT_EQ(OpenError(comm), c.Error);
    EXPECT_FALSE(comm.PortOpen());
    EXPECT_EQ(OpenDescriptorCount(), descriptors) << "a failed open left a descriptor";
    if (c.Release) c.Release();

    comm.CommName = line.Path();
    EXPECT_NO_THROW(comm.OpenPort());
    EXPECT_TRUE(comm.PortOpen());
    comm.ClosePort();
    EXPECT_FALSE(comm.PortOpen());
  }
  events.RunQueued();
}

TEST_F(CommOnLine, OpeningAnOpenPortRaisesAndLeavesItWorking) {
  EXPECT_EQ(OpenError(comm), "This serial port already opened");
  ASSERT_TRUE(comm.PortOpen());

  line.Write({1, 2, 3});
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Received.size() >= 3; }));
  EXPECT_EQ(recorder.Received, (Bytes{1, 2, 3}));
  const Bytes reply = {4, 5};
  ASSERT_TRUE(comm.SendBuffer(reply.data(), 2));
  EXPECT_EQ(line.Read(2), reply);
}

TEST_F(CommOnLine, FarSideSeesTheProgrammerLine) {
  const termios t = line.LineSettings();
  EXPECT_EQ(cfgetospeed(&t), B1000000);
  EXPECT_EQ(cfgetispeed(&t), B1000000);
  EXPECT_EQ(t.c_cflag & CSIZE, tcflag_t{CS8});
  EXPECT_EQ(t.c_cflag & (CSTOPB | CLOCAL | CREAD), tcflag_t{CSTOPB | CLOCAL | CREAD});
  EXPECT_EQ(t.c_cflag & (PARENB | CRTSCTS), 0u);
  EXPECT_EQ(t.c_iflag & (IXON | IXOFF | INPCK), 0u);
  // Raw: no line editing, echo, signals or character mapping; reads never wait.
  EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ECHONL | ISIG | IEXTEN), 0u);
  EXPECT_EQ(t.c_iflag & (ICRNL | INLCR | IGNCR | ISTRIP | BRKINT | PARMRK), 0u);
  EXPECT_EQ(t.c_oflag & OPOST, 0u);
  EXPECT_EQ(t.c_cc[VMIN], 0);
  EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(CommLine, PropertiesMapOntoTheLine) {
  // A pseudo-terminal always reports 8 data bits and no parity-enable bit;
  // these are the bits it keeps.
  constexpr tcflag_t kCflags = CSTOPB | CRTSCTS | PARODD | CMSPAR;
  constexpr tcflag_t kIflags = IXON | IXOFF | INPCK;
  struct TCase {
    const char* What;
    std::function<void(TComm&)> Set;
    speed_t Speed;
    tcflag_t Cflags, Iflags;
  };
  const TCase cases[] = {
      {"new component", [](TComm&) {}, B9600, 0, IXON | IXOFF},
      {"CTS flow", [](TComm& c) { c.SetOutx_CtsFlow(true); }, B9600, CRTSCTS, IXON | IXOFF},
      {"RTS handshake", [](TComm& c) { c.SetRtsControl(TRtsControl::RtsHandshake); }, B9600, CRTSCTS, IXON | IXOFF},
      {"no XON/XOFF out", [](TComm& c) { c.SetOutx_XonXoffFlow(false); }, B9600, 0, IXOFF},
      {"no XON/XOFF in", [](TComm& c) { c.SetInx_XonXoffFlow(false); }, B9600, 0, IXON},
      {"parity check", [](TComm& c) { c.SetParityCheck(true); }, B9600, 0, IXON | IXOFF | INPCK},
      {"one and a half stop bits", [](TComm& c) { c.SetStopBits(TStopBits::_1_5); }, B9600, CSTOPB, IXON | IXOFF},
      {"odd parity", [](TComm& c) { c.Parity = TParity::Odd; }, B9600, PARODD, IXON | IXOFF},
      {"even parity", [](TComm& c) { c.Parity = TParity::Even; }, B9600, 0, IXON | IXOFF},
      {"mark parity", [](TComm& c) { c.Parity = TParity::Mark; }, B9600, PARODD | CMSPAR, IXON | IXOFF},
      {"space parity", [](TComm& c) { c.Parity = TParity::Space; }, B9600, CMSPAR, IXON | IXOFF},
      {"57600 baud", [](TComm& c) { c.SetBaudRate(57600); }, B57600, 0, IXON | IXOFF},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    TQueuedPortEvents events;
    TPseudoTerminal line;
    TComm comm(events);
    c.Set(comm);
    comm.CommName = line.Path();
    comm.OpenPort();
    const termios t = line.LineSettings();
    EXPECT_EQ(cfgetospeed(&t), c.Speed);
    EXPECT_EQ(t.c_cflag & kCflags, c.Cflags);
    EXPECT_EQ(t.c_iflag & kIflags, c.Iflags);
  }
}

TEST_F(CommOnLine, SettersApplyAtOnceOnlyWhenTheValueChanges) {

  comm.SetBaudRate(115200);
  EXPECT_EQ(FarSpeed(line), B115200);

  // The far side changes the speed behind the component's back; setting the
  // value the component already holds must not touch the line.
  termios changed = line.LineSettings();
  cfsetospeed(&changed, B9600);
  cfsetispeed(&changed, B9600);
  line.SetLineSettings(changed);
  comm.SetBaudRate(115200);
  EXPECT_EQ(FarSpeed(line), B9600);

  // Parity is only stored; the next change of another setting applies it.
  comm.Parity = TParity::Odd;
  EXPECT_EQ(line.LineSettings().c_cflag & PARODD, 0u);
  comm.SetStopBits(TStopBits::_1);
  const termios t = line.LineSettings();
  EXPECT_EQ(cfgetospeed(&t), B115200);
  EXPECT_EQ(t.c_cflag & (PARODD | CSTOPB), tcflag_t{PARODD});
}

TEST_F(CommOnLine, ABurstArrivesWholeInOrderInChunksOfAtMost2048OnTheGuiThread) {

  const Bytes burst = PatternBytes(5000, 3);
  line.Write(burst);
  // The tail of a burst goes out only after the line has been silent.
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Received.size() >= burst.size(); }));
  EXPECT_EQ(recorder.Received, burst);
  EXPECT_GE(recorder.Chunks.size(), 3u);
  for (const Bytes& chunk : recorder.Chunks) {
    EXPECT_GE(chunk.size(), 1u);
    EXPECT_LE(chunk.size(), kCommChunkSize);
  }
  EXPECT_FALSE(recorder.OffGuiThread);
  EXPECT_FALSE(recorder.WrongSender);
  EXPECT_EQ(recorder.Hangups, 0);
}

TEST_F(CommOnLine, ABurstQueuedWholeBeforeTheGuiThreadRunsArrivesIntact) {
  // Far more chunks wait at once than the port keeps messages for reuse; the
  // later ones reuse the first once they are handled.
  const Bytes burst = PatternBytes(48 * 1024, 4);
  line.Write(burst);
  ASSERT_TRUE(events.WaitQueued(1 + burst.size() / kCommChunkSize));  // the empty send queue first
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Received.size() >= burst.size(); }));
  EXPECT_EQ(recorder.Received, burst);
  for (const Bytes& chunk : recorder.Chunks) EXPECT_LE(chunk.size(), kCommChunkSize);

  // And again, now from reused messages.
  recorder.Received.clear();
  line.Write(burst);
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Received.size() >= burst.size(); }));
  EXPECT_EQ(recorder.Received, burst);
}

TEST_F(CommOnLine, AHandlerThatThrowsLosesNoLaterChunk) {
  bool thrown = false;
  comm.OnReceiveData = [&](TComm*, const std::uint8_t* buffer, std::uint16_t length) {
    if (!thrown) {
      thrown = true;
      throw std::runtime_error("handler failed");
    }
    recorder.Received.insert(recorder.Received.end(), buffer, buffer + length);
  };
  line.Write({1, 2, 3});
  EXPECT_THROW(events.RunUntil([&] { return thrown; }), std::runtime_error);
  for (std::uint8_t round = 0; round < 20; ++round) {
    const Bytes bytes = PatternBytes(3000, round);
    recorder.Received.clear();
    line.Write(bytes);
    ASSERT_TRUE(events.RunUntil([&] { return recorder.Received.size() >= bytes.size(); }));
    EXPECT_EQ(recorder.Received, bytes);
  }
}

TEST(CommEvents, MessagesStillQueuedWhenTheSinkGoesAreFreed) {
  TPseudoTerminal line;
  TQueuedPortEvents events;
  {
    TComm comm(events);
    comm.OnReceiveData = [](TComm*, const std::uint8_t*, std::uint16_t) { ADD_FAILURE() << "ran"; };
    OpenProgrammerPort(comm, line.Path());
    line.Write(PatternBytes(5000, 6));
    ASSERT_TRUE(events.WaitQueued(3));
  }
  // The component is gone, its messages wait in the sink, which now goes
  // too: nothing runs, and the leak check finds nothing left behind.
}

TEST_F(CommOnLine, BlocksAreWrittenWholeInOrderFromACopyOfTheCallersBuffer) {
  // The queue starts empty.
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Empties >= 1; }));

  // Each block is larger than the line buffers, so the second is queued
  // while the first is still being written; the caller reuses its buffer.
  const Bytes first = PatternBytes(20000, 1);
  const Bytes second = PatternBytes(30000, 2);
  Bytes packet = first;
  ASSERT_TRUE(comm.SendBuffer(packet.data(), static_cast<std::uint16_t>(packet.size())));
  packet = second;
  ASSERT_TRUE(comm.SendBuffer(packet.data(), static_cast<std::uint16_t>(packet.size())));
  std::fill(packet.begin(), packet.end(), 0xEE);

  Bytes expected = first;
  expected.insert(expected.end(), second.begin(), second.end());
  EXPECT_EQ(line.Read(expected.size()), expected);
  // The drained queue is reported.
  EXPECT_TRUE(events.RunUntil([&] { return recorder.Empties >= 2; }));
  EXPECT_FALSE(recorder.OffGuiThread);
}

TEST_F(CommOnLine, ReusedSendBuffersCarryOnlyTheirOwnBlock) {
  // Each block is read before the next is sent, so each is copied into the
  // buffer the one before it used, larger and smaller ones in turn.
  for (const std::size_t size : {4200u, 5u, 4200u, 1u, 300u, 6000u, 2u}) {
    SCOPED_TRACE(size);
    const Bytes block = PatternBytes(size, static_cast<std::uint8_t>(size));
    ASSERT_TRUE(comm.SendBuffer(block.data(), static_cast<std::uint16_t>(block.size())));
    EXPECT_EQ(line.Read(block.size()), block);
  }
  EXPECT_FALSE(line.WaitReadable(std::chrono::milliseconds(20))) << "bytes of an earlier block came again";
}

TEST(CommSend, RefusesWhenClosedOrEmpty) {
  TQueuedPortEvents events;
  TPseudoTerminal line;
  TComm comm(events);
  const std::uint8_t byte = 0x55;
  EXPECT_FALSE(comm.SendBuffer(&byte, 1));
  comm.ClosePort();  // closed: nothing to do
  OpenProgrammerPort(comm, line.Path());
  EXPECT_FALSE(comm.SendBuffer(&byte, 0));
  EXPECT_FALSE(comm.SendBuffer(nullptr, 1));
  comm.ClosePort();
  EXPECT_FALSE(comm.SendBuffer(&byte, 1));
  EXPECT_FALSE(line.WaitReadable(std::chrono::milliseconds(0)));
}

TEST_F(CommOnLine, ClosingTheFarSideRaisesOneHangupOnTheGuiThreadAndClosePortInsideReturns) {
  recorder.AtHangup = [&] { comm.ClosePort(); };

  line.CloseFarSide();
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Hangups >= 1; }));
  EXPECT_FALSE(comm.PortOpen());
  events.RunQueued();
  EXPECT_EQ(recorder.Hangups, 1);
  EXPECT_FALSE(recorder.OffGuiThread);
  EXPECT_FALSE(recorder.WrongSender);
}

TEST_F(CommOnLine, BothThreadsFailingRaiseOneHangupPerOpen) {

  line.CloseFarSide();
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Hangups >= 1; }));
  // The handler left the port open: a send now fails in the write thread,
  // which posts its own hang-up request and ends, after which sends are refused.
  ASSERT_TRUE(comm.PortOpen());
  const std::uint8_t byte = 0x55;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (comm.SendBuffer(&byte, 1) && std::chrono::steady_clock::now() < deadline) events.RunQueued();
  ASSERT_FALSE(comm.SendBuffer(&byte, 1));
  events.RunQueued();
  EXPECT_EQ(recorder.Hangups, 1);
  comm.ClosePort();

  // A new open may hang up again.
  TPseudoTerminal next;
  comm.CommName = next.Path();
  comm.OpenPort();
  next.CloseFarSide();
  ASSERT_TRUE(events.RunUntil([&] { return recorder.Hangups >= 2; }));
}

TEST_F(CommOnLine, EventsOfAnEarlierOpenAreDropped) {
  recorder.AtHangup = [&] { comm.ClosePort(); };
  // Queued, not yet delivered: the empty queue, a chunk, the hang-up.
  line.Write({9, 9, 9});
  ASSERT_TRUE(events.WaitQueued(2));
  line.CloseFarSide();
  ASSERT_TRUE(events.WaitQueued(3));
  comm.ClosePort();

  TPseudoTerminal second;
  comm.CommName = second.Path();
  comm.OpenPort();
  events.RunQueued();
  EXPECT_EQ(recorder.Hangups, 0);
  EXPECT_TRUE(recorder.Received.empty());
  ASSERT_TRUE(comm.PortOpen());

  second.Write({7});
  ASSERT_TRUE(events.RunUntil([&] { return !recorder.Received.empty(); }));
  EXPECT_EQ(recorder.Received, Bytes{7});
}

TEST(CommClose, ReturnsWithAWritePendingOnAStalledLine) {
  const std::function<void(std::unique_ptr<TComm>&)> closings[] = {
      [](std::unique_ptr<TComm>& comm) { comm->ClosePort(); },
      [](std::unique_ptr<TComm>& comm) { comm.reset(); },  // the destructor closes
  };
  for (const auto& closing : closings) {
    TQueuedPortEvents events;
    TPseudoTerminal line;
    auto comm = std::make_unique<TComm>(events);
    OpenProgrammerPort(*comm, line.Path());
    // The far side never reads, so the writes stall once the line buffers fill.
    const Bytes block = PatternBytes(60000, 5);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(comm->SendBuffer(block.data(), static_cast<std::uint16_t>(block.size())));
    ASSERT_TRUE(line.WaitReadable());
    closing(comm);
    EXPECT_TRUE(!comm || !comm->PortOpen());
    events.RunQueued();
  }
}

// The nice value of every thread of this process.
std::map<long, int> ThreadNices() {
  std::map<long, int> nices;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    const long tid = std::stol(entry.path().filename().string());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid));
    if (errno == 0) nices[tid] = nice;
  }
  return nices;
}

bool ThreadListed(long tid) { return std::filesystem::exists("/proc/self/task/" + std::to_string(tid)); }

TEST(CommThreads, TheReadThreadRunsAboveTheWriteThreadAboveTheRest) {
  if (geteuid() != 0) GTEST_SKIP() << "only a privileged process may raise priorities";
  TQueuedPortEvents events;
  TPseudoTerminal line;
  TComm comm(events);
  const std::map<long, int> before = ThreadNices();
  const int normal = before.begin()->second;
  OpenProgrammerPort(comm, line.Path());
  // The port's threads are the two that came with the open and raised
  // themselves as they started (a sanitizer may start one of its own
  // meanwhile, at the normal priority).
  std::map<long, int> portThreads;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  do {
    portThreads.clear();
    for (const auto& [tid, nice] : ThreadNices())
      if (!before.contains(tid) && nice != normal) portThreads[tid] = nice;
  } while (portThreads.size() < 2 && std::chrono::steady_clock::now() < deadline);
  comm.ClosePort();
  // A thread that has been joined may still be listed for a moment.
  while (std::ranges::any_of(portThreads, [](const auto& t) { return ThreadListed(t.first); }) &&
         std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(portThreads.size(), 2u);
  for (const auto& [tid, nice] : portThreads) EXPECT_FALSE(ThreadListed(tid)) << "thread " << tid << " outlived the close";
  const int high = std::min(portThreads.begin()->second, portThreads.rbegin()->second);
  const int aboveNormal = std::max(portThreads.begin()->second, portThreads.rbegin()->second);
  EXPECT_LT(high, aboveNormal);
  EXPECT_LT(aboveNormal, normal);
  events.RunQueued();
}

TEST(CommLineEvents, CounterChangesBecomeErrorFlagsAndModemBits) {
  struct TCase {
    const char* What;
    TSerialLineCounters After;
    std::uint32_t ErrorFlags, ModemBits;
  };
  const TCase cases[] = {
      {"nothing", {}, 0, 0},
      {"frame error", {.Frame = 1}, kCommErrorFrame, 0},
      {"overrun", {.Overrun = 2}, kCommErrorOverrun, 0},
      {"parity error", {.Parity = 1}, kCommErrorRxParity, 0},
      {"break alone is no line error", {.Break = 1}, 0, 0},
      {"lost input alone is no line error", {.BufferOverrun = 1}, 0, 0},
      {"break with a frame error", {.Frame = 1, .Break = 1}, kCommErrorFrame | kCommErrorBreak, 0},
      {"parity error with lost input", {.Parity = 1, .BufferOverrun = 3}, kCommErrorRxParity | kCommErrorRxOver, 0},
      {"carrier detect", {.CarrierDetect = 1}, 0, kModemCarrierDetect},
      {"ring", {.Ring = 1}, 0, kModemRing},
      {"carrier and ring with an overrun", {.Overrun = 1, .CarrierDetect = 2, .Ring = 1}, kCommErrorOverrun, 12},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    const TLineEvents events = LineEventsBetween({}, c.After);
    EXPECT_EQ(events.ErrorFlags, c.ErrorFlags);
    EXPECT_EQ(events.ModemBits, c.ModemBits);
  }
}

}  // namespace
