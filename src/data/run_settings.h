// What a programmer's running operation reads of the settings and the job:
// a copy taken when the operation opens on it (link/operation_starters.cpp).
// A command on another programmer, or a project save, collects the window's
// settings anew; what it collects is what later operations start with, and
// nothing of it reaches an operation that already runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "data/program_state.h"

// The settings as they stand now: the last collection, the chip's control
// bytes, the option sums, and the loaded job's main data length and sums.
// With withSerialNumber, and online S/N on at the last collection, the
// number last given (ObjectState.OnlineSerialNumber) comes along when it
// lies in the main area: the length then covers it and the sums are those
// of the image with the number in its place. The image stays the file's.
TRunSettings CurrentRunSettings(bool withSerialNumber);

// Programmer ch's copy := CurrentRunSettings(withSerialNumber).
void TakeRunSettings(int ch, bool withSerialNumber);

// Programmer ch's copy, as its operation took it.
const TRunSettings& RunSettingsOf(int ch);

// Writes the bytes of number that fall into block, the stretch of the main
// area from index blockStart.
void PutSerialNumber(const TSerialNumberBytes& number, std::size_t blockStart, std::span<std::uint8_t> block);
