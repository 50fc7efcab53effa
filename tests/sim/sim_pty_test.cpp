#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "sim_pty.h"
#include "sim_test_support.h"

namespace {

using namespace simtest;
using sim::Bytes;

const Bytes kProbeFrame = {0xC0, 0xA3, 0xA5, 0x35, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
constexpr int kWaitMs = 20000;  // a limit against hanging, not a measurement

// The program's side of a port, as small as it gets: raw mode, write, and
// read until a number of frames has closed.
class Client {
 public:
  explicit Client(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {
    EXPECT_GE(fd_, 0) << path << ": " << std::strerror(errno);
    termios t{};
    if (fd_ >= 0 && ::tcgetattr(fd_, &t) == 0) {
      ::cfmakeraw(&t);
      ::tcsetattr(fd_, TCSANOW, &t);
    }
  }
  ~Client() { Close(); }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd() const { return fd_; }

  void Send(const Bytes& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EAGAIN) {
        pollfd p{fd_, POLLOUT, 0};
        ::poll(&p, 1, kWaitMs);
        continue;
      }
      ASSERT_GT(n, 0) << std::strerror(errno);
      done += static_cast<std::size_t>(n);
    }
  }

  // Every byte read until `count` frames have closed (a frame: 0xC0, at
  // least one other byte, 0xC0); bytes after that wait for the next call.
  Bytes ReadFrames(std::size_t count) {
    Bytes bytes;
    std::size_t closed = 0;
    bool open = false;
    std::size_t body = 0;
    while (closed < count) {
      if (pending_.empty()) {
        pollfd p{fd_, POLLIN, 0};
        if (::poll(&p, 1, kWaitMs) <= 0 || !(p.revents & POLLIN)) {
          ADD_FAILURE() << "no more bytes after " << bytes.size() << ", " << closed << " frames";
          return bytes;
        }
        std::uint8_t buffer[4096];
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n > 0) pending_.assign(buffer, buffer + n);
      }
      std::size_t used = 0;
      while (used < pending_.size() && closed < count) {
        const std::uint8_t b = pending_[used++];
        bytes.push_back(b);
        if (b != 0xC0) {
          body += open ? 1 : 0;
        } else if (open && body > 0) {
          open = false;
          ++closed;
        } else {
          open = true;
          body = 0;
        }
      }
      pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(used));
    }
    return bytes;
  }

  // The packets of the frames in bytes, in order.
  static std::vector<Bytes> Packets(const Bytes& bytes) {
    sim::FrameSplitter splitter;
    splitter.Feed(bytes);
    std::vector<Bytes> packets;
    while (auto frame = splitter.Next()) packets.push_back(Decode(*frame));
    return packets;
  }

 private:
  int fd_;
  Bytes pending_;
};

// The identity text, as far as the reply holds it.
std::string Text(const Bytes& identityReply) {
  if (identityReply.size() < 28) return {};
  const std::size_t length = std::min<std::size_t>(sim::Le16(identityReply, 6), identityReply.size() - 28);
  return std::string(identityReply.begin() + 28, identityReply.begin() + 28 + static_cast<long>(length));
}

TEST(SimPty, AnswersTheProbe) {
  sim::PtyUnit unit;
  Client client(unit.Path());
  client.Send(kProbeFrame);
  const auto packets = Client::Packets(client.ReadFrames(1));
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(Text(packets[0]), "Velmot200IND V1.06");
  ASSERT_TRUE(unit.WaitForPackets(1));
  const auto records = unit.Received();
  EXPECT_EQ(records.at(0).frame, Bytes(kProbeFrame.begin(), kProbeFrame.begin() + 5));
  EXPECT_TRUE(records.at(0).answered);
}

TEST(SimPty, DataReplyArrivesWholeWhateverTheTransport) {
  const struct {
    const char* name;
    std::function<void(sim::UnitSettings&)> set;
  } cases[] = {
      {"plain", [](sim::UnitSettings&) {}},
      {"small chunks", [](sim::UnitSettings& s) { s.chunkSize = 100; s.chunkGapMs = 1; }},
      {"noise", [](sim::UnitSettings& s) { s.noise = {0x11, 0x22, 0xFF}; }},
      {"paced", [](sim::UnitSettings& s) { s.bytesPerSecond = sim::kPacedBytesPerSecond; }},
      {"delayed", [](sim::UnitSettings& s) { s.replyDelayMs = 30; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    sim::UnitSettings settings;
    c.set(settings);
    sim::PtyUnit unit(settings);
    const Bytes data = Pattern(4096, 0xC0);  // full of bytes that need escaping
    unit.Modify([&](sim::Unit& u) { std::copy(data.begin(), data.end(), u.main.begin() + 0x3000); });
    Client client(unit.Path());
    client.Send(Command(sim::kCmdReadMain, 12));
    client.Send(Command(sim::kCmdControl, sim::kSubBlankCheck));
    const Bytes bytes = client.ReadFrames(2);
    if (!settings.noise.empty()) {
      EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 3), settings.noise);
    }
    const auto packets = Client::Packets(bytes);
    ASSERT_EQ(packets.size(), 2u);
    EXPECT_EQ(Bytes(packets[0].begin() + 8, packets[0].end() - 2), data);
    EXPECT_EQ(packets[1][8], 0x15);  // main memory is no longer blank
    ASSERT_TRUE(unit.WaitForPackets(2));
    for (const auto& record : unit.Received()) EXPECT_EQ(record.problem, "");
  }
}

TEST(SimPty, SurvivesTheProgramReopeningItsPort) {
  sim::PtyUnit unit;
  for (int round = 0; round < 3; ++round) {
    Client client(unit.Path());
    client.Send(kProbeFrame);
    EXPECT_EQ(Client::Packets(client.ReadFrames(1)).size(), 1u) << "round " << round;
  }
  EXPECT_EQ(unit.ReceivedCount(), 3u);
}

// Waits for a condition the unit's thread brings about; false after the limit.
bool Eventually(const std::function<bool()>& condition) {
  const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > limit) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

TEST(SimPty, LastCloseClearsTheExclusiveFlag) {
  sim::PtyUnit unit;
  {
    Client client(unit.Path());
    ASSERT_EQ(::ioctl(client.fd(), TIOCEXCL), 0);
    ASSERT_TRUE(Eventually([&] { return unit.Listeners() == 1; }));
  }
  ASSERT_TRUE(Eventually([&] { return unit.Listeners() == 0; }));
  Client again(unit.Path());
  ASSERT_GE(again.fd(), 0);
  int exclusive = -1;
  ASSERT_EQ(::ioctl(again.fd(), TIOCGEXCL, &exclusive), 0);
  EXPECT_EQ(exclusive, 0);
}

TEST(SimPty, WhatNoOneListensToIsLost) {
  sim::UnitSettings settings;
  settings.replyDelayMs = 100;
  sim::PtyUnit unit(settings);
  {
    Client client(unit.Path());
    client.Send(kProbeFrame);
    ASSERT_TRUE(unit.WaitForPackets(1));
  }
  ASSERT_TRUE(Eventually([&] { return unit.Listeners() == 0 && unit.Pending() == 0; }));
  unit.Update([](sim::UnitSettings& s) { s.replyDelayMs = 0; });
  Client client(unit.Path());
  client.Send(Command(sim::kCmdControl, sim::kSubBlankCheck));
  const auto packets = Client::Packets(client.ReadFrames(1));
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(packets[0][0], sim::kCmdControl);  // not the identity reply
}

TEST(SimPty, ClosingTheUnitHangsUpTheProgramsSide) {
  sim::PtyUnit unit;
  Client client(unit.Path());
  unit.Close();
  pollfd p{client.fd(), POLLIN, 0};
  ASSERT_EQ(::poll(&p, 1, kWaitMs), 1);
  EXPECT_TRUE(p.revents & POLLHUP);
  std::uint8_t byte = 0;
  const ssize_t n = ::read(client.fd(), &byte, 1);
  EXPECT_TRUE(n == 0 || (n < 0 && errno == EIO)) << n << " " << std::strerror(errno);
}

TEST(SimPty, StartPacketThenProgressScript) {
  sim::UnitSettings settings;
  settings.script = sim::StandAloneScript(2, 0x15);
  sim::PtyUnit unit(settings);
  Client client(unit.Path());
  client.Send({0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02, 0xC0, 0xFF, 0xFF, 0xFF,
               0xFF, 0xFF});
  const auto packets = Client::Packets(client.ReadFrames(1 + settings.script.size()));
  ASSERT_EQ(packets.size(), 1 + settings.script.size());
  EXPECT_EQ(packets[0][0], 0xFA);
  for (std::size_t i = 0; i < settings.script.size(); ++i) {
    ASSERT_EQ(packets[i + 1].size(), 8u);
    EXPECT_EQ(packets[i + 1][0], 0xFD);
    EXPECT_EQ(packets[i + 1][1], settings.script[i].stage);
  }
  EXPECT_EQ(packets.back()[2], 0x15);

  // On demand, also without a start packet.
  unit.SendProgress({0xF0, 6});
  const auto more = Client::Packets(client.ReadFrames(1));
  ASSERT_EQ(more.size(), 1u);
  EXPECT_EQ(more[0][2], 6);
}

TEST(SimPty, GroupNamesItsUnitsInTheConnectionSettings) {
  sim::UnitGroup group(3);
  const auto paths = group.Paths();
  ASSERT_EQ(paths.size(), 3u);
  for (const auto& path : paths) {
    struct stat st{};
    ASSERT_EQ(::stat(path.c_str(), &st), 0) << path;
    EXPECT_TRUE(S_ISCHR(st.st_mode));
  }
  EXPECT_NE(paths[0], paths[1]);
  const std::string expected = "; Velmot200IND programmer units\n[Connection]\nTOTDEV=3\nDEV1=" + paths[0] +
                               "\nDEV2=" + paths[1] + "\nDEV3=" + paths[2] + "\n";
  EXPECT_EQ(sim::ConfigIniText(paths), expected);

  const auto folder = std::filesystem::temp_directory_path() / ("velmot-sim-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  group.WriteConfigIni(folder);
  std::ifstream in(folder / "ConfigVmg.ini", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  EXPECT_EQ(text.str(), expected);
  std::filesystem::remove_all(folder);

  // Each unit answers on its own path.
  group[2].Update([](sim::UnitSettings& s) { s.identity = sim::kBootLoaderIdentity; });
  Client client(paths[2]);
  client.Send(kProbeFrame);
  const auto packets = Client::Packets(client.ReadFrames(1));
  ASSERT_EQ(packets.size(), 1u);
  EXPECT_EQ(Text(packets[0]), "Velmot200XXX-XX");
  EXPECT_EQ(group[0].ReceivedCount(), 0u);
}

// The program velmot-sim: paths on stdout, options per unit, stops on SIGTERM.
TEST(SimProgram, StartsUnitsAndStopsOnSigterm) {
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    ::dup2(out[1], 1);
    ::close(out[0]);
    ::close(out[1]);
    ::execl(VELMOT_SIM_PROGRAM, "velmot-sim", "--units", "4", "--unit", "2", "--version", "V1.05", nullptr);
    ::_exit(127);
  }
  // Stops the program also when an assertion below ends the test early.
  struct Reaper {
    pid_t pid;
    int status = -1;
    int Stop() {
      if (pid > 0 && ::kill(pid, SIGTERM) == 0 && ::waitpid(pid, &status, 0) == pid) pid = 0;
      return status;
    }
    ~Reaper() { Stop(); }
  } reaper{pid};
  ::close(out[1]);
  std::FILE* lines = ::fdopen(out[0], "r");
  std::vector<std::string> paths;
  char line[256];
  while (paths.size() < 4 && std::fgets(line, sizeof line, lines)) {
    std::string path = line;
    if (!path.empty() && path.back() == '\n') path.pop_back();
    paths.push_back(path);
  }
  ASSERT_EQ(paths.size(), 4u);
  const std::string expected[] = {"Velmot200IND V1.06", "Velmot200IND V1.05"};
  for (int u = 0; u < 2; ++u) {
    Client client(paths[static_cast<std::size_t>(u)]);
    client.Send(kProbeFrame);
    const auto packets = Client::Packets(client.ReadFrames(1));
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(Text(packets[0]), expected[u]);
  }
  const int status = reaper.Stop();
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  std::fclose(lines);
}

}  // namespace
