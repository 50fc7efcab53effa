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

  TRecordTotals totals;
  const std::uint32_t linearBefore = linear, segmentBefore = segment;
  const std::uint8_t code = ParseHexLine(line, linear, segment, totals, JobImages());
  FUZZ_CHECK(code == kLineOk || code == kLineBadStart || code == kLineBadExtAddress || code == kLineBadChecksum ||
             code == kLineUnknownType || code == kLineOutOfChip);
  // Bounds are widened together, and only over what one record holds.
  if (totals.Lowest != 0xFFFFFFFF) FUZZ_CHECK(totals.Highest - totals.Lowest < 255u);
  if (code == kLineBadStart) FUZZ_CHECK(linear == linearBefore && segment == segmentBefore && totals.Sum == 0);
  FUZZ_CHECK((totals.Placed & (totals.Placed - 1)) == 0);
  if (code == kLineOutOfChip) FUZZ_CHECK(totals.Placed == 0);
  CheckImagesOutsideAreas();
  return 0;
}
