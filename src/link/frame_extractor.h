// Cuts one 0xC0-delimited frame out of a programmer's receive buffer.
#pragma once

#include <cstdint>

// Looks from position on in RxBuffers[ch] (its first RxFill[ch] bytes) for a
// complete frame and copies it, both delimiters included and still escaped,
// into RxFrameBuffers[ch]. Bytes before an opening 0xC0 are skipped, and of a
// run of 0xC0 bytes the last one opens the frame. True when a frame was
// found: position is then just past its closing 0xC0 and frameLength its
// length. A frame longer than the frame buffer is consumed whole but handed
// on cut to the buffer, without its closing 0xC0, so that it cannot decode.
// False when the filled part ends first.
bool ExtractRxFrame(int ch, std::uint16_t& position, std::uint16_t& frameLength);
