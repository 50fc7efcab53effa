// The English program shows every text of its window and dialogs whole.
#include "control_fit.h"

#include <gtest/gtest.h>

#include "started_window.h"

namespace {

TEST_F(StartedWindowTest, TheChecksumPanelsShowTheirWidestSums) {
  EXPECT_EQ(CutChecksumPanels(*window), std::vector<std::string>{});
}

TEST_F(StartedWindowTest, EveryLabelListAndGroupShowsItsWholeText) { ExpectEveryTextFits(*window); }

}  // namespace
