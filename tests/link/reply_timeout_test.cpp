#include <gtest/gtest.h>

#include "channel_fixture.h"
#include "link/reply_timeout.h"

namespace {

using ReplyTimeout = ChannelTest;

TEST_F(ReplyTimeout, SilentProgrammerEndsRedAndIdleOthersStay) {
  SetGauge(3, 20, 500, TGaugeColor::Blue);
  ProgrammerState.ProgOpCode[3] = 5;
  ProgrammerState.ChannelBusy[3] = 1;
  ProgrammerState.ReplyTimeout[3] = 1;
  ProgrammerState.GaugeTicking[3] = 1;
  // Idle programmers: neither counter nor gauge moves.
  for (int ch : {0, 9}) {
    SetGauge(ch, 7, 500, TGaugeColor::Blue);
    ProgrammerState.ReplyTimeout[ch] = 1;
    ProgrammerState.GaugeTicking[ch] = 1;
  }

  TickReplyTimeouts();

  EXPECT_EQ(memo.Lines, std::vector<std::string>{"> 10:21:07 C4 : Command Executed Time Out!"});
  EXPECT_EQ(View(3), (TGaugeView{500, 500, TGaugeColor::Red}));
  EXPECT_EQ(ProgrammerState.ProgOpCode[3], kOpIdle);
  EXPECT_EQ(ProgrammerState.ChannelBusy[3], 0);
  for (int ch : {0, 9}) {
    EXPECT_EQ(ProgrammerState.ReplyTimeout[ch], 1);
    EXPECT_EQ(View(ch), (TGaugeView{7, 500, TGaugeColor::Blue}));
  }

  TickReplyTimeouts();  // the finish cleared the busy flag: one line only
  EXPECT_EQ(memo.Lines.size(), 1u);
}

TEST_F(ReplyTimeout, CountsDownAndStepsOnlyTickingGauges) {
  for (int ch : {1, 2}) {
    SetGauge(ch, 10, 12, TGaugeColor::Blue);
    ProgrammerState.ChannelBusy[ch] = 1;
    ProgrammerState.ReplyTimeout[ch] = 4;
  }
  ProgrammerState.GaugeTicking[1] = 1;

  for (int i = 0; i < 3; ++i) TickReplyTimeouts();

  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_EQ(ProgrammerState.ReplyTimeout[1], 1);
  EXPECT_EQ(ProgrammerState.ReplyTimeout[2], 1);
  EXPECT_EQ(View(1).Position, 12);  // stops at its maximum
  EXPECT_EQ(View(2).Position, 10);
}

TEST_F(ReplyTimeout, ZeroTimesOutOnTheNextTickAndEndsAnUpgrade) {
  ProgrammerState.ChannelBusy[0] = 1;
  ProgrammerState.ReplyTimeout[0] = 0;
  ProgrammerState.ProgOpCode[6] = kOpFirmwareUpgrade;
  ProgrammerState.ChannelBusy[6] = 1;
  ProgrammerState.UpgradePending[6] = 1;
  ProgrammerState.ReplyTimeout[6] = 1;
  ProgrammerState.ProgressGauges[6] = nullptr;

  TickReplyTimeouts();

  // The upgrade is not done: still pending, and its programmer left out.
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{
                            "> 10:21:07 C1 : Command Executed Time Out!", "> 10:21:07 C7 : Command Executed Time Out!",
                            "> 10:21:07 C7 : Firmware Upgrade Failed, Programmer Left Out, Connect Dev. to Try Again!"}));
  EXPECT_EQ(ProgrammerState.UpgradePending[6], 1);
  EXPECT_EQ(ProgrammerState.ProgOpCode[6], kOpIdle);
}

}  // namespace
