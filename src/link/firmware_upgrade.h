// A programmer's firmware upgrade: state 160, one 2 KB image block per
// acknowledgement, then the finish packet.
#pragma once

#include <cstdint>

// Starts the upgrade of programmer ch with block 0, on an empty receive
// buffer. Does nothing unless a firmware file is loaded, nor on a programmer
// that is busy or in a step.
void StartFirmwareUpgrade(int ch);

// A search or a new operation takes the place of programmer ch's upgrade
// (state 160): it is no longer pending, and once no programmer's upgrade is,
// no upgrade runs. Does nothing in any other state.
void AbandonUpgrade(int ch);

// Clears UpgradeRunning when no programmer has an upgrade pending.
void EndUpgradesWhenNonePending();

// The reply to a block, with its result. 6 (only 6) acknowledges it: the next
// block goes out, or after the last the finish packet and a well-ended
// operation. Any other result, 0 included, ends the upgrade as failed with
// the code's message. Every end clears the programmer's UpgradePending.
void HandleFirmwareBlockReply(std::uint8_t result, int ch);
