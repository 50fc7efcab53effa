// The start and the end of an operation on one programmer: busy flag, reply
// time-out, block counter, state code and the programmer's gauge.
#pragma once

#include <cstdint>

#include "data/program_state.h"

constexpr bool IsProgrammerIndex(int ch) { return ch >= 0 && ch < kProgrammerMax; }

// Opens the operation of programmer ch: BlockIndex 0, ReplyTimeout ticks,
// busy, BlockCount = length in 1 KB blocks (rounded up, 16 bits), and a blue
// gauge in time mode (position ticks / 100 + 10 of ticks) or block mode
// (4 of BlockCount; 2 of 4 for length 0). ProgOpCode and GaugeTicking are
// the caller's.
void StartChannelProgress(std::uint16_t ticks, std::uint32_t length, bool blockMode, int ch);

// Ends the operation of programmer ch: not busy, a full gauge (red when
// failed, else blue), idle.
void FinishChannelProgress(bool failed, int ch);

// Whether an operation runs on any programmer: the running steps read the
// chip, the settings and the images, which must not change under them.
bool AnyProgrammerBusy();
