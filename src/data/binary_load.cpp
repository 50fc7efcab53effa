#include "data/binary_load.h"

#include <algorithm>
#include <numeric>

std::uint32_t BinaryRoom(std::uint32_t address, const TBinaryPlace& place) {
  if (address < place.AreaStart || address > place.AreaEnd) return 0;
  const std::size_t index = address - place.AreaStart;
  if (index >= place.Image.size()) return 0;
  // In bytes, not an end address: a file exactly as long as the room keeps its last byte.
  return static_cast<std::uint32_t>(
      std::min<std::uint64_t>(std::uint64_t{place.AreaEnd} - address + 1, place.Image.size() - index));
}

TBinaryStore StoreBinaryAt(const TFileContent& file, std::uint32_t address, const TBinaryPlace& place) {
  const std::uint32_t room = BinaryRoom(address, place);
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(file.Bytes.data()),
                                            std::min<std::size_t>(file.Bytes.size(), room));
  std::ranges::copy(bytes, place.Image.begin() + (address - place.AreaStart));
  return {file.Size > room ? TBinaryLoadStatus::TooLong : TBinaryLoadStatus::Read, address,
          static_cast<std::uint32_t>(address + bytes.size() - 1),
          std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0})};
}
