#include "link/frame_extractor.h"

#include <algorithm>
#include <cstddef>

#include "data/program_state.h"
#include "link/frame_coding.h"

bool ExtractRxFrame(int ch, std::uint16_t& position, std::uint16_t& frameLength) {
  const std::uint8_t* rx = CommBuffers.RxBuffers[ch];
  std::uint8_t* frame = CommBuffers.RxFrameBuffers[ch];
  const std::size_t fill = std::min<std::size_t>(ProgrammerState.RxFill[ch], kRxBufferSize);
  std::size_t p = position;
  std::size_t f = 0;
  frameLength = 0;

  // Opening: the last 0xC0 of a run.
  while (p < fill && f == 0) {
    if (rx[p++] != kFrameEnd) continue;
    if (p < fill && rx[p] == kFrameEnd) continue;
    frame[f++] = kFrameEnd;
  }
  // Body, up to and including the closing 0xC0.
  while (p < fill && f > 0) {
    const std::uint8_t b = rx[p++];
    if (f < kRxFrameBufferSize) frame[f] = b;
    ++f;
    if (b == kFrameEnd) {
      position = static_cast<std::uint16_t>(p);
      frameLength = static_cast<std::uint16_t>(std::min(f, kRxFrameBufferSize));
      return true;
    }
  }
  position = static_cast<std::uint16_t>(p);
  return false;
}
