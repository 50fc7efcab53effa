// The progress reports (0xFD) that a programmer sends while it runs a long
// step or programs chips on its own.
#pragma once

// Shows the report held in programmer ch's packet buffer on its gauge and in
// the log; the final stage counts the chip as passed or failed. A report
// whose bytes 0..7 do not add up to 0, or of an unknown stage, is dropped.
// The programmer's state, busy flag and time-out are left alone.
void ShowProgressReport(int ch);
