// "&Save Memory to File": the whole main area, MainStart .. MainEnd, written
// from the main image whatever MainDataLength is.
#pragma once

#include <string>

// The save dialog's filter entries, in their order (counted from 1).
enum class TMemoryFileKind { Binary = 1, IntelHex = 2, SRecord = 3 };

// Writes the main area to fileName in the format of the chosen filter entry;
// any other entry writes nothing. Throws std::system_error naming the file
// when it cannot be written.
void SaveMemoryToFile(const std::string& fileName, int filterIndex);
