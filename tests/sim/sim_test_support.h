// What the simulator's tests send: requests laid out the way the program
// lays them out, written here from the protocol's rules.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include "sim_framing.h"
#include "sim_unit.h"

namespace simtest {

using sim::Bytes;

// A frame without its 0xFF tail, as the unit's splitter hands it on.
inline Bytes Frame(const Bytes& packet) {
  Bytes frame = sim::EncodeFrame(packet);
  frame.erase(frame.end() - sim::kTailLength, frame.end());
  return frame;
}

inline Bytes Request(std::uint8_t code, std::uint16_t argument, const Bytes& payload, sim::ChipCodes codes = {}) {
  return Frame(sim::MakePacket(code, argument, codes, payload));
}

// The decoded reply packet of a reply frame (tail included or not).
inline Bytes Decode(const Bytes& frame) {
  Bytes body = frame;
  while (!body.empty() && body.back() == 0xFF) body.pop_back();
  auto packet = sim::DecodeFrame(body);
  EXPECT_TRUE(packet) << "reply frame does not decode";
  return packet.value_or(Bytes{});
}

struct Layout {
  std::uint32_t mainDataLength = 0x8000;
  std::uint32_t eepSize = 0x800;
  std::uint32_t mainStart = 0x08000000;
  std::uint32_t eepStart = 0x10000000;
};

inline Bytes ParameterBlock(const Layout& layout = {}, sim::ChipCodes codes = {}) {
  Bytes block(sim::kParameterBlockSize, 0);
  block[3] = codes.chip;
  block[4] = codes.family;
  block[5] = codes.subType;
  block[6] = 0x4D;  // the random byte
  sim::PutLe32(block, 16, layout.mainDataLength);
  sim::PutLe32(block, 20, layout.eepSize);
  sim::PutLe32(block, 24, layout.mainStart);
  sim::PutLe32(block, 28, layout.eepStart);
  return block;
}

inline Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A command of the 0x93 family, a read or a program block.
inline Bytes Command(std::uint8_t code, std::uint16_t argument, const Bytes& data = {}, const Layout& layout = {},
                     sim::ChipCodes codes = {}) {
  return Request(code, argument, Concat(ParameterBlock(layout, codes), data), codes);
}

inline Bytes Pattern(std::size_t size, std::uint8_t seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 8));
  return bytes;
}

// A 512-byte chip-data block; `edit` may change it before its checksum and
// sum are stored.
inline Bytes ChipDataBlock(const std::function<void(Bytes&)>& edit = {}) {
  Bytes block(sim::kChipDataBlockSize, 0);
  block[0] = 'R';
  block[1] = 'O';
  block[2] = 'Z';
  block[3] = 'I';
  const Bytes parameters = ParameterBlock();
  std::copy(parameters.begin(), parameters.end(), block.begin() + 4);
  sim::PutLe16(block, 4 + 10, 0x2B7E);  // the block argument: random here
  sim::PutLe32(block, 96, 1000);        // the first serial number
  for (std::size_t i = 112; i < 240; ++i) block[i] = static_cast<std::uint8_t>(i);
  if (edit) edit(block);
  sim::PutLe16(block, 508, sim::Checksum16(std::span(block).first(508)));
  sim::PutLe16(block, 510, sim::Sum16(std::span(block).first(510)));
  return block;
}

// Both halves, masked with the key.
inline Bytes MaskChipData(Bytes payload, std::uint16_t key) {
  const std::uint8_t lo = ((key & 0xFF) ^ 0xE4) | 0x80;
  const std::uint8_t hi = ((key >> 8) ^ 0xD3) | 0x80;
  for (std::size_t i = 0; i < payload.size(); ++i) payload[i] ^= (i % 2 == 0) ? lo : hi;
  return payload;
}

inline Bytes ChipDataRequest(const Bytes& block, std::uint16_t key) {
  return Request(sim::kCmdChipData, key, MaskChipData(Concat(block, block), key));
}

}  // namespace simtest
