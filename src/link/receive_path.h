// The receive path of the ten programmers: each received chunk reloads the
// programmer's reply time-out, joins the bytes kept from before in its
// receive buffer, and every complete frame in there goes to the reply
// dispatcher (linked programmer) or to the link handler (one being searched).
// One instance serves all ten ports; its handlers take the programmer index.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "data/program_state.h"

// Where complete frames go: the frame lies in RxFrameBuffers[ch].
struct TFrameReceivers {
  std::function<void(int ch, std::uint16_t frameLength)> Linked;
  std::function<void(int ch, std::uint16_t frameLength)> Searching;
};

class TReceivePath {
 public:
  // The reply dispatcher and the link handler.
  TReceivePath();
  explicit TReceivePath(TFrameReceivers receivers);

  // The received-data handler of programmer ch. A chunk that arrives while a
  // frame of the same programmer is being handled (a modal box opened by its
  // handler runs the event loop) waits, and is taken once that handler has
  // returned; the other programmers' chunks are taken at once.
  void ReceiveData(int ch, const std::uint8_t* buffer, std::size_t length);

  // The receive-error handler: a line error changes nothing, the reply
  // time-out ends a step that stalls on it.
  void ReceiveError(int ch, std::uint32_t eventMask);

 private:
  void Take(int ch, const std::uint8_t* buffer, std::size_t length);
  void Append(int ch, const std::uint8_t* buffer, std::size_t length);
  void HandFramesOn(int ch);

  struct TChannel {
    bool Busy = false;  // a frame of this programmer is being handled
    std::deque<std::vector<std::uint8_t>> Waiting;
    std::size_t WaitingBytes = 0;
  };

  TFrameReceivers receivers_;
  std::array<TChannel, kProgrammerMax> channels_;
};
