// A flash-driver file in the program folder's "QuorixDRVs/", loaded for a
// real part's name and its sections copied into packets. Byte 0 picks the
// chip, bytes 1..2 where the sections go in the packet; the rest is the file.
#include <filesystem>
#include <string>

#include "data/program_state.h"
#include "link/byte_order.h"
#include "link/flash_driver.h"
#include "fuzz_support.h"

namespace {

constexpr std::uint8_t kSectionStates[] = {kOpBlankCheck, kOpReadChecksum, kOpErase,    kOpProgramMain,
                                           kOpProgramEep, kOpWriteOption,  kOpVerifyMain, kOpIdle};

// The stored file from the image, scrambled again from 0x20 on: the loader's
// descrambling undone by a separate hand.
bool ImageIsFile(std::span<const std::uint8_t> file) {
  const std::uint8_t* image = MemoryImages.DriverImage;
  for (std::size_t i = 0; i < file.size(); ++i) {
    std::uint8_t b = image[i];
    if (i >= 0x20) b ^= static_cast<std::uint8_t>(0x6B ^ ((i - 0x20) / 16 & 0xFF) ^ image[0x10 + (i - 0x20) % 16]);
    if (b != file[i]) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  const std::uint16_t position = static_cast<std::uint16_t>(in.Byte() | in.Byte() << 8);
  const std::span<const std::uint8_t> file = in.Rest();

  static const bool folder = std::filesystem::create_directories(FuzzFolder() + "QuorixDRVs");
  (void)folder;
  const std::string path = DriverFileForChip(SessionTexts.ChipName);
  const bool hasDriver = !path.empty();
  if (hasDriver) WriteFuzzFile(path.substr(FuzzFolder().size()), file);

  LoadFlashDriver();
  const TSessionState& s = SessionState;
  FUZZ_CHECK(s.DriverValid <= 1);
  if (s.DriverValid) {
    FUZZ_CHECK(hasDriver && file.size() >= 0x68 && file.size() <= kDriverImageSize);
    FUZZ_CHECK(s.DriverFileSize == file.size() && ImageIsFile(file));
    FUZZ_CHECK(CheckDriverMagic());
  } else {
    // Every refusal is told.
    FUZZ_CHECK(FuzzPrompts().Infos > 0);
  }
  // Whatever the image holds, a section copy stays inside the image and the packet.
  TProgrammerState& p = ProgrammerState;
  for (const std::uint8_t state : kSectionStates) {
    p.ProgOpCode[0] = state;
    const std::uint16_t n = AppendDriverSectionForOp(position, 0);
    FUZZ_CHECK(n == 0 || std::size_t{position} + n <= kSectionLimit);
  }
  const std::uint16_t common = AppendDriverCommonSection(position, 0);
  FUZZ_CHECK(common == 0 || std::size_t{position} + common <= kSectionLimit);
  CheckImagesOutsideAreas(kWritesDriver);
  return 0;
}
