#include <gtest/gtest.h>

#include <vector>

#include "ui/gauge_layout.h"

namespace {

struct TLayoutCase {
  int ProgrammerCount;
  std::vector<int> Tops;
  int MemoHeight;
};

TEST(GaugeLayout, ShowsTheGaugesOfTheCountsRowUnderAMemoOfItsHeight) {
  const std::vector<TLayoutCase> cases = {
      {0, {466}, 436},
      {1, {466}, 436},
      {2, {408, 427, 446, 466}, 376},
      {4, {408, 427, 446, 466}, 376},
      {5, {331, 350, 369, 389, 408, 427, 446, 466}, 300},
      {8, {331, 350, 369, 389, 408, 427, 446, 466}, 300},
      {9, {292, 312, 331, 350, 369, 389, 408, 427, 446, 466}, 262},
      {10, {292, 312, 331, 350, 369, 389, 408, 427, 446, 466}, 262},
      {11, {292, 312, 331, 350, 369, 389, 408, 427, 446, 466}, 262},
  };
  for (const TLayoutCase& c : cases) {
    SCOPED_TRACE(c.ProgrammerCount);
    const TGaugeLayout layout = GaugeLayoutFor(c.ProgrammerCount);
    ASSERT_EQ(layout.ShownGauges, static_cast<int>(c.Tops.size()));
    EXPECT_EQ(std::vector<int>(layout.GaugeTops.begin(), layout.GaugeTops.begin() + layout.ShownGauges), c.Tops);
    EXPECT_EQ(layout.MemoHeight, c.MemoHeight);
    // Nothing overlaps: the memo ends above the first gauge, each gauge above the next.
    EXPECT_LE(kInfoMemoTop + layout.MemoHeight, layout.GaugeTops[0]);
    for (int i = 1; i < layout.ShownGauges; ++i) EXPECT_GE(layout.GaugeTops[i] - layout.GaugeTops[i - 1], kGaugeHeight);
  }
}

}  // namespace
