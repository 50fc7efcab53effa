// The end of an operation with a one-byte result code.
#pragma once

#include <cstdint>

// Exactly 0 or 6: ends the operation well and logs "Operation Success!".
// Any other code: ends it as failed and logs the code's message (looked up
// with the top bit cleared; codes without a text get the numbered fallback).
void ReportResult(std::uint8_t code, int ch);
