// Where the progress gauges and the log memo go on the "Chip Setting" tab,
// by the number of programmers in use. Made once at start-up.
#pragma once

#include <array>

#include "data/program_state.h"

inline constexpr int kGaugeLeft = 359;
inline constexpr int kGaugeWidth = 547;
inline constexpr int kGaugeHeight = 18;
inline constexpr int kInfoMemoTop = 28;

struct TGaugeLayout {
  int ShownGauges;  // Gauge1 .. Gauge<ShownGauges> are shown, the others hidden
  std::array<int, kProgrammerMax> GaugeTops;  // tops of the shown gauges
  int MemoHeight;
};

// A count of 0 lays out as one programmer; counts above ten as ten.
TGaugeLayout GaugeLayoutFor(int programmerCount);
