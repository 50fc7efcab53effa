#include "data/packet_checksum.h"

#include <array>
#include <cstddef>

namespace {

constexpr std::uint32_t kRangeLimit = 0xFFFFFF;
constexpr std::uint16_t kChecksumConstant = 0x4A12;

// The rule without its byte: the register shifted right, the constant
// folded in when bit 0 was set.
constexpr std::uint16_t Step(std::uint16_t c) {
  return static_cast<std::uint16_t>((c >> 1) ^ ((c & 1) ? kChecksumConstant : 0));
}

constexpr std::uint16_t Steps(std::uint16_t c, int count) {
  for (int i = 0; i < count; ++i) c = Step(c);
  return c;
}

// Step is linear over the bits, so eight bytes can be taken at once: the
// register after them is Step^8 of the register before, XORed with
// Step^(7-j) of byte j. The tables hold those powers of Step.
constexpr std::size_t kGroup = 8;

struct TChecksumTables {
  std::array<std::array<std::uint16_t, 256>, kGroup> Byte{};  // [k][b]: Step^k(b)
  std::array<std::uint16_t, 256> Low{}, High{};               // Step^8 of the register's low and high byte
};

constexpr TChecksumTables MakeChecksumTables() {
  TChecksumTables t;
  for (int v = 0; v < 256; ++v) {
    const auto b = static_cast<std::uint16_t>(v);
    for (std::size_t k = 0; k < kGroup; ++k) t.Byte[k][v] = Steps(b, static_cast<int>(k));
    t.Low[v] = Steps(b, kGroup);
    t.High[v] = Steps(static_cast<std::uint16_t>(b << 8), kGroup);
  }
  return t;
}

constexpr TChecksumTables kTables = MakeChecksumTables();

std::uint16_t ChecksumOf(std::span<const std::uint8_t> bytes, std::uint16_t c = 0) {
  const std::uint8_t* p = bytes.data();
  std::size_t n = bytes.size();
  for (; n >= kGroup; p += kGroup, n -= kGroup) {
    // The bytes' part first: it does not wait for the register.
    std::uint16_t bytesPart = 0;
    for (std::size_t j = 0; j < kGroup; ++j) bytesPart ^= kTables.Byte[kGroup - 1 - j][p[j]];
    c = kTables.Low[c & 0xFF] ^ kTables.High[c >> 8] ^ bytesPart;
  }
  for (; n > 0; ++p, --n) c = static_cast<std::uint16_t>(Step(c) ^ *p);
  return c;
}

}  // namespace

std::uint16_t Checksum16(std::span<const std::uint8_t> buf, std::uint32_t count) {
  if (count > buf.size()) return 0;
  return ChecksumOf(buf.first(count));
}

std::uint16_t Checksum16Continued(std::uint16_t before, std::span<const std::uint8_t> bytes) {
  return ChecksumOf(bytes, before);
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
