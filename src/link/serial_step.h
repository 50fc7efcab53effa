// The serial-number step of stand-alone programming. Programmer ch starts at
// SnValue + ch x SnGain and steps by the gain of all programmers in use, a
// step that the chip-data block carries in 16 bits. A download whose step
// does not fit would give one number to several chips (a step of 0 gives
// every chip of a programmer the same one), so it does not start.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "data/program_state.h"

// The settings' SnGain x the programmers in use: the step between two
// numbers of one programmer, before it is cut to the block's field.
std::uint32_t StandAloneSerialStep(const TProgramSettings& settings);

// Why an operation through these states must not start: it downloads the
// chip data, the programmers hand out serial numbers ("Enable S/N"), and the
// step does not fit its field. Nothing when it may start.
std::optional<std::string> SerialStepRefusalFor(std::span<const std::uint8_t> states);
