#include "link/firmware_packets.h"

#include <algorithm>
#include <cstddef>

#include "data/program_state.h"
#include "data/random.h"
#include "link/byte_order.h"
#include "link/channel_progress.h"
#include "link/firmware_file.h"
#include "link/packet_framing.h"

namespace {

constexpr std::uint8_t kFirmwareBlockCommand = 0xB7;
constexpr std::size_t kHeaderLength = 8;
constexpr std::size_t kPayloadLength = 0x1020;  // the scrambled half and the random half
constexpr std::size_t kHalf = 2048;
constexpr std::size_t kBlockPacketLength = kHeaderLength + kPayloadLength + 2;

constexpr std::uint8_t kFinishPacket[] = {0xBD, 0x00, 0x52, 0x53, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
// The largest 16-bit block offset plus the half the block reads stays inside the image.
static_assert(0x10000 - kFirmwareBlockImageBytes + kHalf <= kFirmwareImageSize);
static_assert(kBlockPacketLength <= kPacketBufferSize);

}  // namespace

std::uint16_t FrameFirmwareBlock(std::uint16_t block, int ch) {
  if (!IsProgrammerIndex(ch)) return 0;
  std::uint8_t* packet = CommBuffers.PacketBuffers[ch];
  std::uint8_t* payload = packet + kHeaderLength;
  // The offset is kept in 16 bits, so block 32 and on start again at 0.
  const std::uint8_t* image = MemoryImages.FirmwareImage + static_cast<std::uint16_t>(block * kFirmwareBlockImageBytes);

  const std::uint16_t k2 = static_cast<std::uint16_t>(Random(0xFFF5));
  const std::uint8_t lo = static_cast<std::uint8_t>(k2), hi = static_cast<std::uint8_t>(k2 >> 8);
  // Three bytes of every image group travel; the fourth is not sent.
  for (std::size_t i = 0; i < kHalf; i += 4) {
    payload[i] = image[i] ^ lo;
    payload[i + 1] = image[i + 1] ^ hi;
    payload[i + 2] = image[i + 2] ^ lo;
    payload[i + 3] = 0;
  }
  for (std::size_t i = kHalf; i < kPayloadLength; ++i) payload[i] = (i % 4 == 3) ? 0 : RandomByte();
  for (std::size_t i = 0; i < kHalf; ++i) payload[i] ^= payload[kHalf + i];

  packet[0] = kFirmwareBlockCommand;
  packet[1] = static_cast<std::uint8_t>(block * 4);
  PutLe16(CommBuffers.PacketBuffers[ch], 2, k2);
  packet[4] = RandomByte();
  packet[5] = RandomByte();
  PutLe16(CommBuffers.PacketBuffers[ch], 6, static_cast<std::uint16_t>(kPayloadLength));
  return SealAndFrame(ch, kHeaderLength + kPayloadLength, kHeaderLength + kPayloadLength);
}

std::uint16_t FrameFirmwareFinish(int ch) {
  if (!IsProgrammerIndex(ch)) return 0;
  std::copy(std::begin(kFinishPacket), std::end(kFinishPacket), CommBuffers.PacketBuffers[ch]);
  return SealAndFrame(ch, sizeof kFinishPacket, sizeof kFinishPacket);
}
