#include <gtest/gtest.h>

#include <string>

#include "sim_framing.h"

namespace {

using sim::Bytes;

const Bytes kResetPacket = {0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00};

TEST(SimChecksum, WorkedExamples) {
  const std::string abc = "abc";
  EXPECT_EQ(sim::Checksum16(Bytes(abc.begin(), abc.end())), 0x2543);
  EXPECT_EQ(sim::Checksum16(Bytes{0x01, 0x00}), 0x4A12);
  EXPECT_EQ(sim::Checksum16(kResetPacket), 0x02CD);
  EXPECT_EQ(sim::Checksum16(Bytes{}), 0);
}

TEST(SimPacket, ResetPacketFromItsFields) {
  // 0x8A with "RE" as argument and "ST", 0xA8 where the chip codes stand.
  const Bytes payload = {0, 0};
  EXPECT_EQ(sim::MakePacket(0x8A, 0x4552, {0x53, 0x54, 0xA8}, payload),
            (Bytes{0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02}));
}

TEST(SimFrame, WorkedExamples) {
  EXPECT_EQ(sim::EncodeFrame(Bytes{0x12, 0xC0, 0x34, 0xDB, 0x56}),
            (Bytes{0xC0, 0x12, 0xDB, 0xDC, 0x34, 0xDB, 0xDD, 0x56, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  Bytes reset = kResetPacket;
  reset.push_back(0xCD);
  reset.push_back(0x02);
  EXPECT_EQ(sim::EncodeFrame(reset), (Bytes{0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD,
                                            0x02, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(SimFrame, EscapesRoundTrip) {
  const Bytes packet = {0xC0, 0xDB, 0xDB, 0xC0, 0xDC, 0xDD, 0x00};
  const Bytes frame = sim::EncodeFrame(packet);
  EXPECT_EQ(frame.size(), 1 + packet.size() + 4 + 1 + 5);
  const auto decoded = sim::DecodeFrame(Bytes(frame.begin(), frame.end() - 5));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, packet);
}

TEST(SimFrame, RefusesMalformedFrames) {
  const Bytes cases[] = {
      {0xC0, 0x01, 0xDB, 0x05, 0x02, 0xC0},  // bad escape
      {0xC0, 0x01, 0xDB, 0xC0},              // escape before the close
      {0xC0, 0x01, 0x02},                    // no close
      {0x01, 0x02, 0xC0},                    // no opening
      {0xC0},
  };
  for (const Bytes& frame : cases) EXPECT_FALSE(sim::DecodeFrame(frame)) << ::testing::PrintToString(frame);
}

struct SplitCase {
  const char* name;
  std::vector<Bytes> feeds;
  std::vector<Bytes> frames;
};

class SimSplitter : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SimSplitter, CutsFrames) {
  sim::FrameSplitter splitter;
  std::vector<Bytes> frames;
  for (const Bytes& feed : GetParam().feeds) {
    splitter.Feed(feed);
    while (auto frame = splitter.Next()) frames.push_back(*frame);
  }
  EXPECT_EQ(frames, GetParam().frames);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, SimSplitter,
    ::testing::Values(
        SplitCase{"NoiseAndTailSkipped",
                  {{0x11, 0x22, 0xC0, 0x01, 0x02, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x33}},
                  {{0xC0, 0x01, 0x02, 0xC0}}},
        SplitCase{"RunOfOpeningsLastOneOpens", {{0xC0, 0xC0, 0xC0, 0x05, 0xC0}}, {{0xC0, 0x05, 0xC0}}},
        SplitCase{"TwoFramesAndAHalf",
                  {{0xC0, 0x01, 0xC0, 0xFF, 0xC0, 0x02, 0xC0, 0xFF, 0xC0, 0x03}, {0x04, 0xC0}},
                  {{0xC0, 0x01, 0xC0}, {0xC0, 0x02, 0xC0}, {0xC0, 0x03, 0x04, 0xC0}}},
        SplitCase{"ByteByByte", {{0xC0}, {0xDB}, {0xDC}, {0x07}, {0xC0}}, {{0xC0, 0xDB, 0xDC, 0x07, 0xC0}}},
        SplitCase{"NothingWithoutClose", {{0xC0, 0x01, 0x02}}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
