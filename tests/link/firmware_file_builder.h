// Builds firmware files for the tests, straight from the file layout:
// marker with bit 7 set, version, header key K, four header words XOR K,
// a 3290-byte key table, the image scrambled in 4-byte groups (bytes 0 and 2
// of a group with key byte j, bytes 1 and 3 with j + 1, j the group's offset
// modulo 4096, key bytes past the table being 0), 876 further bytes and the
// u32 sum of everything before it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TFirmwareFileSpec {
  std::string Marker = "VlmFmWr";
  std::string Version = "V2.0.7";  // padded with zero bytes to 8
  std::uint16_t Key = 0xA55A;
  std::uint16_t End = 0x17FF;  // two blocks
  std::uint16_t Word3 = 0x1234;
  std::uint16_t Word4 = 0xBEEF;
  int DataLength = -1;              // -1: the image's size
  std::vector<std::uint8_t> Image;  // plain; its size a multiple of 16
  std::uint8_t ImageSeed = 1;       // Image, when empty, is 4096 bytes from this seed
  std::int64_t SumError = 0;        // added to the stored sum
};

inline std::vector<std::uint8_t> Pattern(std::size_t n, std::uint8_t seed) {
  std::vector<std::uint8_t> v(n);
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& b : v) {
    x = x * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(x >> 16);
  }
  return v;
}

inline std::vector<std::uint8_t> BuildFirmwareFile(TFirmwareFileSpec spec) {
  if (spec.Image.empty()) spec.Image = Pattern(4096, spec.ImageSeed);
  std::vector<std::uint8_t> f;
  auto le16 = [&](std::uint16_t v) {
    f.push_back(static_cast<std::uint8_t>(v));
    f.push_back(static_cast<std::uint8_t>(v >> 8));
  };
  for (char c : spec.Marker) f.push_back(static_cast<std::uint8_t>(c) ^ 0x80);
  std::string version = spec.Version;
  version.resize(8, '\0');
  for (char c : version) f.push_back(static_cast<std::uint8_t>(c));
  const std::uint16_t dataLength =
      static_cast<std::uint16_t>(spec.DataLength < 0 ? spec.Image.size() : spec.DataLength);
  le16(spec.Key);
  for (std::uint16_t w : {spec.End, spec.Word3, spec.Word4, dataLength}) le16(w ^ spec.Key);

  const std::vector<std::uint8_t> table = Pattern(3290, 77);
  f.insert(f.end(), table.begin(), table.end());
  auto key = [&](std::size_t k) -> std::uint8_t { return k < table.size() ? table[k] : 0; };
  for (std::size_t i = 0; i < spec.Image.size(); ++i) {
    const std::size_t j = (i - i % 4) % 4096;
    f.push_back(spec.Image[i] ^ key(i % 2 == 0 ? j : j + 1));
  }
  const std::vector<std::uint8_t> tail = Pattern(876, 99);
  f.insert(f.end(), tail.begin(), tail.end());

  std::uint32_t sum = 0;
  for (std::uint8_t b : f) sum += b;
  sum = static_cast<std::uint32_t>(sum + spec.SumError);
  for (int i = 0; i < 4; ++i) f.push_back(static_cast<std::uint8_t>(sum >> (8 * i)));
  return f;
}
