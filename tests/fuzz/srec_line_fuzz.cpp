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

  std::uint32_t address = 0;
  TRecordTotals totals;
  const std::uint8_t code = ParseSRecLine(line, address, totals, JobImages());
  FUZZ_CHECK(code == kLineOk || code == kLineBadStart || code == kLineBadType || code == kLineBadChecksum ||
             code == kLineOutOfChip);
  // A record that runs past 4 GB wraps its last address; the others widen
  // the bounds over what one record holds.
  if (totals.Lowest != 0xFFFFFFFF && totals.Lowest <= totals.Highest)
    FUZZ_CHECK(totals.Lowest == address && totals.Highest - totals.Lowest < 252u);
  if (code == kLineBadStart || code == kLineBadType) FUZZ_CHECK(totals.Sum == 0 && totals.Lowest == 0xFFFFFFFF);
  FUZZ_CHECK((totals.Placed & (totals.Placed - 1)) == 0);
  if (code == kLineOutOfChip) FUZZ_CHECK(totals.Placed == 0);
  CheckImagesOutsideAreas();
  return 0;
}
