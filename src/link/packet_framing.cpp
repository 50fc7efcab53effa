#include "link/packet_framing.h"

#include <span>

#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/frame_coding.h"

std::uint16_t SealAndFrame(int ch, std::size_t end, std::size_t covered) {
  const std::span<std::uint8_t> packet = CommBuffers.PacketBuffers[ch];
  if (end + 2 > packet.size() || covered > packet.size()) return 0;
  PutLe16(packet, end, Checksum16(packet, static_cast<std::uint32_t>(covered)));
  return SlipEncode(packet, CommBuffers.TxFrameBuffers[ch], static_cast<std::uint16_t>(end + 2));
}
