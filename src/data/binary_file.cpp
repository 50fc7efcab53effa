#include "data/binary_file.h"

#include <algorithm>

#include "data/file_input.h"
#include "data/object_output.h"
#include "data/program_state.h"

namespace {

constexpr std::size_t kBlockSize = 4096;

}  // namespace

std::size_t ReadBinaryFile(const std::string& fileName, std::span<std::uint8_t> destination, std::uint32_t& limit) {
  TInputFile file(fileName);
  if (!file.IsOpen() || file.Size() == 0) return 0;
  const std::uint64_t size = file.Size();
  const std::uint32_t lastIndex = LastByteIndex(size);
  ObjectState.LoadedDataEnd = lastIndex;
  std::uint64_t count = limit;
  if (limit >= size) {
    count = size;
    limit = lastIndex;
  }
  count = std::min<std::uint64_t>(count, destination.size());
  std::size_t copied = 0;
  while (copied < count) {
    const std::span<std::uint8_t> block = destination.subspan(copied, std::min<std::uint64_t>(kBlockSize, count - copied));
    const std::size_t got = file.Read(block);
    copied += got;
    if (got < block.size()) break;
  }
  return copied;
}

void WriteBinaryFile(const std::string& fileName, std::span<const std::uint8_t> buffer, std::uint32_t first,
                     std::uint32_t last) {
  TOutputFile file(fileName);
  if (RangeInImage(buffer.size(), 0, first, last)) file.Write(buffer.subspan(first, std::uint64_t{last} - first + 1));
  file.Close();
}
