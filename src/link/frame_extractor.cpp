#include "link/frame_extractor.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "data/program_state.h"
#include "link/frame_coding.h"

namespace {

const std::uint8_t* FindEnd(const std::uint8_t* from, const std::uint8_t* to) {
  return from < to ? static_cast<const std::uint8_t*>(std::memchr(from, kFrameEnd, static_cast<std::size_t>(to - from)))
                   : nullptr;
}

}  // namespace

bool ExtractRxFrame(int ch, std::uint16_t& position, std::uint16_t& frameLength) {
  const std::uint8_t* const rx = CommBuffers.RxBuffers[ch];
  const std::uint8_t* const filled = rx + std::min<std::size_t>(ProgrammerState.RxFill[ch], kRxBufferSize);
  frameLength = 0;

  // Opening: the last 0xC0 of a run.
  const std::uint8_t* body = FindEnd(rx + position, filled);
  if (!body) {
    position = static_cast<std::uint16_t>(filled - rx);
    return false;
  }
  while (++body < filled && *body == kFrameEnd) {
  }
  // Body, up to and including the closing 0xC0.
  const std::uint8_t* closing = FindEnd(body, filled);
  if (!closing) {
    position = static_cast<std::uint16_t>(filled - rx);
    return false;
  }
  std::uint8_t* const frame = CommBuffers.RxFrameBuffers[ch];
  const std::size_t length = static_cast<std::size_t>(closing - body) + 2;
  const std::size_t kept = std::min(length, kRxFrameBufferSize);
  frame[0] = kFrameEnd;
  std::memcpy(frame + 1, body, kept - 1);
  position = static_cast<std::uint16_t>(closing + 1 - rx);
  frameLength = static_cast<std::uint16_t>(kept);
  return true;
}
