// The reply watch of the 10 ms tick.
#pragma once

// For every busy programmer, in order 0..9: steps its gauge when it ticks,
// counts its ReplyTimeout down, and at 0 logs "Command Executed Time Out!"
// and ends its operation as failed. Idle programmers are left alone.
void TickReplyTimeouts();
