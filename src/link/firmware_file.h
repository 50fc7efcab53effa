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

// Reads and checks the firmware file; FirmwareLoaded tells the result.
// Without the marker (or with too few bytes for a header) nothing else
// changes. Otherwise FirmwareStart, the version and the header words are
// taken as read, and FirmwareImage is replaced only when the whole file
// checks out: its data and sum lie inside the bytes read, the sum matches,
// and the image holds every block that FirmwareEnd asks for (at least one,
// at most 32; the last may reach past the stored data). A file that fails
// leaves the image loaded before.
void LoadFirmwareFile(const std::string& path);

// Blocks an upgrade sends: (FirmwareEnd - FirmwareStart) div 1024 + 1,
// signed and truncating, so it is 0 or negative for an end below the start.
int FirmwareBlockCount();
