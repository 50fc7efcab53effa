#include <gtest/gtest.h>

#include "link/gauge.h"

namespace {

TEST(Gauge, PositionStaysWithinTheMaximumItHasWhenSet) {
  TGauge g;
  g.SetMaxValue(10);
  g.SetPosition(15);  // set before the larger maximum: clamped
  EXPECT_EQ(g.Position(), 10);
  g.SetMaxValue(500);
  EXPECT_EQ(g.Position(), 10);
  g.SetPosition(15);
  EXPECT_EQ(g.Position(), 15);
  g.SetMaxValue(5);  // lowering the maximum pulls the position down
  EXPECT_EQ(g.Position(), 5);
  g.SetPosition(-3);
  EXPECT_EQ(g.Position(), 0);
}

TEST(Gauge, ZeroMaximumPaintsEmptyAndNotifies) {
  TGauge g;
  int changes = 0;
  g.OnChange = [&] { ++changes; };
  g.SetMaxValue(0);
  g.SetPosition(7);
  EXPECT_EQ(g.Position(), 0);
  EXPECT_EQ(g.Fraction(), 0.0);
  g.SetMaxValue(4);
  g.SetPosition(2);
  EXPECT_DOUBLE_EQ(g.Fraction(), 0.5);
  g.SetForeColor(TGaugeColor::Red);
  EXPECT_EQ(g.ForeColor(), TGaugeColor::Red);
  EXPECT_EQ(changes, 4);  // max 0, max 4, position 2, colour; the clamped no-op did not notify
}

}  // namespace
