// The layout and number formats of the window's file commands: the file
// dialogs of the object, EEP data and project files, and how a project's
// values are shown.
#pragma once

// Opening a project logs the name, then this date straight after it.
inline constexpr const char* kShortDateFormat = "%04d/%02d/%02d";

// The file dialogs. Each filter entry is its description with its file
// patterns in the last parentheses (blank-separated), the form Qt reads.
// The entries for all files take Qt's "*": its "*.*" would hide names
// without a dot.
inline constexpr const char* kObjectFileFilters[] = {
    "All Files (*.*) (*)",
    "All Binary Files (*.Bin)",
    "All Intel Hex Files (*.Hex)",
    "All Motorola Hex Files(*.S19)",
    "All Hex/Binary Files (*.Hex,*.S1*,*.Bin) (*.Hex *.S1* *.Bin)",
};
inline constexpr int kObjectFileDefaultFilter = 4;  // the fifth entry
inline constexpr const char* kObjectFileDefaultSuffix = "BIN";

// The patterns match without regard to case, so "*.Bin" stands for "*.bin".
inline constexpr const char* kEepFileFilters[] = {
    "All Binary Files (*.Bin)",
    "All Object Files(*.S19,*.HEX) (*.S19 *.HEX)",
    "All Hex/Binary Files (*.HEX,*.S1*,*.Bin) (*.Hex *.S1* *.Bin)",
};
inline constexpr const char* kEepFileDefaultSuffix = "bin";

inline constexpr const char* kOpenProjectCaption = "Open Velmot200xx Project File";
inline constexpr const char* kOpenProjectFilters[] = {"Velmotxx Project Files(*.pqx)", "All FIles(*.*) (*)"};
inline constexpr const char* kSaveProjectCaption = "Save to Velmot200xx Project File";
inline constexpr const char* kSaveProjectFilters[] = {"Velmotxx Project File(*.pqx)", "All FIles(*.*) (*)"};
inline constexpr const char* kProjectDefaultSuffix = "pqx";

// How the S/N fields and the device address show a project's values.
inline constexpr const char* kShownGainFormat = "%d";
inline constexpr const char* kShownSnAddressFormat = "0x%08X";
inline constexpr const char* kShownDeviceAddressFormat = "0x%02X";
