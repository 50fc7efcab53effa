// One Intel HEX record against a real chip: byte 0 picks the chip, bytes 1..8
// the extended address parts left by earlier records, the rest is the line.
#include <string_view>

#include "data/hex_file.h"
#include "data/object_file.h"
#include "data/program_state.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  std::uint32_t linear = in.Word32() & 0xFFFF0000;
  std::uint32_t segment = (in.Word32() & 0xFFFF) * 16;
  const std::span<const std::uint8_t> rest = in.Rest();
  const std::string_view line(reinterpret_cast<const char*>(rest.data()), rest.size());

  std::uint32_t lowest = 0xFFFFFFFF, highest = 0, sum = 0;
  TAreaSet placed = 0;
  const std::uint32_t linearBefore = linear, segmentBefore = segment;
  const std::uint8_t code = ParseHexLine(line, linear, segment, lowest, highest, sum, placed);
  FUZZ_CHECK(code == kLineOk || code == kLineBadStart || code == kLineBadExtAddress || code == kLineBadChecksum ||
             code == kLineUnknownType || code == kLineOutOfChip);
  // Bounds are widened together, and only over what one record holds.
  if (lowest != 0xFFFFFFFF) FUZZ_CHECK(highest - lowest < 255u);
  if (code == kLineBadStart) FUZZ_CHECK(linear == linearBefore && segment == segmentBefore && sum == 0);
  FUZZ_CHECK((placed & (placed - 1)) == 0);
  if (code == kLineOutOfChip) FUZZ_CHECK(placed == 0);
  CheckImagesOutsideAreas();
  return 0;
}
