// Log lines in the main window's memo: "> ", the time as hh:mm:ss, and then
// either the window's own message or a programmer's message with its number.
#pragma once

#include <string>

// "> hh:mm:ss " and the message: the main window's own line.
void AddLog(const std::string& message);

// "> hh:mm:ss C<ch + 1> : " and the message: a line of programmer ch.
void LogChannelMessage(const std::string& message, int ch);

// The line as it is, without time: for the blocks the window adds directly
// to its memo (dumps, settings line, empty lines).
void AddMemoLine(const std::string& line);
