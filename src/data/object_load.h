// What the window's file commands do with the images: loading an object file
// (HEX, S-record or binary by its extension) or an EEP data file, with the
// checks and log lines of a load, and the chip checksum that follows. The
// window adds its dialogs, viewers and status bar.
#pragma once

#include <functional>
#include <string>

// Shows the binary-offset dialog, which may change BinOffsetAddress.
using TAskBinaryOffset = std::function<void()>;

// Both images blank (0x00 when BlankIsZero, else 0xFF), before a fresh load.
void BlankObjectImages();
// The EEP area of EepImage blank, before an EEP data file is loaded.
void BlankEepArea();

// Loads one object file into the images and sets ObjectLoaded. A binary
// file goes to the address the offset dialog leaves in BinOffsetAddress
// (offered: MainStart), inside the main area, or up to EepEnd for a chip
// whose binary files run on into its data flash (EraseFlags bit 7); an
// address outside that area is refused before anything is read. An unknown
// extension or a refused address clears ObjectLoaded. For the AU30x family
// the CRC-32 of the object range is logged in every case. True when data is
// loaded: MainDataLength has been computed and the object lines logged; the
// window then refreshes its sums and viewers.
bool LoadObjectData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset);

// Loads an EEP data file (HEX, S19, MOT or binary; never S37). A binary file
// goes to the address the offset dialog leaves (offered: EepStart), inside
// the EEP area; an address outside it is refused before reading. True when
// read: its start, end and sum have been logged; the window then shows the
// EEP sums and viewer.
bool LoadEepData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset);

// ChipChecksum := MainSum + EepSum (no EEP sum for a chip without EEP), logged.
void ComputeChipChecksum();
