// The programmers' firmware file "VelmotIND.FWR" beside the program; the
// whole input is the file.
#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

#include "data/program_state.h"
#include "link/firmware_file.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kImageOffset = 3315;
constexpr std::size_t kTailLength = 876;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  StartFuzzInput(0);
  const std::span<const std::uint8_t> file(data, size);
  const std::string path = WriteFuzzFile(kFirmwareFileName, file);
  FUZZ_CHECK(path == FirmwareFilePath());

  const TFirmwareCheck check = LoadFirmwareFile(path);
  const TSessionState& s = SessionState;
  const std::span<const std::uint8_t> image(MemoryImages.FirmwareImage);
  FUZZ_CHECK(s.FirmwareLoaded <= 1);
  FUZZ_CHECK((check == TFirmwareCheck::Loaded) == (s.FirmwareLoaded == 1));
  FUZZ_CHECK(s.FirmwareVersion[sizeof s.FirmwareVersion - 1] == '\0');
  FUZZ_CHECK(s.FirmwareVersion[0] == '\0' || s.FirmwareVersion[0] == 'V');
  if (!s.FirmwareLoaded) {
    FUZZ_CHECK(AllBytesAre(image, 0));  // the image loaded before (none) stays
    return 0;
  }
  const std::size_t read = std::min(size, kFirmwareImageSize);  // the loader reads no more
  const int blocks = FirmwareBlockCount();
  FUZZ_CHECK(blocks >= 1 && blocks <= 32);
  // The sum behind the tail covers every byte before it.
  const std::size_t dataSize = (s.FirmwareDataLength + 15u) & ~15u;
  const std::size_t sumOffset = kImageOffset + dataSize + kTailLength;
  FUZZ_CHECK(sumOffset + 4 <= read);
  const std::uint32_t stored = file[sumOffset] | file[sumOffset + 1] << 8 | file[sumOffset + 2] << 16 |
                               static_cast<std::uint32_t>(file[sumOffset + 3]) << 24;
  FUZZ_CHECK(stored == std::accumulate(file.begin(), file.begin() + sumOffset, std::uint32_t{0}));
  // Past the unscrambled data the image is the file as read, then empty.
  FUZZ_CHECK(std::memcmp(image.data() + dataSize, file.data() + dataSize, read - dataSize) == 0);
  FUZZ_CHECK(AllBytesAre(image.subspan(read), 0));
  return 0;
}
