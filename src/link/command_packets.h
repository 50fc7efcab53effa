// The request packets to a programmer. Each builder writes its packet into
// CommBuffers.PacketBuffers[ch] (8-byte header, payload, 16-bit checksum),
// frames it into CommBuffers.TxFrameBuffers[ch] and returns the frame
// length; 0 when the packet was not built.
#pragma once

#include <cstdint>

// Command codes.
constexpr std::uint8_t kCmdChipData = 0x53;
constexpr std::uint8_t kCmdMainData = 0x55;
constexpr std::uint8_t kCmdEepData = 0x5A;
constexpr std::uint8_t kCmdDriverBlock = 0x5F;
constexpr std::uint8_t kCmdReset = 0x8A;
constexpr std::uint8_t kCmdOperation = 0x93;
constexpr std::uint8_t kCmdProgramMain = 0x95;
constexpr std::uint8_t kCmdProgramEep = 0x99;
constexpr std::uint8_t kCmdMainBlock = 0x9B;  // verify or read main flash
constexpr std::uint8_t kCmdEepBlock = 0x9D;   // verify or read EEP
constexpr std::uint8_t kCmdLinkProbe = 0xA3;  // the link request's first byte

// Sub-commands of kCmdOperation (its argument).
constexpr std::uint16_t kSubErase = 0x03;
constexpr std::uint16_t kSubBlankCheck = 0x05;
constexpr std::uint16_t kSubReadChecksum = 0x30;
constexpr std::uint16_t kSubReadOption = 0x33;
constexpr std::uint16_t kSubOptionData = 0x35;
constexpr std::uint16_t kSubChipInfo = 0x3C;
constexpr std::uint16_t kSubReadMemory = 0x79;

// The fixed link request, written straight into TxFrameBuffers[ch] (10 bytes).
std::uint16_t FrameLinkProbe(int ch);

// Chip-data download: the chip-data block twice, masked with the key.
std::uint16_t FrameChipData(std::uint16_t key, int ch);

// The first 2 KB of the flash driver, with DriverFileSize as argument.
std::uint16_t FrameDriverBlock(int ch);

// 4 KB of an image from block (in KB). 0 when that range passes the image;
// the caller then ends the operation as a packet error (0x20).
std::uint16_t FrameMainDataBlock(std::uint16_t block, int ch);
std::uint16_t FrameEepDataBlock(std::uint16_t block, int ch);

// Parameter block, then the driver sections of ch's state when the chip uses a driver.
std::uint16_t FrameCommand(std::uint8_t code, std::uint16_t argument, int ch);

// Parameter block, 4 KB of an image from block (in KB), driver sections;
// a main block with the online serial number of ch's run in its place.
// 0 when that range passes the image.
std::uint16_t FrameMainProgramBlock(std::uint16_t block, int ch);
std::uint16_t FrameEepProgramBlock(std::uint16_t block, int ch);

// Parameter block and the option bytes (with the option section, or 4 KB of
// options for family 0xC0 without a driver).
std::uint16_t FrameOptionData(int ch);

// The first 64 bytes of a parameter block carrying ReadStartAddress and ReadLength.
std::uint16_t FrameReadMemory(int ch);

// The fixed reset packet; it carries no chip codes.
std::uint16_t FrameReset(int ch);

// Whether the packets sent in a state carry bytes of the selected chip's
// flash driver: the driver block, or a driver section (the state's own, or
// the common one its packets carry for the chip's family).
bool PacketsCarryDriver(std::uint8_t state);

// The senders that hand these frames to the programmer's port: packet_senders.h.
