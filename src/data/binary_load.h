// A binary object or EEP data file placed at the address the operator chose,
// kept inside the area it is meant for and inside the image that holds it.
#pragma once

#include <cstdint>
#include <span>

#include "data/file_input.h"

// The area a binary file may fill and the image behind it: image index 0
// stands for AreaStart.
struct TBinaryPlace {
  std::uint32_t AreaStart;
  std::uint32_t AreaEnd;  // the last address the file may fill
  std::span<std::uint8_t> Image;
};

// The bytes a file may fill from address on: up to the area's end and to the
// image's end. 0 when the address lies outside the area or the image, so the
// file is refused before it is read.
std::uint32_t BinaryRoom(std::uint32_t address, const TBinaryPlace& place);

enum class TBinaryLoadStatus {
  Read,     // the whole file
  TooLong,  // the file runs on past the room: stored up to its end
};

// What storing a binary file came to.
struct TBinaryStore {
  TBinaryLoadStatus Status = TBinaryLoadStatus::Read;
  std::uint32_t First = 0;  // the address of the first byte stored
  std::uint32_t Last = 0;   // and of the last
  std::uint32_t Sum = 0;    // of the bytes stored
};

// Stores the file, read for the room at address (a non-zero BinaryRoom), into
// the place's image from the index of address on.
TBinaryStore StoreBinaryAt(const TFileContent& file, std::uint32_t address, const TBinaryPlace& place);
