// A binary object or EEP data file read to the address the operator chose,
// kept inside the area it is meant for and inside the image that holds it.
#pragma once

#include <cstdint>
#include <span>
#include <string>

// The area a binary file may fill and the image behind it: image index 0
// stands for AreaStart.
struct TBinaryPlace {
  std::uint32_t AreaStart;
  std::uint32_t AreaEnd;  // the last address the file may fill
  std::span<std::uint8_t> Image;
};

enum class TBinaryLoadStatus {
  Read,         // the whole file
  TooLong,      // the file runs on past the area's end: read up to there
  NothingRead,  // missing, unreadable or empty: nothing changed
  OutsideArea,  // the address lies outside the area or the image: nothing read
};

// Reads fileName into the image from the index of address on, at most the
// room from there to the area's end (and to the image's end). On reading
// anything: first := address, last := the address of the last byte read,
// sum := the byte sum of the bytes read. Otherwise first, last and sum keep
// what they held.
TBinaryLoadStatus LoadBinaryAt(const std::string& fileName, std::uint32_t address, const TBinaryPlace& place,
                               std::uint32_t& first, std::uint32_t& last, std::uint32_t& sum);
