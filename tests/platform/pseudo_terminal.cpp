#include "pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <stdexcept>

TPseudoTerminal::TPseudoTerminal() {
  char name[128];
  if (openpty(&far_, &near_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
  path_ = name;
}

TPseudoTerminal::~TPseudoTerminal() {
  CloseFarSide();
  close(near_);
}

void TPseudoTerminal::Write(const std::vector<std::uint8_t>& bytes) const {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(far_, bytes.data() + done, bytes.size() - done);
    if (n <= 0) throw std::runtime_error("far side write failed");
    done += static_cast<std::size_t>(n);
  }
}

bool TPseudoTerminal::WaitReadable(std::chrono::milliseconds limit) const {
  pollfd p{far_, POLLIN, 0};
  return poll(&p, 1, static_cast<int>(limit.count())) == 1 && (p.revents & POLLIN);
}

std::vector<std::uint8_t> TPseudoTerminal::Read(std::size_t count, std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  std::vector<std::uint8_t> bytes(count);
  std::size_t done = 0;
  while (done < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0 || !WaitReadable(left)) break;
    const ssize_t n = read(far_, bytes.data() + done, count - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}

termios TPseudoTerminal::LineSettings() const {
  termios t{};
  if (tcgetattr(far_, &t) != 0) throw std::runtime_error("tcgetattr failed");
  return t;
}

void TPseudoTerminal::SetLineSettings(const termios& settings) const {
  if (tcsetattr(far_, TCSANOW, &settings) != 0) throw std::runtime_error("tcsetattr failed");
}

void TPseudoTerminal::CloseFarSide() {
  if (far_ >= 0) close(far_);
  far_ = -1;
}

std::vector<std::uint8_t> PatternBytes(std::size_t n, std::uint8_t seed) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<std::uint8_t>((i % 251) * 7 + seed);
  return bytes;
}

std::size_t OpenDescriptorCount() {
  const std::filesystem::directory_iterator entries("/proc/self/fd");
  return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
}
