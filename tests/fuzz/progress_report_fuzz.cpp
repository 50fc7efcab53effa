// A progress report in a programmer's packet buffer, as the link handler and
// the reply dispatcher hand it on. Byte 0 picks the programmer and whether
// the report's balance byte is made to fit; the next 8 bytes are the report.
#include <cstring>

#include "data/program_state.h"
#include "link/gauge.h"
#include "link/progress_report.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  StartFuzzInput(0);
  const std::uint8_t who = in.Byte();
  const int ch = (who & 0x7F) % kProgrammerMax;
  std::uint8_t* r = CommBuffers.PacketBuffers[ch];
  std::memset(r, 0, 16);
  const std::span<const std::uint8_t> report = in.Take(8);
  std::memcpy(r, report.data(), report.size());
  r[0] = 0xFD;
  if (who & 0x80) {
    std::uint8_t sum = 0;
    for (int i = 0; i < 7; ++i) sum = static_cast<std::uint8_t>(sum + r[i]);
    r[7] = static_cast<std::uint8_t>(-sum);
  }

  std::uint8_t balance = 0;
  for (int i = 0; i < 8; ++i) balance = static_cast<std::uint8_t>(balance + r[i]);
  const bool balanced = balance == 0;

  TProgrammerState& p = ProgrammerState;
  const std::uint8_t opCode = p.ProgOpCode[ch];
  const TGauge& gauge = *p.ProgressGauges[ch];
  const int position = gauge.Position(), maximum = gauge.MaxValue();
  const TGaugeColor color = gauge.ForeColor();
  ShowProgressReport(ch);
  // Only a balanced verdict counts a chip, and one; the step stays.
  FUZZ_CHECK(p.ProgramOkCount[ch] + p.ProgramNgCount[ch] == (balanced && r[1] == 0xF0 ? 1 : 0));
  FUZZ_CHECK(p.ProgOpCode[ch] == opCode && p.ChannelBusy[ch] == 0);
  // A report whose balance byte does not fit leaves the gauge as it was.
  if (!balanced)
    FUZZ_CHECK(gauge.Position() == position && gauge.MaxValue() == maximum && gauge.ForeColor() == color);
  for (int other = 0; other < kProgrammerMax; ++other) {
    if (other != ch) FUZZ_CHECK(p.ProgramOkCount[other] == 0 && p.ProgramNgCount[other] == 0);
  }
  return 0;
}
