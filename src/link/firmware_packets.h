// The two packets of a firmware upgrade, built in programmer ch's packet
// buffer and framed into its transmit frame buffer. Each returns the frame
// length (0 for a programmer index out of range).
#pragma once

#include <cstdint>

// 0xB7: block `block` of FirmwareImage (image offset block x 2048, kept in 16
// bits), scrambled with a fresh random key K2 and a random half.
std::uint16_t FrameFirmwareBlock(std::uint16_t block, int ch);

// 0xBD: the fixed packet that closes an upgrade.
std::uint16_t FrameFirmwareFinish(int ch);
