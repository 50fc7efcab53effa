// The programmers' firmware file "VelmotIND.FWR" beside the program: reading,
// checking and unscrambling it into FirmwareImage.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kFirmwareFileName = "VelmotIND.FWR";

// Where the firmware image sits in a programmer's flash.
constexpr std::uint16_t kFirmwareStartAddress = 0x1000;
// Each block sent covers 1 KB of the programmer's flash and 2 KB of the image.
constexpr int kFirmwareBlockSpan = 1024;
constexpr std::uint32_t kFirmwareBlockImageBytes = 2048;

// AppDir + "VelmotIND.FWR".
std::string FirmwareFilePath();

// What the check of a firmware file found; Loaded, or the first check it
// failed.
enum class TFirmwareCheck : std::uint8_t {
  Loaded,
  NoMarker,     // too short for a header, or no "VlmFmWr" at its start
  CutShort,     // its data and sum reach past the bytes read
  BadBlocks,    // FirmwareEnd asks for no block, or for more than the image holds
  SumMismatch,  // the stored sum is not the sum of the bytes before it
};

// Reads and checks the firmware file; FirmwareLoaded tells whether it
// loaded, the result what failed. Without the marker (or with too few
// bytes for a header) nothing else changes. Otherwise FirmwareStart, the
// version and the header words are taken as read, and FirmwareImage is
// replaced only when the whole file checks out: its data and sum lie inside
// the bytes read, the sum matches, and the image holds every block that
// FirmwareEnd asks for (at least one, at most 32; the last may reach past
// the stored data). A file that fails leaves the image loaded before.
TFirmwareCheck LoadFirmwareFile(const std::string& path);

// The log line and box of a firmware file that failed its check: which
// file, and why.
std::string FirmwareDamagedText(const std::string& path, TFirmwareCheck check);

// Blocks an upgrade sends: (FirmwareEnd - FirmwareStart) div 1024 + 1,
// signed and truncating, so it is 0 or negative for an end below the start.
int FirmwareBlockCount();
