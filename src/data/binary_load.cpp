#include "data/binary_load.h"

#include <algorithm>
#include <numeric>

#include "data/program_state.h"

std::uint32_t BinaryRoom(std::uint32_t address, const TBinaryPlace& place) {
  if (address < place.AreaStart || address > place.AreaEnd) return 0;
  const std::size_t index = address - place.AreaStart;
  if (index >= place.Image.size()) return 0;
  // In bytes, not an end address: a file exactly as long as the room keeps its last byte.
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(std::uint64_t{place.AreaEnd} - address + 1, place.Image.size() - index));
}

TBinaryLoadStatus StoreBinaryAt(const TFileContent& file, std::uint32_t address, const TBinaryPlace& place,
                                std::uint32_t& first, std::uint32_t& last, std::uint32_t& sum) {
  const std::uint32_t room = BinaryRoom(address, place);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.Bytes.data()),
                                            std::min<std::size_t>(file.Bytes.size(), room));
  std::ranges::copy(bytes, place.Image.begin() + (address - place.AreaStart));
  ObjectState.LoadedDataEnd = LastByteIndex(file.Size);
  first = address;
  last = static_cast<std::uint32_t>(address + bytes.size() - 1);
  sum = std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
  return file.Size > room ? TBinaryLoadStatus::TooLong : TBinaryLoadStatus::Read;
}
