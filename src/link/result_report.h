// The end of an operation with a one-byte result code, and the end of the
// operations that a search or the window's close stops.
#pragma once

#include <bitset>
#include <cstdint>
#include <string>

#include "data/program_state.h"

// Exactly 0 or 6: ends the operation well and logs "Operation Success!".
// Any other code: ends it as failed and logs the code's message (looked up
// with the top bit cleared; codes without a text get the numbered fallback).
void ReportResult(std::uint8_t code, int ch);

// Ends the operation as failed and logs why (a failure code's message, the
// time-out). A firmware upgrade that ends so leaves its programmer out
// (LeaveOutFailedUpgrade), with one more line.
void ReportFailure(const std::string& message, int ch);

// Every programmer that is still busy (an operation step or a firmware
// upgrade) ends it as failed and logs that it was stopped before it
// finished, and the command of the packet it was waiting on is kept as its
// StoppedCommand. For the search and the close, before they close the
// ports, so no half-done operation ends without a word. Idle programmers
// are left alone. Returns the programmers it stopped.
using TStoppedProgrammers = std::bitset<kProgrammerMax>;
TStoppedProgrammers StopRunningOperations();
