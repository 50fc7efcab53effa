// The program's packet checksum and frame encoder against the simulator's
// own, written apart: every length around the eight-byte steps of the
// faster paths, every start offset, and data dense with delimiters.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "data/packet_checksum.h"
#include "link/frame_coding.h"
#include "sim_framing.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Random bytes, about one in four a delimiter or escape byte.
Bytes DenseBytes(std::size_t n, std::uint32_t seed) {
  std::mt19937 random(seed);
  constexpr std::uint8_t kSpecial[] = {0xC0, 0xDB, 0xDC, 0xDD};
  Bytes bytes(n);
  for (auto& b : bytes) {
    const std::uint32_t r = random();
    b = (r & 3) == 0 ? kSpecial[(r >> 2) & 3] : static_cast<std::uint8_t>(r >> 8);
  }
  return bytes;
}

std::vector<std::size_t> Lengths() {
  std::vector<std::size_t> lengths;
  for (std::size_t n = 1; n <= 70; ++n) lengths.push_back(n);
  for (std::size_t n : {255u, 256u, 257u, 4106u, 4186u, 20826u}) lengths.push_back(n);
  return lengths;
}

TEST(CodingAgainstSim, ChecksumOfEveryLengthAndOffset) {
  const Bytes all = DenseBytes(20826 + 16, 1);
  for (std::size_t n : Lengths()) {
    for (std::size_t offset = 0; offset < 8; ++offset) {
      SCOPED_TRACE(testing::Message() << "length " << n << ", offset " << offset);
      const std::span<const std::uint8_t> bytes(all.data() + offset, n);
      const std::uint16_t expected = sim::Checksum16(bytes);
      EXPECT_EQ(Checksum16(bytes, static_cast<std::uint32_t>(n)), expected);
      EXPECT_EQ(Checksum16Range(all, static_cast<std::uint32_t>(offset), static_cast<std::uint32_t>(offset + n - 1)),
                expected);
    }
  }
}

TEST(CodingAgainstSim, FrameOfEveryLengthInAWorstCaseBufferAndInAnExactOne) {
  for (std::size_t n : Lengths()) {
    SCOPED_TRACE(testing::Message() << "length " << n);
    const Bytes packet = DenseBytes(n, static_cast<std::uint32_t>(n));
    const Bytes expected = sim::EncodeFrame(packet);
    const auto length = static_cast<std::uint16_t>(n);

    Bytes roomy(2 * n + 7, 0xEE);
    ASSERT_EQ(SlipEncode(packet, roomy, length), expected.size());
    EXPECT_EQ(Bytes(roomy.begin(), roomy.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);

    Bytes exact(expected.size(), 0xEE);
    ASSERT_EQ(SlipEncode(packet, exact, length), expected.size());
    EXPECT_EQ(exact, expected);
    Bytes tight(expected.size() - 1, 0xEE);
    EXPECT_EQ(SlipEncode(packet, tight, length), 0);
  }
}

}  // namespace
