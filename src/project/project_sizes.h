// The sizes a project file names, checked against the images before any of
// them is used: by the reader for a file, by the writer for the job it is
// about to save, so it never writes a file that cannot be opened.
#pragma once

#include <cstdint>
#include <span>
#include <string>

struct TProjectSizes {
  std::uint32_t MainSize;
  std::uint32_t EepSize;
  std::uint32_t MainDataLength;
  std::uint32_t MainStart;
};

// Empty when the sizes fit; else why not, as a reason text.
std::string CheckProjectSizes(const TProjectSizes& sizes);

// Empty when every EEP byte of the job survives the file: those past what the
// file keeps of eepDataLength are blank. Else a reason text naming the first
// that is not.
std::string CheckEepFits(std::span<const std::uint8_t> eep, std::uint32_t eepDataLength, std::uint8_t blank);
