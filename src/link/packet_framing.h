// The tail every packet builder shares: the packet's 16-bit checksum behind
// its payload, and its frame in the programmer's transmit frame buffer.
#pragma once

#include <cstddef>
#include <cstdint>

// Stores Checksum16 of PacketBuffers[ch][0 .. covered-1] little-endian at
// offsets end and end + 1, frames bytes 0 .. end + 1 into TxFrameBuffers[ch]
// and returns the frame length; 0 when the checksum would not fit the buffer
// or covered passes it.
std::uint16_t SealAndFrame(int ch, std::size_t end, std::size_t covered);
