#include "data/image_sums.h"

#include <numeric>

#include "data/packet_checksum.h"

namespace {

constexpr std::uint32_t kRangeLimit = 0xFFFFFF;

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) {
    std::uint32_t c = i << 24;
    for (int bit = 0; bit < 8; ++bit) c = (c & 0x80000000) ? (c << 1) ^ 0x04C11DB7 : c << 1;
    table[i] = c;
  }
  return table;
}

constexpr std::uint32_t Reflect(std::uint32_t value, int bits) {
  std::uint32_t r = 0;
  for (int i = 0; i < bits; ++i) r |= ((value >> i) & 1) << (bits - 1 - i);
  return r;
}

constexpr std::array<std::uint8_t, 256> MakeReflectedBytes() {
  std::array<std::uint8_t, 256> table{};
  for (std::uint32_t i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>(Reflect(i, 8));
  return table;
}

constexpr std::array<std::uint8_t, 256> kReflectedBytes = MakeReflectedBytes();

}  // namespace

constexpr std::array<std::uint32_t, 256> Crc32Table = MakeCrc32Table();

std::uint32_t SumBytes(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last) {
  if (first > kRangeLimit || last > kRangeLimit || last < first || last >= buffer.size()) return 0;
  const auto range = buffer.subspan(first, last - first + 1);
  return std::accumulate(range.begin(), range.end(), std::uint32_t{0});
}

std::uint16_t Checksum16Buf(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last) {
  return Checksum16Range(buffer, first, last);
}

std::uint32_t Crc32Range(std::span<const std::uint8_t> buffer, std::uint32_t first, std::uint32_t last) {
  if (last < first || last >= buffer.size()) return 0;
  // The table is the most-significant-bit-first form: each byte enters
  // reflected, and the register is reflected back at the end.
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::uint8_t b : buffer.subspan(first, std::uint64_t{last} - first + 1)) {
    crc = (crc << 8) ^ Crc32Table[(crc >> 24) ^ kReflectedBytes[b]];
  }
  return Reflect(crc, 32) ^ 0xFFFFFFFF;
}
