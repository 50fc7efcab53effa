// Line-wise reading and writing of the program's own text files, whose lines
// end with CR LF.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

// Next line without its line end (LF or CR LF); false at the end of the file.
bool ReadTextLine(std::istream& in, std::string& line);

// Writes each line followed by CR LF, replacing the file or, with append set,
// adding to its end. False when the file cannot be opened or written.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, bool append = false);

// Replaces the file with the lines, each followed by CR LF, written whole to
// a new file that is then renamed over it: a write that fails (a full disk)
// leaves the old file as it was. Empty when written, else the text to show.
std::optional<std::string> ReplaceTextLines(const std::string& path, const std::vector<std::string>& lines);

// The text shown when a file cannot be created or written, with the system's
// reason as errno left it.
std::string FileWriteErrorText(const std::string& path);
