// Temporary stand-in for the binary file reader, keeping the contract of
// binary_file.h, so the flash-driver loader links and tests on its own.
#include <algorithm>
#include <fstream>

#include "data/binary_file.h"
#include "data/program_state.h"

std::size_t ReadBinaryFileSum(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit,
                              std::uint32_t& sum) {
  sum = 0;
  std::ifstream file(fileName, std::ios::binary | std::ios::ate);
  if (!file) return 0;
  const std::streamoff size = file.tellg();
  if (size <= 0) return 0;
  file.seekg(0);

  ObjectState.LoadedDataEnd = static_cast<std::uint32_t>(size - 1);
  std::size_t count = static_cast<std::size_t>(size);
  if (limit < static_cast<std::uint64_t>(size))
    count = limit;
  else
    limit = static_cast<std::uint32_t>(size - 1);
  count = std::min(count, destination.size());

  constexpr std::size_t kBlock = 4096;
  std::size_t copied = 0;
  while (copied < count) {
    const std::size_t want = std::min(kBlock, count - copied);
    file.read(reinterpret_cast<char*>(destination.data() + copied), static_cast<std::streamsize>(want));
    const std::size_t got = static_cast<std::size_t>(file.gcount());
    for (std::size_t i = 0; i < got; ++i) sum += destination[copied + i];
    copied += got;
    if (got < want) break;
  }
  return copied;
}

std::size_t ReadBinaryFile(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit) {
  std::uint32_t sum = 0;
  return ReadBinaryFileSum(fileName, destination, limit, sum);
}
