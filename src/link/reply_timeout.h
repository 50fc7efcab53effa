// The reply watch of the 10 ms tick.
#pragma once

#include <cstdint>

// For every busy programmer, in order 0..9: steps its gauge when it ticks,
// counts its ReplyTimeout down unless it is held, and at 0 logs "Command
// Executed Time Out!" and ends its operation as failed. Idle programmers are
// left alone.
void TickReplyTimeouts();

// Holds programmer ch's reply time-out for as long as it lives: around a box
// that the programmer's step waits on, however the box closes.
class TReplyTimeoutHold {
 public:
  explicit TReplyTimeoutHold(int ch);
  ~TReplyTimeoutHold();
  TReplyTimeoutHold(const TReplyTimeoutHold&) = delete;
  TReplyTimeoutHold& operator=(const TReplyTimeoutHold&) = delete;

 private:
  int ch_;
  std::uint8_t before_;
};
