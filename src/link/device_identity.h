// What a programmer answers the link request with: "Velmot200IND" and its
// firmware version when it runs its application, "Velmot200XXX-XX" when it
// runs its boot loader.
#pragma once

#include <array>
#include <cstdint>
#include <span>

// A zero-terminated text of at most 127 characters.
using TIdentityText = std::array<char, 128>;

TIdentityText IdentityText(const char* text);

constexpr std::uint8_t kIdentityMatches = 0;
constexpr std::uint8_t kIdentityOlderFirmware = 3;
constexpr std::uint8_t kIdentityNotAReply = 15;
constexpr std::uint8_t kIdentityOther = 31;

constexpr std::uint8_t kIdentityTextStart = 28;

// The decoded reply (its bytes as far as they came) against the application
// identity in `identity`: 15 when it does not begin A3 A5 35 or its text
// length (bytes 6..7) is 0, 31 when its device text does not begin with the
// identity, else 0, or 3 when its version (after " V") compares lower than
// FirmwareVersion character by character. On 0 and 3 identity is replaced
// by the device text. The text area is textStart .. textStart + length,
// ending early with the reply; bytes below 0x20 or from 0x80 end the text.
std::uint8_t CheckDeviceIdReply(std::span<const std::uint8_t> reply, TIdentityText& identity,
                                std::uint8_t textStart);

// The same against the boot-loader identity, without a version: 0 (identity
// replaced by the device text), 15 or 31.
std::uint8_t CheckDeviceNameReply(std::span<const std::uint8_t> reply, TIdentityText& identity,
                                  std::uint8_t textStart);
