// Line-wise reading and writing of the program's own text files, whose lines
// end with CR LF.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Next line without its line end (LF or CR LF); false at the end of the file.
bool ReadTextLine(std::istream& in, std::string& line);

// Writes each line followed by CR LF, replacing the file or, with append set,
// adding to its end. False when the file cannot be opened or written.
bool WriteTextLines(const std::string& path, const std::vector<std::string>& lines, bool append = false);

// The text shown when a file cannot be created or written, with the system's
// reason as errno left it.
std::string FileWriteErrorText(const std::string& path);
