#include <gtest/gtest.h>

#include <vector>

#include "data/packet_checksum.h"
#include "data/program_state.h"
#include "data/random.h"
#include "link/firmware_packets.h"
#include "link/frame_coding.h"

namespace {

class FirmwarePackets : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    for (std::size_t i = 0; i < kFirmwareImageSize; ++i)
      MemoryImages.FirmwareImage[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
  }
  void TearDown() override { ResetProgramState(); }

  // The frame sent for programmer ch, decoded again.
  static std::vector<std::uint8_t> Decoded(int ch, std::uint16_t frameLength) {
    std::vector<std::uint8_t> frame(CommBuffers.TxFrameBuffers[ch], CommBuffers.TxFrameBuffers[ch] + frameLength);
    std::vector<std::uint8_t> packet(kPacketBufferSize);
    std::uint16_t decoded = 0, sourceLength = frameLength;
    EXPECT_EQ(SlipDecode(frame, packet, decoded, sourceLength), 0);
    packet.resize(decoded);
    return packet;
  }
};

TEST_F(FirmwarePackets, FinishPacketBytes) {
  const std::uint16_t n = FrameFirmwareFinish(3);
  const std::vector<std::uint8_t> frame(CommBuffers.TxFrameBuffers[3], CommBuffers.TxFrameBuffers[3] + n);
  EXPECT_EQ(frame, (std::vector<std::uint8_t>{0xC0, 0xBD, 0x00, 0x52, 0x53, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00,
                                               0xCF, 0x53, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(FirmwarePackets, BlockCarriesTheImageUnderTwoKeys) {
  SetRandomSeed(0x1234);
  struct Case {
    std::uint16_t block;
    std::uint8_t numberByte;
    std::size_t imageOffset;
  };
  const Case cases[] = {
      {0, 0x00, 0},
      {1, 0x04, 2048},
      {31, 0x7C, 63488},  // the last block inside the image
      {33, 0x84, 2048},   // offset kept in 16 bits
  };
  std::vector<std::uint16_t> keys;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.block);
    const std::uint16_t n = FrameFirmwareBlock(c.block, 7);
    const std::vector<std::uint8_t> p = Decoded(7, n);
    ASSERT_EQ(p.size(), 4138u);
    EXPECT_EQ(p[0], 0xB7);
    EXPECT_EQ(p[1], c.numberByte);
    const std::uint16_t k2 = static_cast<std::uint16_t>(p[2] | p[3] << 8);
    EXPECT_LE(k2, 0xFFF4);
    keys.push_back(k2);
    EXPECT_LE(p[4], 254);
    EXPECT_LE(p[5], 254);
    EXPECT_EQ(p[6], 0x20);
    EXPECT_EQ(p[7], 0x10);
    EXPECT_EQ(p[4136] | p[4137] << 8, Checksum16Range(p, 0, 4135));

    const std::uint8_t* payload = p.data() + 8;
    const std::uint8_t* image = MemoryImages.FirmwareImage + c.imageOffset;
    const std::uint8_t key[4] = {static_cast<std::uint8_t>(k2), static_cast<std::uint8_t>(k2 >> 8),
                                 static_cast<std::uint8_t>(k2), 0};
    const std::uint8_t keep[4] = {0xFF, 0xFF, 0xFF, 0};  // the fourth byte of a group is not sent
    for (std::size_t i = 0; i < 2048; ++i)
      ASSERT_EQ(payload[i] ^ payload[2048 + i], (image[i] ^ key[i % 4]) & keep[i % 4]) << "byte " << i;
    for (std::size_t i = 2048; i < 4128; ++i) {
      if (i % 4 == 3)
        ASSERT_EQ(payload[i], 0) << "byte " << i;
      else
        ASSERT_LE(payload[i], 254) << "byte " << i;
    }
  }
  // A fresh key for every block.
  EXPECT_NE(keys[0], keys[1]);
  EXPECT_NE(keys[1], keys[3]);
}

}  // namespace
