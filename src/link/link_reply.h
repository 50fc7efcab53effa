// The link handler of the ten programmers: every frame of a programmer that
// is not linked, while it is searched or runs stand-alone.
#pragma once

#include <cstdint>

// Decodes the frame in RxFrameBuffers[ch] (a frame that does not decode is
// dropped). A progress report is shown; the answer to the start packet
// (0xFA) and the late answer to the packet a stop cut short (see
// StoppedCommand) are dropped. An application identity links the
// programmer, counts it, shows and logs "Find Device: %s!" and, when its
// firmware is older than the firmware file's, starts its upgrade; a
// boot-loader identity starts the upgrade only, or without a valid
// firmware image logs once per search that it cannot; anything else shows
// and logs "No Dvice Found!". A programmer whose upgrade failed in this
// run is left out: nothing it answers links it or starts its upgrade again.
void HandleLinkReply(int ch, std::uint16_t frameLength);
