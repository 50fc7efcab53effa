#include "data/binary_load.h"

#include <algorithm>

#include "data/binary_file.h"

TBinaryLoadStatus LoadBinaryAt(const std::string& fileName, std::uint32_t address, const TBinaryPlace& place,
                               std::uint32_t& first, std::uint32_t& last, std::uint32_t& sum) {
  if (address < place.AreaStart || address > place.AreaEnd) return TBinaryLoadStatus::OutsideArea;
  const std::size_t index = address - place.AreaStart;
  if (index >= place.Image.size()) return TBinaryLoadStatus::OutsideArea;
  // In bytes, not an end address: a file exactly as long as the room keeps its last byte.
  const auto room = static_cast<std::uint32_t>(
      std::min<std::uint64_t>(std::uint64_t{place.AreaEnd} - address + 1, place.Image.size() - index));
  std::uint32_t limit = room;
  std::uint32_t readSum = 0;
  const std::size_t copied = ReadBinaryFileSum(fileName, place.Image.subspan(index, room), limit, readSum);
  if (copied == 0) return TBinaryLoadStatus::NothingRead;
  first = address;
  last = static_cast<std::uint32_t>(address + copied - 1);
  sum = readSum;
  // The limit comes back unchanged only when the file is longer than it.
  return limit == room ? TBinaryLoadStatus::TooLong : TBinaryLoadStatus::Read;
}
