// Texts of the window's file commands: loading object and EEP data files,
// saving EEP data, saving and opening project files, and their dialogs.
#pragma once

// The commands' preconditions, shared with the operation commands.
#include "text/command_messages.h"

// Loading data or a project while a programmer runs an operation: the
// running steps send and compare what the images hold.
inline constexpr const char* kLoadBusyText =
    "A programmer is busy, please wait until it has finished before loading data!";

// Loading an object file.
inline constexpr const char* kFileLoadedFormat = "File \"%s\" has been loaded!";
inline constexpr const char* kFormatErrorText = "Object file format error(not matche the extend name)!";
inline constexpr const char* kOutOfFlashText = "The Object File is out of the chip flash address space, please confirm!";
inline constexpr const char* kObjectCrc32Format = "Object File CRC32 Checksum = 0x%08X";
inline constexpr const char* kObjectStartFormat = "Object File Start Address  = 0x%08X.";
inline constexpr const char* kObjectEndFormat = "Object File End Address    = 0x%08X.";
inline constexpr const char* kObjectSumFormat = "Object File ACC32 Checksum = 0x%08X";
inline constexpr const char* kProgrammedSizeFormat = "Chip Actual Programmed Data Size is: %dBytes/0x%08X.";
inline constexpr const char* kChipSumFormat = "Chip ACC32 CheckSum is : 0x%08X";

// Loading an EEP data file.
inline constexpr const char* kEepFileLoadedFormat = "EEP Data file of \"%s\" hasn been loaded.";
inline constexpr const char* kOutOfEepText = "The Object File is out of the chip EEP address space, please confirm!";
inline constexpr const char* kEepFileStartFormat = "Load EEP File Start Address  = 0x%08X.";
inline constexpr const char* kEepFileEndFormat = "Load EEP File End Address    = 0x%08X.";
inline constexpr const char* kEepFileSumFormat = "Load EEP File ACC32 Checksum = 0x%08X.";

// A binary file whose load address lies outside the area it is meant for:
// refused before anything is read. The address, then the area's bounds.
inline constexpr const char* kOffsetOutOfFlashFormat =
    "Binary Offset Address 0x%08X is out of the chip flash address space (0x%08X .. 0x%08X), nothing has been "
    "loaded!";
inline constexpr const char* kOffsetOutOfEepFormat =
    "Binary Offset Address 0x%08X is out of the chip EEP address space (0x%08X .. 0x%08X), nothing has been "
    "loaded!";

// Opening a project: the name, then the date straight after it.
inline constexpr const char* kLoadProjectFormat = "Load Quorix Project file of \"%s\".";
inline constexpr const char* kShortDateFormat = "%04d/%02d/%02d";

// The status bar's sum panels after a load or a project.
inline constexpr const char* kFileChecksumPanelFormat = "File CheckSum: 0x%08X";
inline constexpr const char* kChipChecksumPanelFormat = "Chip CheckSum: 0x%08X";

// The file dialogs. Each filter entry is its description with its file
// patterns in the last parentheses (blank-separated), the form Qt reads.
inline constexpr const char* kObjectFileFilters[] = {
    "All Files (*.*)",
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
inline constexpr const char* kOpenProjectFilters[] = {"Velmotxx Project Files(*.pqx)", "All FIles(*.*)"};
inline constexpr const char* kSaveProjectCaption = "Save to Velmot200xx Project File";
inline constexpr const char* kSaveProjectFilters[] = {"Velmotxx Project File(*.pqx)", "All FIles(*.*)"};
inline constexpr const char* kProjectDefaultSuffix = "pqx";

// How the S/N fields and the device address show a project's values.
inline constexpr const char* kShownGainFormat = "%d";
inline constexpr const char* kShownSnAddressFormat = "0x%08X";
inline constexpr const char* kShownDeviceAddressFormat = "0x%02X";
