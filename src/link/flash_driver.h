// The flash driver of the selected chip: which file serves a part name,
// loading and checking it into DriverImage, and copying its sections into
// command packets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "data/program_state.h"

// A section must leave room for the packet checksum behind it.
constexpr std::size_t kSectionLimit = kPacketBufferSize - 2;

// Path of the driver file for a part name, by the first matching prefix;
// empty, after the box "Error Chip or Driver not exists!", when none matches.
std::string DriverFileForChip(const std::string& chipName);

// Loads, descrambles and checks the driver of ChipName. Failures end in a
// box and DriverValid 0; the image keeps what was read.
void LoadFlashDriver();

// Keeps header bytes 8 and 9, then tells whether the image starts with the magic.
bool CheckDriverMagic();

// Whether a state has a section of its own (blank check, checksum read,
// erase, programming, option write).
bool StateHasDriverSection(std::uint8_t state);

// Copies the section of programmer ch's current state to PacketBuffers[ch]
// from position on and returns its length. Nothing is copied (0) for a state
// without a section, a section of length 0, one that does not lie inside
// DriverImage, or one that would leave no room for the packet checksum.
std::uint16_t AppendDriverSectionForOp(std::uint16_t position, int ch);

// The same for the common section, whatever the state.
std::uint16_t AppendDriverCommonSection(std::uint16_t position, int ch);
