#include "data/packet_checksum.h"

namespace {

constexpr std::uint32_t kRangeLimit = 0xFFFFFF;

std::uint16_t ChecksumOf(std::span<const std::uint8_t> bytes) {
  std::uint16_t c = 0;
  for (std::uint8_t b : bytes) {
    const std::uint16_t k = (c & 1) ? 0x4A12 : 0;
    c = static_cast<std::uint16_t>((c >> 1) ^ b ^ k);
  }
  return c;
}

}  // namespace

std::uint16_t Checksum16(std::span<const std::uint8_t> buf, std::uint32_t count) {
  if (count > buf.size()) return 0;
  return ChecksumOf(buf.first(count));
}

std::uint16_t Checksum16Range(std::span<const std::uint8_t> buf, std::uint32_t start, std::uint32_t end) {
  if (start > kRangeLimit || end > kRangeLimit || end < start || end >= buf.size()) return 0;
  return ChecksumOf(buf.subspan(start, end - start + 1));
}

std::uint32_t NegSum16(std::span<const std::uint8_t> buf, std::uint32_t start, std::uint32_t end) {
  if (start > kRangeLimit || end > kRangeLimit) return 0;
  if (end < start) return 0x10000;
  if (end >= buf.size()) return 0;
  std::uint16_t s = 0;
  for (std::uint8_t b : buf.subspan(start, end - start + 1)) s = static_cast<std::uint16_t>(s + b);
  return static_cast<std::uint32_t>(s ^ 0xFFFF) + 1;
}
