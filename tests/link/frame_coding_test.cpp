#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "data/packet_checksum.h"
#include "link/frame_coding.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(const Bytes& packet) {
  Bytes frame(2 * packet.size() + 7);
  const auto n = SlipEncode(packet, frame, static_cast<std::uint16_t>(packet.size()));
  frame.resize(n);
  return frame;
}

TEST(SlipEncode, WorkedExamples) {
  EXPECT_EQ(Encode({0x12, 0xC0, 0x34, 0xDB, 0x56}),
            (Bytes{0xC0, 0x12, 0xDB, 0xDC, 0x34, 0xDB, 0xDD, 0x56, 0xC0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(Encode({0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02}),
            (Bytes{0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02, 0xC0, 0xFF, 0xFF,
                   0xFF, 0xFF, 0xFF}));
}

TEST(SlipEncode, WorstCaseDoublesAndFitsTwoNPlusSeven) {
  Bytes packet(4096);
  for (std::size_t i = 0; i < packet.size(); ++i) packet[i] = (i & 1) ? 0xDB : 0xC0;
  const Bytes frame = Encode(packet);
  EXPECT_EQ(frame.size(), 2 * packet.size() + 7);
}

TEST(SlipEncode, RefusesWhatDoesNotFit) {
  const Bytes packet = {0xC0, 0xC0, 0x01};
  Bytes frame(11);  // this packet needs 12
  EXPECT_EQ(SlipEncode(packet, frame, 3), 0);
  EXPECT_EQ(SlipEncode(packet, frame, 0), 0);
  EXPECT_EQ(SlipEncode(packet, frame, 4), 0);  // n passes the packet
}

struct DecodeCase {
  const char* name;
  Bytes source;
  std::size_t capacity;
  std::uint8_t status;
  Bytes decoded;
  Bytes rest;  // source after the call
};

class SlipDecodeTable : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(SlipDecodeTable, Decodes) {
  const DecodeCase& c = GetParam();
  Bytes source = c.source;
  source.resize(source.size() + 4, 0xEE);  // slack past the source length is never read as data
  Bytes destination(c.capacity, 0);
  std::uint16_t decodedLength = 0xBEEF;
  std::uint16_t sourceLength = static_cast<std::uint16_t>(c.source.size());
  const auto status = SlipDecode(source, destination, decodedLength, sourceLength);
  EXPECT_EQ(status, c.status);
  ASSERT_EQ(decodedLength, c.decoded.size());
  EXPECT_EQ(Bytes(destination.begin(), destination.begin() + decodedLength), c.decoded);
  EXPECT_EQ(Bytes(source.begin(), source.begin() + sourceLength), c.rest);
}

const Bytes k8 = {1, 2, 3, 4, 5, 6, 7, 8};

INSTANTIATE_TEST_SUITE_P(
    Cases, SlipDecodeTable,
    ::testing::Values(
        DecodeCase{"empty", {}, 64, 0x20, {}, {}},
        DecodeCase{"no_opening", {1, 2, 3}, 64, 0x20, {}, {1, 2, 3}},
        DecodeCase{"opening_only", {0xC0}, 64, 0x20, {}, {0xC0}},
        DecodeCase{"doubled_opening", {0xC0, 0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, 64, 0, k8, {}},
        DecodeCase{"short_frame", {0xC0, 1, 2, 3, 0xC0}, 64, 0x20, {1, 2, 3}, {}},
        DecodeCase{"bad_escape", {0xC0, 1, 0xDB, 5, 2, 0xC0}, 64, 0x20, {}, {2, 0xC0}},
        DecodeCase{"escape_then_end_is_bad", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xDB, 0xC0, 9}, 64, 0x20, {}, {9}},
        DecodeCase{"unclosed", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 64, 0x20, {}, {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        DecodeCase{"noise_before_and_tail_after",
                   {0x55, 0xFF, 0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0, 0xFF, 0xFF, 0xC0, 9},
                   64,
                   0,
                   k8,
                   {0xFF, 0xFF, 0xC0, 9}},
        DecodeCase{"escapes_decoded",
                   {0xC0, 0xDB, 0xDC, 0xDB, 0xDD, 3, 4, 5, 6, 7, 8, 0xC0},
                   64,
                   0,
                   {0xC0, 0xDB, 3, 4, 5, 6, 7, 8},
                   {}},
        DecodeCase{"exactly_fits", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 0xC0}, 8, 0, k8, {}},
        DecodeCase{"does_not_fit", {0xC0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0xC0, 0xFF}, 8, 0x20, {}, {0xFF}},
        DecodeCase{"into_no_destination", {0xC0, 1, 2, 0xDB, 0xDC, 4, 5, 6, 7, 8, 0xC0}, 0, 0x20, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SlipDecode, RoundTripsEveryByteValue) {
  Bytes packet(512);
  for (std::size_t i = 0; i < packet.size(); ++i) packet[i] = static_cast<std::uint8_t>(i * 7);
  Bytes frame = Encode(packet);
  Bytes decoded(packet.size());
  std::uint16_t decodedLength = 0;
  std::uint16_t sourceLength = static_cast<std::uint16_t>(frame.size());
  ASSERT_EQ(SlipDecode(frame, decoded, decodedLength, sourceLength), 0);
  EXPECT_EQ(decoded, packet);
  EXPECT_EQ(sourceLength, 5);  // the five 0xFF bytes stay
}

TEST(SlipDecode, SourceLengthBeyondBufferIsClamped) {
  Bytes source = {0xC0, 1, 2, 3};
  Bytes destination(16);
  std::uint16_t decodedLength = 0;
  std::uint16_t sourceLength = 1000;
  EXPECT_EQ(SlipDecode(source, destination, decodedLength, sourceLength), 0x20);
  EXPECT_EQ(decodedLength, 0);
}

// A reply: header with payload length, payload, checksum of all before it.
Bytes Reply(std::uint8_t code, const Bytes& payload) {
  Bytes p(8 + payload.size());
  p[0] = code, p[3] = 0x55;
  p[6] = static_cast<std::uint8_t>(payload.size()), p[7] = static_cast<std::uint8_t>(payload.size() >> 8);
  std::copy(payload.begin(), payload.end(), p.begin() + 8);
  const auto sum = Checksum16Range(p, 0, static_cast<std::uint32_t>(p.size() - 1));
  p.push_back(static_cast<std::uint8_t>(sum));
  p.push_back(static_cast<std::uint8_t>(sum >> 8));
  return p;
}

// The reply with its checksum made again over every byte before it.
Bytes Resealed(Bytes p) {
  p.resize(p.size() - 2);
  const auto sum = Checksum16Range(p, 0, static_cast<std::uint32_t>(p.size() - 1));
  p.push_back(static_cast<std::uint8_t>(sum));
  p.push_back(static_cast<std::uint8_t>(sum >> 8));
  return p;
}

// The reply with its length field set to length; with its checksum made
// again when sealed.
Bytes WithLengthField(Bytes p, std::uint16_t length, bool sealed) {
  p[6] = static_cast<std::uint8_t>(length), p[7] = static_cast<std::uint8_t>(length >> 8);
  return sealed ? Resealed(std::move(p)) : p;
}

// The reply with n more bytes before its checksum, which covers them.
Bytes Padded(Bytes p, std::size_t n, std::uint8_t fill = 0xA5) {
  p.insert(p.end() - 2, n, fill);
  return Resealed(std::move(p));
}

TEST(CheckReplyPacket, Cases) {
  struct Case {
    const char* name;
    Bytes packet;
    std::uint8_t result;
  };
  Bytes corrupted = Reply(0x93, {0x00});
  corrupted.back() ^= 1;
  const Bytes data = Reply(0x9B, Bytes(4096, 0x5A));
  Bytes truncated = data;
  truncated.resize(100);
  const Case cases[] = {
      {"success", Reply(0x93, {0x00}), 0x00},
      {"result6", Reply(0x93, {0x06}), 0x06},
      {"result_code", Reply(0x95, {0x8C, 0x01}), 0x8C},
      {"data_reply", data, 0x00},
      {"three_byte_payload_is_data", Reply(0x93, {0x15, 0, 0}), 0x00},
      {"checksum_mismatch", corrupted, 0x23},
      {"checksum_mismatch_whatever_the_result", [] {
         Bytes p = Reply(0x93, {0x8C, 0x00});
         p[p.size() - 2] ^= 0x80;
         return p;
       }(), 0x23},
      // Units that round their replies up: what the length field counts is
      // the reply, the rest is padding.
      {"padded_short_reply", Padded(Reply(0x93, {0x15, 0x00}), 6), 0x15},
      {"padded_data_reply", Padded(data, 12), 0x00},
      // The checksum comes first, whatever the length says.
      {"wrong_checksum_and_longer_length", WithLengthField(Reply(0x9B, Bytes(16, 1)), 40, false), 0x23},
      {"wrong_checksum_and_shorter_length", WithLengthField(Reply(0x9B, Bytes(16, 1)), 4, false), 0x23},
      // What bounds the reads: the payload counted must have come, and a
      // short reply's result byte ahead of the checksum.
      {"promises_more_than_arrived", Resealed(truncated), 0x20},
      {"promises_one_byte_more", WithLengthField(Reply(0x9B, Bytes(16, 1)), 17, true), 0x20},
      {"too_short_for_result", Reply(0x93, {}), 0x20},
      {"result_byte_is_the_checksum", Resealed(WithLengthField(Bytes(10, 0), 1, false)), 0x20},
      {"header_only", Bytes(8, 0), 0x20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CheckReplyPacket(c.packet, static_cast<std::uint16_t>(c.packet.size())), c.result);
  }
  const Bytes ok = Reply(0x93, {0x00});
  EXPECT_EQ(CheckReplyPacket(std::span(ok).first(5), 11), 0x20);  // length beyond the buffer
  EXPECT_EQ(CheckReplyPacket(ok, 7), 0x20);                       // not even a header
}

}  // namespace
