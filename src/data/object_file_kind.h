// Which reader an object or EEP data file goes to, by its extension.
#pragma once

#include <string_view>

enum class TObjectFileKind { IntelHex, SRecord, Binary, Unknown };

// By the extension after the last '.' of the file's name, in any letter
// case: ".HEX", ".S19", ".S37", ".MOT", ".BIN".
TObjectFileKind ObjectFileKindOf(std::string_view fileName);

// The same for an EEP data file, which is never ".S37".
TObjectFileKind EepFileKindOf(std::string_view fileName);
