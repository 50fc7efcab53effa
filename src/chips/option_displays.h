// Option data in the log, for the three families that have it (AC78xx,
// AU30x, LCP037/LCM32F037): the current option image, and the option bytes a
// programmer read back from its chip.
#pragma once

#include <cstddef>
#include <cstdint>

// The current option image.
void ShowAC78xCurrentOption();  // one log line of eight words
void ShowAUCUxCurrentConfig();  // sixteen lines of sixteen bytes
void ShowLCMPxCurrentOption();  // a heading and three lines of sixteen bytes

// The reply of programmer ch lies in CommBuffers.PacketBuffers[ch] with its
// payload from byte 8; payloadLength is the number of payload bytes actually
// received. Only those are shown, never older bytes of the buffer:
// - a payload of 2 bytes or fewer (a short reply, a result code) shows nothing;
// - otherwise the heading shows, followed by each word or line whose bytes
//   all arrived; a word or line that would reach past the payload is left out.
void ShowAC78xReadOption(int ch, std::size_t payloadLength);
void ShowAUCUxReadConfig(int ch, std::size_t payloadLength);
void ShowLCMPxReadOption(int ch, std::size_t payloadLength);

// By vendor index: 0, 3 and 5 have displays; every other family shows nothing.
void ShowCurrentOptionForVendor(std::uint8_t vendorIndex);
void ShowReadOptionForVendor(std::uint8_t vendorIndex, int ch, std::size_t payloadLength);
