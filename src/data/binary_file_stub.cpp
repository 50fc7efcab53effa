// Stand-in for the binary file reader until the object-file reader lands.
#include <algorithm>
#include <fstream>

#include "data/binary_file.h"
#include "data/program_state.h"

namespace {

std::size_t ReadInto(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit,
                     std::uint32_t* sum) {
  if (sum) *sum = 0;
  std::ifstream in(fileName, std::ios::binary | std::ios::ate);
  if (!in) return 0;
  const std::streamoff size = in.tellg();
  if (size <= 0) return 0;
  ObjectState.LoadedDataEnd = static_cast<std::uint32_t>(size - 1);
  std::size_t count;
  if (limit < static_cast<std::uint64_t>(size)) {
    count = limit;
  } else {
    count = static_cast<std::size_t>(size);
    limit = static_cast<std::uint32_t>(size - 1);
  }
  if (count > destination.size()) count = destination.size();
  in.seekg(0);
  std::size_t done = 0;
  while (done < count) {
    const std::size_t block = std::min<std::size_t>(4096, count - done);
    in.read(reinterpret_cast<char*>(destination.data() + done), static_cast<std::streamsize>(block));
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (sum)
      for (std::size_t i = 0; i < got; ++i) *sum += destination[done + i];
    done += got;
    if (got < block) break;
  }
  return done;
}

}  // namespace

std::size_t ReadBinaryFile(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit) {
  return ReadInto(fileName, destination, limit, nullptr);
}

std::size_t ReadBinaryFileSum(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit,
                              std::uint32_t& sum) {
  return ReadInto(fileName, destination, limit, &sum);
}
