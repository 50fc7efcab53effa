// Builders for the files the program reads and no sample exists for: the
// programmers' firmware image "VelmotIND.FWR" and the flash-driver files
// (".VDR" in "QuorixDRVs/"), scrambled as the program's loaders expect to
// undo. check_files.py reads them back on its own, for the tests.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "sim_framing.h"

namespace sim {

constexpr std::size_t kFirmwareKeyTableSize = 3290;
constexpr std::size_t kFirmwareTailSize = 876;
constexpr std::size_t kDriverDataOffset = 0x40;
constexpr std::size_t kDriverClosingSize = 40;

struct FirmwareFileSpec {
  std::string version = "V1.06";  // the 8-byte field, zero-padded; a longer text is cut
  std::uint16_t headerKey = 0x3C5A;
  std::uint16_t firmwareEnd = 0x1000;
  std::uint16_t word3 = 0;
  std::uint16_t word4 = 0;
  Bytes image;     // the firmware; its size is the data length
  Bytes keyTable;  // 3,290 bytes; empty: a fixed pattern
  Bytes tail;      // 876 bytes that are only summed; empty: a fixed pattern
};

// Marker, version, header words XORed with the header key, key table, the
// image scrambled in groups of four with key bytes 4m and 4m + 1 (padded
// with 0xFF to a multiple of 16), the tail, and the 32-bit sum of it all.
Bytes BuildFirmwareFile(const FirmwareFileSpec& spec);

struct DriverFileSpec {
  std::uint8_t header8 = 0x01;
  std::uint8_t header9 = 0x00;
  std::array<std::uint8_t, 16> key = {0x3A, 0x91, 0x07, 0xC4, 0x5E, 0xB2, 0x68, 0x1F,
                                      0xD3, 0x40, 0x8C, 0x75, 0xE9, 0x26, 0xAB, 0x10};
  // In directory order: blank check (0x20), checksum read (0x24), erase
  // (0x28), program (0x2C), option write, also the common section (0x30).
  std::array<Bytes, 5> sections;
  Bytes closing;  // the 40 closing bytes; empty: zeros
};

// "QVFLSDRV", header bytes, data checksum and length, the key, the section
// directory, the sections one after the other, the closing bytes; then
// scrambled with ScrambleDriverFile.
Bytes BuildDriverFile(const DriverFileSpec& spec);

// From 0x20 on, every byte XORed with 0x6B, its 16-byte block number (low
// 8 bits) and the key byte of its place in the block. Its own inverse: it
// also gives a stored file back plain, as the program holds it.
void ScrambleDriverFile(Bytes& file, const std::array<std::uint8_t, 16>& key);

void WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace sim
