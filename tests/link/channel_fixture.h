// A clean program state with ten gauges, a memo that keeps its lines and a
// clock fixed at 10:21:07.
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "data/operator_io.h"
#include "data/program_state.h"
#include "link/gauge.h"

class TMemoLines final : public ILogMemo {
 public:
  void AddLine(const std::string& line) override { Lines.push_back(line); }
  std::vector<std::string> Lines;
};

class TFixedClock final : public IClock {
 public:
  TClockTime Now() const override { return {2024, 5, 6, 10, 21, 7}; }
};

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    TProgrammerBindings bindings;
    for (int ch = 0; ch < kProgrammerMax; ++ch) bindings.Gauges[ch] = &gauges[ch];
    InitGlobalSettings(bindings);
    memo.Lines.clear();
    SessionTexts.InfoMemoRef = &memo;
    SetClock(&clock);
  }
  void TearDown() override {
    SetClock(nullptr);
    ResetProgramState();
  }

  // Gauge state in one value for compact comparisons.
  struct TGaugeView {
    int Position, Max;
    TGaugeColor Color;
    bool operator==(const TGaugeView&) const = default;
    friend void PrintTo(const TGaugeView& v, std::ostream* os) {
      *os << v.Position << " of " << v.Max << (v.Color == TGaugeColor::Red ? " red" : " blue");
    }
  };
  TGaugeView View(int ch) const { return {gauges[ch].Position(), gauges[ch].MaxValue(), gauges[ch].ForeColor()}; }
  void SetGauge(int ch, int position, int max, TGaugeColor color) {
    gauges[ch].SetMaxValue(max);
    gauges[ch].SetPosition(position);
    gauges[ch].SetForeColor(color);
  }

  TGauge gauges[kProgrammerMax];
  TMemoLines memo;
  TFixedClock clock;
};
