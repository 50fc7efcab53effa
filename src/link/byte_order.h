// Little-endian fields inside packet and driver buffers. The caller keeps
// the offsets inside the buffer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

inline void PutLe16(std::span<std::uint8_t> buf, std::size_t at, std::uint16_t value) {
  buf[at] = static_cast<std::uint8_t>(value);
  buf[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLe32(std::span<std::uint8_t> buf, std::size_t at, std::uint32_t value) {
  PutLe16(buf, at, static_cast<std::uint16_t>(value));
  PutLe16(buf, at + 2, static_cast<std::uint16_t>(value >> 16));
}

inline std::uint16_t GetLe16(std::span<const std::uint8_t> buf, std::size_t at) {
  return static_cast<std::uint16_t>(buf[at] | (buf[at + 1] << 8));
}

inline std::uint32_t GetLe32(std::span<const std::uint8_t> buf, std::size_t at) {
  return GetLe16(buf, at) | static_cast<std::uint32_t>(GetLe16(buf, at + 2)) << 16;
}
