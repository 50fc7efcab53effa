// The two fixed-layout blocks that tell a programmer its chip and its job:
// the 80-byte parameter block of the command packets and the 512-byte
// chip-data block of the stand-alone download and the project file. Both are
// built in place in a programmer's packet buffer.
#pragma once

#include <cstdint>
#include <string>

struct TRunSettings;

constexpr std::uint16_t kParameterBlockSize = 80;
constexpr std::uint16_t kChipDataBlockFormatSize = 512;
constexpr std::uint16_t kChipDataBlockPosition = 8;  // the payload position of a packet

// Writes the parameter block into PacketBuffers[ch] at position, with the
// argument at block offset 10 and a fresh random byte at offset 6. The
// settings, control bytes, data length and sums are those of run; without
// it, those programmer ch's operation started with (RunSettingsOf).
void BuildParameterBlock(std::uint16_t position, std::uint16_t argument, const TRunSettings& run, int ch);
void BuildParameterBlock(std::uint16_t position, std::uint16_t argument, int ch);

// Writes the chip-data block of run for programmer ch into PacketBuffers[ch]
// at kChipDataBlockPosition, closed with its checksum and sum.
void BuildChipDataBlock(const TRunSettings& run, int ch);

// Writes text into PacketBuffers[ch] at position: at most width bytes of it,
// cut on a whole UTF-8 character, or "?" when it is empty; then zeros up to width.
void PutPaddedString(const std::string& text, std::uint16_t position, std::uint16_t width, int ch);
