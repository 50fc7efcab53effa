#include "sim_files.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <system_error>

namespace sim {

namespace {

// A fixed, irregular byte pattern for parts a test does not care about.
Bytes Pattern(std::size_t size, std::uint32_t seed) {
  Bytes bytes(size);
  for (std::uint8_t& b : bytes) {
    seed = seed * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(seed >> 16);
  }
  return bytes;
}

void AppendLe16(Bytes& bytes, std::uint16_t value) {
  bytes.push_back(static_cast<std::uint8_t>(value));
  bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

}  // namespace

Bytes BuildFirmwareFile(const FirmwareFileSpec& spec) {
  Bytes file;
  for (const char c : std::string("VlmFmWr")) file.push_back(static_cast<std::uint8_t>(c) ^ 0x80);
  for (std::size_t i = 0; i < 8; ++i) file.push_back(i < spec.version.size() ? static_cast<std::uint8_t>(spec.version[i]) : 0);
  const std::uint16_t k = spec.headerKey;
  AppendLe16(file, k);
  AppendLe16(file, spec.firmwareEnd ^ k);
  AppendLe16(file, spec.word3 ^ k);
  AppendLe16(file, spec.word4 ^ k);
  AppendLe16(file, static_cast<std::uint16_t>(spec.image.size()) ^ k);

  Bytes key = spec.keyTable.empty() ? Pattern(kFirmwareKeyTableSize, 0xF1A5) : spec.keyTable;
  key.resize(kFirmwareKeyTableSize);
  file.insert(file.end(), key.begin(), key.end());
  key.resize(4096, 0);  // the key area past the table reads 0

  const std::size_t padded = (spec.image.size() + 15) / 16 * 16;
  for (std::size_t i = 0; i < padded; ++i) {
    const std::uint8_t b = i < spec.image.size() ? spec.image[i] : 0xFF;
    const std::size_t j = (i / 4 * 4) & 0xFFF;
    file.push_back(b ^ key[j + (i % 4) % 2]);
  }

  Bytes tail = spec.tail.empty() ? Pattern(kFirmwareTailSize, 0x7A11) : spec.tail;
  tail.resize(kFirmwareTailSize);
  file.insert(file.end(), tail.begin(), tail.end());

  std::uint32_t sum = 0;
  for (const std::uint8_t b : file) sum += b;
  AppendLe16(file, static_cast<std::uint16_t>(sum));
  AppendLe16(file, static_cast<std::uint16_t>(sum >> 16));
  return file;
}

Bytes BuildDriverFile(const DriverFileSpec& spec) {
  Bytes data;
  Bytes file(kDriverDataOffset, 0);
  std::copy_n("QVFLSDRV", 8, file.begin());
  file[8] = spec.header8;
  file[9] = spec.header9;
  std::copy(spec.key.begin(), spec.key.end(), file.begin() + 0x10);
  for (std::size_t k = 0; k < spec.sections.size(); ++k) {
    PutLe16(file, 0x20 + 4 * k, static_cast<std::uint16_t>(kDriverDataOffset + data.size()));
    PutLe16(file, 0x22 + 4 * k, static_cast<std::uint16_t>(spec.sections[k].size()));
    data.insert(data.end(), spec.sections[k].begin(), spec.sections[k].end());
  }
  PutLe16(file, 0x0A, Checksum16(data));
  PutLe16(file, 0x0C, static_cast<std::uint16_t>(data.size()));
  file.insert(file.end(), data.begin(), data.end());
  Bytes closing = spec.closing;
  closing.resize(kDriverClosingSize, 0);
  file.insert(file.end(), closing.begin(), closing.end());
  ScrambleDriverFile(file, spec.key);
  return file;
}

void ScrambleDriverFile(Bytes& file, const std::array<std::uint8_t, 16>& key) {
  for (std::size_t at = 0x20; at < file.size(); ++at) {
    const std::size_t block = (at - 0x20) / 16;
    file[at] ^= 0x6B ^ static_cast<std::uint8_t>(block) ^ key[(at - 0x20) % 16];
  }
}

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::system_error(errno, std::generic_category(), "write " + path.string());
}

}  // namespace sim
