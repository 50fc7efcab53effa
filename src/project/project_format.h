// The layout of a project file (".pqx"): the fixed header with the job's
// chip, names, sums and sizes, the pad, then the CFG, MFM and EEP sections,
// the file's byte sum and a random tail. Numbers are little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

#include "data/program_state.h"

inline constexpr char kProjectMagic[] = "Quorix";  // stored plain
inline constexpr std::size_t kProjectMagicSize = 6;
inline constexpr std::uint8_t kProjectVersion = 0x02;

// Texts are stored XOR this key, cut to their field, padded with plain zeros.
inline constexpr std::uint8_t kProjectTextKey = 0x9E;
inline constexpr std::size_t kModelNameWidth = 16;
inline constexpr std::size_t kChipNameWidth = 20;
inline constexpr std::size_t kChipText2Width = 48;

// The section tags, each byte XOR its key.
inline constexpr char kCfgTag[] = "CFG";
inline constexpr char kMfmTag[] = "MFM";
inline constexpr char kEepTag[] = "EEP";
inline constexpr std::size_t kTagSize = 3;
inline constexpr std::uint8_t kCfgTagKey = 0x92;
inline constexpr std::uint8_t kMfmTagKey = 0x97;
inline constexpr std::uint8_t kEepTagKey = 0x9A;

// Random pad: drawn in full, stored but for its last byte; the sections use
// its first kRunLength bytes.
inline constexpr std::size_t kProjectPadSize = 2050;
inline constexpr std::size_t kProjectPadStored = 2049;

// The header runs up to the CFG tag.
inline constexpr std::size_t kProjectHeaderSize = 2403;
static_assert(kProjectHeaderSize == 354 + kProjectPadStored);

// The CFG section keeps the chip-data block and the 512 bytes after it under one key.
inline constexpr std::size_t kCfgDataSize = 1024;
static_assert(kCfgDataSize <= kChipDataBlockSize);

// Main and EEP data are run-coded: a new key byte follows every 1024th data byte.
inline constexpr std::size_t kRunLength = 1024;
constexpr std::size_t RunCodedSize(std::size_t dataBytes) { return 1 + dataBytes + dataBytes / kRunLength; }

// EEP Data Length is stored whole, but only its remainder modulo 65536 in
// bytes (65536 for a non-zero multiple of 65536).
inline constexpr std::uint32_t kProjectEepLimit = 65536;
constexpr std::uint32_t EepStoredLength(std::uint32_t eepDataLength) {
  if (eepDataLength == 0) return 0;
  const std::uint32_t rest = eepDataLength % kProjectEepLimit;
  return rest == 0 ? kProjectEepLimit : rest;
}

inline constexpr std::size_t kProjectTailSize = 256;

// The size of a file with this many main bytes and stored EEP bytes.
constexpr std::size_t ProjectFileSize(std::size_t mainBytes, std::size_t eepBytes) {
  return kProjectHeaderSize + kTagSize + 1 + kCfgDataSize + kTagSize + RunCodedSize(mainBytes) + kTagSize + 4 +
         (eepBytes == 0 ? 0 : RunCodedSize(eepBytes)) + 4 + kProjectTailSize;
}

// The longest file a valid header can announce, with its tail.
inline constexpr std::size_t kProjectFileMaxSize = ProjectFileSize(kMainFlashImageSize, kProjectEepLimit);

// Blank EEP bytes of the job a file holds: bit 4 of its VoltageFlags is BlankIsZero.
constexpr std::uint8_t ProjectBlankValue(std::uint8_t voltageFlags) { return (voltageFlags & 0x10) ? 0x00 : 0xFF; }

// Where the main flash lies in MainFlashImage once a project is open.
constexpr std::uint32_t ProjectMainBaseOffset(std::uint32_t mainStart) { return mainStart & 0xFFFFF; }
