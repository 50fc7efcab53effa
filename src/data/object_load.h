// What the window's file commands do with the images: loading an object file
// (HEX, S-record or binary by its extension) or an EEP data file, with the
// checks and log lines of a load, and the chip checksum that follows. The
// window adds its dialogs, viewers and status bar.
//
// A load is refused before it changes anything: an extension no reader
// takes, a binary address outside its area, a file that cannot be read or
// is empty. One box (and the same log line) says why; the images, the sums,
// the bounds and ObjectLoaded stay as they were. A HEX or S-record file that
// places no data in any area is refused the same way once it has been read,
// and one that the operator aborts at a line box leaves the job as it was,
// with one log line that says so (and mayPlace is asked all the same, so
// that a programmer that started during the line box is named).
//
// A load reads into a working copy of the job (job_copy.h) and puts it in
// place in one step once its last box (line, address, offset and too-long
// boxes) has been answered and mayPlace has agreed; until then the job is
// as it was, whatever a programmer that started meanwhile sends of it.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "data/may_place.h"
#include "data/object_file.h"

// Shows the binary-offset dialog, which may change BinOffsetAddress.
using TAskBinaryOffset = std::function<void()>;

enum class TObjectLoadMode {
  Fresh,  // "&Load": both images blanked first, ChipText2 names the file
  More,   // "Load &More": on top of what the images hold
};

// Loads one object file into the images and sets ObjectLoaded. A binary
// file goes to the address the offset dialog leaves in BinOffsetAddress
// (offered: MainStart), inside the main area, or up to EepEnd for a chip
// whose binary files run on into its data flash (EraseFlags bit 7). For the
// AU30x family the CRC-32 of the object range is logged. True when loaded:
// MainDataLength has been computed and the object lines logged; the window
// then refreshes its sums and viewers. False when refused (by mayPlace too).
bool LoadObjectData(const std::string& fileName, TObjectLoadMode mode, const TAskBinaryOffset& askBinaryOffset,
                    const TMayPlace& mayPlace);

// Loads an EEP data file (HEX, S19, MOT or binary; never S37) over the EEP
// area, blanked first. A binary file goes to the address the offset dialog
// leaves (offered: EepStart), inside the EEP area. True when loaded: its
// start, end and sum have been logged; the window then shows the EEP sums
// and viewer. The records of a HEX or S-record file go wherever their
// addresses lie, so the result is the areas the load changed (the EEP area
// always; with the main area, MainDataLength has been computed again and
// logged). Empty when refused.
std::optional<TAreaSet> LoadEepData(const std::string& fileName, const TAskBinaryOffset& askBinaryOffset,
                                    const TMayPlace& mayPlace);

// ChipChecksum := MainSum + EepSum (no EEP sum for a chip without EEP), logged.
void ComputeChipChecksum();
