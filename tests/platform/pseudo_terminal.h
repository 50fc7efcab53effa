// A pseudo-terminal for the serial tests: the component opens Path(), the
// near end of the line; the test plays the far side on its own descriptor.
#pragma once

#include <termios.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class TPseudoTerminal {
 public:
  TPseudoTerminal();
  ~TPseudoTerminal();
  TPseudoTerminal(const TPseudoTerminal&) = delete;
  TPseudoTerminal& operator=(const TPseudoTerminal&) = delete;

  const std::string& Path() const { return path_; }

  // The far side: writes all bytes.
  void Write(const std::vector<std::uint8_t>& bytes) const;
  // Reads until count bytes have come or the limit has passed; returns what came.
  std::vector<std::uint8_t> Read(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // True once something can be read, false when the limit passes first.
  bool WaitReadable(std::chrono::milliseconds limit = std::chrono::seconds(20)) const;
  // The line settings of the near end, as the far side reads them.
  termios LineSettings() const;
  void SetLineSettings(const termios& settings) const;
  // The far side goes away: the near end is hung up.
  void CloseFarSide();

 private:
  int far_ = -1;
  int near_ = -1;  // held so the line stays up between the component's opens
  std::string path_;
};

// Bytes 0 .. n-1 of a pattern that does not repeat within 251 bytes.
std::vector<std::uint8_t> PatternBytes(std::size_t n, std::uint8_t seed);

// Open descriptors of this process.
std::size_t OpenDescriptorCount();
