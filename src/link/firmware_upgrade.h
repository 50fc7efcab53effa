// A programmer's firmware upgrade: state 160, one 2 KB image block per
// acknowledgement, then the finish packet.
#pragma once

#include <cstdint>

// Starts the upgrade of programmer ch with block 0, on an empty receive
// buffer. Does nothing unless a firmware file is loaded, nor on a programmer
// that is busy or in a step.
void StartFirmwareUpgrade(int ch);

// A new operation takes the place of programmer ch's upgrade (state 160):
// it is no longer pending, and once no programmer's upgrade is, no upgrade
// runs. Does nothing in any other state.
void AbandonUpgrade(int ch);

// The reply to a block, with its result. 6 (only 6) acknowledges it: the next
// block goes out, or after the last the finish packet and a well-ended
// operation, which is no longer pending. Any other result, 0 included, ends
// the upgrade as failed with the code's message (and the programmer is left
// out, see below).
void HandleFirmwareBlockReply(std::uint8_t result, int ch);

// An upgrade that ended failed (a refused block, a corrupt reply, its
// time-out) stays pending: it is not done. Its programmer is unlinked, so no
// command starts on its boot loader, and no automatic search of this run
// starts the upgrade again; one line says so. Called once its operation has
// ended, after the line that says why.
void LeaveOutFailedUpgrade(int ch);

// Whether programmer ch's upgrade failed in this run and no operator's
// command has dropped it since: pending, and no longer running.
bool UpgradeFailed(int ch);

// The operator's "&Connect Dev." and "Start Off-line Progrm", once they
// have stopped what ran: no upgrade is pending or running any more, so a
// failed one is tried again when its programmer answers.
void DropUpgrades();
