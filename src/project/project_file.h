// Project files: one whole programming job (chip, settings, chip-data block,
// main and EEP data) in one scrambled file closed by a 32-bit byte sum.
#pragma once

#include <cstdint>
#include <string>

#include "data/may_place.h"

// ReadProjectFile's results.
enum : std::uint8_t {
  kProjectOpenOk = 0,
  kProjectBadMagic = 5,
  kProjectNoCfgTag = 10,
  kProjectNoMfmTag = 13,
  kProjectNoEepTag = 15,
  kProjectSumMismatch = 16,
  // Sizes that do not fit the images, or a file that ends before its data.
  kProjectDamaged = 17,
  // A file that opened, refused by the caller at the end: the job is as it was.
  kProjectNotPlaced = 18,
};

// The programmer model name stored with a job for this model code.
std::string ModelNameForCode(std::uint8_t code);

// Writes the job to fileName, replacing the file only once the new one is
// complete, then shows and logs "Created Project File : " with the name.
// A job that a file cannot hold is refused with a message, writing nothing:
// false. Errors of the file system throw std::system_error naming the file,
// and the old file stays as it was.
bool WriteProjectFile(const std::string& fileName, std::uint8_t modelCode);

// Reads a project into the shared records: the chip, texts, sums, sizes,
// chip-data block and images. Every check runs before anything is replaced,
// so a file refused with any code but 0 leaves the job as it was. The result
// message is logged and shown (only logged while boxes are silenced); a file
// that passed is put in place after its box, once mayPlace agrees
// (kProjectNotPlaced when it does not). A file that cannot be opened or read
// throws std::system_error naming it.
std::uint8_t ReadProjectFile(const std::string& fileName, const TMayPlace& mayPlace);

// The settings back out of the chip-data block of the project just read;
// for a chip without EEP the EEP program and erase steps stay off.
void ApplyChipDataBlock();
