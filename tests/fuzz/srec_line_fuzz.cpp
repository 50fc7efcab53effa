// One S-record against a real chip: byte 0 picks the chip, the rest is the line.
#include <string_view>

#include "data/object_file.h"
#include "data/program_state.h"
#include "data/srec_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(in.Byte());
  const std::span<const std::uint8_t> rest = in.Rest();
  const std::string_view line(reinterpret_cast<const char*>(rest.data()), rest.size());

  std::uint32_t address = 0, lowest = 0xFFFFFFFF, highest = 0, sum = 0;
  TAreaSet placed = 0;
  const std::uint8_t code = ParseSRecLine(line, address, lowest, highest, sum, placed);
  FUZZ_CHECK(code == kLineOk || code == kLineBadStart || code == kLineBadType || code == kLineBadChecksum ||
             code == kLineOutOfChip);
  // A record that runs past 4 GB wraps its last address; the others widen
  // the bounds over what one record holds.
  if (lowest != 0xFFFFFFFF && lowest <= highest) FUZZ_CHECK(lowest == address && highest - lowest < 252u);
  if (code == kLineBadStart || code == kLineBadType) FUZZ_CHECK(sum == 0 && lowest == 0xFFFFFFFF);
  FUZZ_CHECK((placed & (placed - 1)) == 0);
  if (code == kLineOutOfChip) FUZZ_CHECK(placed == 0);
  CheckImagesOutsideAreas();
  return 0;
}
