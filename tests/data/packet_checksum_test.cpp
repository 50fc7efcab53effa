#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

#include "data/packet_checksum.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kResetPacket = {0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00};

TEST(PacketChecksum, WorkedExamples) {
  struct Case {
    Bytes bytes;
    std::uint16_t sum;
  };
  const Case cases[] = {
      {{0x61, 0x62, 0x63}, 0x2543},
      {{0x01, 0x00}, 0x4A12},
      {kResetPacket, 0x02CD},
      {{0x00}, 0x0000},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Checksum16(c.bytes, static_cast<std::uint32_t>(c.bytes.size())), c.sum);
    EXPECT_EQ(Checksum16Range(c.bytes, 0, static_cast<std::uint32_t>(c.bytes.size() - 1)), c.sum);
  }
}

TEST(PacketChecksum, RangeIsInclusiveAndBounded) {
  Bytes buf(16, 0);
  buf[5] = 0x61, buf[6] = 0x62, buf[7] = 0x63;
  EXPECT_EQ(Checksum16Range(buf, 5, 7), 0x2543);
  EXPECT_EQ(Checksum16Range(buf, 5, 4), 0);
  EXPECT_EQ(Checksum16Range(buf, 0, 0x1000000), 0);
  EXPECT_EQ(Checksum16Range(buf, 0x1000000, 0x1000000), 0);
  EXPECT_EQ(Checksum16Range(buf, 0, 16), 0);  // end outside the buffer
  EXPECT_EQ(Checksum16(buf, 17), 0);
}

// Whatever the cut, inside a group of eight or between groups, the pieces
// in turn give the whole's checksum.
TEST(PacketChecksum, ContinuedOverPiecesEqualsTheWhole) {
  Bytes buf(37);
  for (std::size_t i = 0; i < buf.size(); ++i) buf[i] = static_cast<std::uint8_t>(i * 29 + 3);
  const std::uint16_t whole = Checksum16(buf, static_cast<std::uint32_t>(buf.size()));
  const std::span<const std::uint8_t> all(buf);
  for (std::size_t first = 0; first <= buf.size(); ++first) {
    for (std::size_t second = first; second <= buf.size(); second += 3) {
      SCOPED_TRACE(std::to_string(first) + " " + std::to_string(second));
      std::uint16_t c = Checksum16Continued(0, all.first(first));
      c = Checksum16Continued(c, all.subspan(first, second - first));
      EXPECT_EQ(Checksum16Continued(c, all.subspan(second)), whole);
    }
  }
}

TEST(PacketChecksum, NegSum16) {
  Bytes buf(300, 0);
  EXPECT_EQ(NegSum16(buf, 0, 9), 0x10000u);  // sum 0
  buf[0] = 1;
  EXPECT_EQ(NegSum16(buf, 0, 9), 0xFFFFu);
  Bytes ff(257, 0xFF);  // 257 x 255 = 0xFFFF
  EXPECT_EQ(NegSum16(ff, 0, 256), 1u);
  Bytes wrap(258, 0xFF);
  wrap[257] = 1;  // 0xFFFF + 1 wraps to 0
  EXPECT_EQ(NegSum16(wrap, 0, 257), 0x10000u);
  EXPECT_EQ(NegSum16(buf, 5, 4), 0x10000u);
  EXPECT_EQ(NegSum16(buf, 0, 0x1000000), 0u);
  EXPECT_EQ(NegSum16(buf, 0, 300), 0u);  // end outside the buffer
}

}  // namespace
