#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "channel_fixture.h"
#include "data/log_lines.h"
#include "link/channel_progress.h"
#include "link/result_report.h"

namespace {

constexpr TGaugeColor kBlue = TGaugeColor::Blue;
constexpr TGaugeColor kRed = TGaugeColor::Red;

using ChannelLog = ChannelTest;

TEST_F(ChannelLog, LinesCarryTimeAndProgrammerNumber) {
  LogChannelMessage("Chip is Blank!", 2);
  LogChannelMessage("x", 9);
  AddLog("Hello Velmot200IND User! ------ ");
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> 10:21:07 C3 : Chip is Blank!", "> 10:21:07 C10 : x",
                                                   "> 10:21:07 Hello Velmot200IND User! ------ "}));
}

TEST_F(ChannelLog, WithoutMemoNothingIsLoggedAndResultsStillEnd) {
  SessionTexts.InfoMemoRef = nullptr;
  ProgrammerState.ChannelBusy[1] = 1;
  LogChannelMessage("lost", 1);
  AddLog("lost");
  ReportResult(0x23, 1);
  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_EQ(ProgrammerState.ChannelBusy[1], 0);
  EXPECT_EQ(View(1).Color, kRed);
}

using StartProgress = ChannelTest;

TEST_F(StartProgress, GaugeModes) {
  struct Case {
    const char* name;
    std::uint16_t ticks;
    std::uint32_t length;
    bool blockMode;
    int previousMax;
    std::uint16_t blockCount;
    int position, max;
  };
  const Case cases[] = {
      {"time mode", 500, 5000, false, 100, 5, 15, 500},
      {"time mode, position held by the previous maximum", 500, 5000, false, 12, 5, 12, 500},
      {"erase time mode", 2000, 0x20000, false, 100, 128, 30, 2000},
      {"block mode", 500, 5000, true, 100, 5, 4, 5},
      {"block mode, length 0", 500, 0, true, 100, 0, 2, 4},
      {"length just over a block", 500, 1025, true, 100, 2, 2, 2},
      {"exact blocks", 500, 4096, true, 100, 4, 4, 4},
      {"block count kept in 16 bits: empty gauge", 500, 0x4000000, true, 100, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    SetGauge(4, 0, c.previousMax, kRed);
    ProgrammerState.BlockIndex[4] = 7;
    ProgrammerState.ProgOpCode[4] = 25;
    ProgrammerState.GaugeTicking[4] = 1;

    StartChannelProgress(c.ticks, c.length, c.blockMode, 4);

    EXPECT_EQ(ProgrammerState.BlockCount[4], c.blockCount);
    EXPECT_EQ(View(4), (TGaugeView{c.position, c.max, kBlue}));
    EXPECT_EQ(ProgrammerState.BlockIndex[4], 0);
    EXPECT_EQ(ProgrammerState.ReplyTimeout[4], c.ticks);
    EXPECT_EQ(ProgrammerState.ChannelBusy[4], 1);
    EXPECT_EQ(ProgrammerState.ProgOpCode[4], 25);  // the starter's to set
    EXPECT_EQ(ProgrammerState.GaugeTicking[4], 1);
    EXPECT_EQ(ProgrammerState.ChannelBusy[3] + ProgrammerState.ChannelBusy[5], 0);
  }
}

using EndOperation = ChannelTest;

TEST_F(EndOperation, ReportResultMessagesAndGauge) {
  struct Case {
    std::uint8_t code;
    const char* message;
    TGaugeColor color;
  };
  const Case cases[] = {
      {0x00, "Operation Success!", kBlue},
      {0x06, "Operation Success!", kBlue},
      {0x84, "Chip error: Arm Fault Response!", kRed},  // top bit cleared for the text
      {0x07, "Chip error: Arm Fault Response!", kRed},
      {0x0B, "Chip error: No Response!", kRed},
      {0x20, "Packet Error!", kRed},
      {0x31, "Data Verify error!", kRed},
      {0xE0, "Programming Interface error: No Response!", kRed},
      {0x80, "Opertaion Failed! Error Code : 0128/0x80.", kRed},  // success only for exactly 0 and 6
      {0x86, "Opertaion Failed! Error Code : 0134/0x86.", kRed},
      {0x23, "Opertaion Failed! Error Code : 035/0x23.", kRed},
      {0x01, "Opertaion Failed! Error Code : 01/0x01.", kRed},
      {0xFF, "Opertaion Failed! Error Code : 0255/0xFF.", kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "code 0x" << std::hex << int(c.code));
    SetUp();
    ProgrammerState.ProgOpCode[2] = 32;
    ProgrammerState.ChannelBusy[2] = 1;
    ProgrammerState.GaugeTicking[2] = 1;
    SetGauge(2, 3, 40, kBlue);

    ReportResult(c.code, 2);

    EXPECT_EQ(memo.Lines, std::vector<std::string>{std::string("> 10:21:07 C3 : ") + c.message});
    EXPECT_EQ(View(2), (TGaugeView{40, 40, c.color}));
    EXPECT_EQ(ProgrammerState.ProgOpCode[2], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[2], 0);
    EXPECT_EQ(ProgrammerState.GaugeTicking[2], 1);
  }
}

// An upgrade that ends failed, by a refused block or a corrupt reply (both
// reach ReportResult) or by its time-out, stays pending and leaves its
// programmer unlinked, with one more line after the one that says why.
// Another operation's failure, and a success, leave the flags alone.
TEST_F(EndOperation, AFailedUpgradeStaysPendingAndLeavesItsProgrammerOut) {
  const std::string leftOut = "Firmware Upgrade Failed, Programmer Left Out, Connect Dev. to Try Again!";
  struct Case {
    const char* name;
    std::uint8_t state;
    std::function<void(int)> end;
    std::vector<std::string> lines;
    bool leftOutAfter;
  };
  const Case cases[] = {
      {"refused block", kOpFirmwareUpgrade, [](int ch) { ReportResult(0x15, ch); },
       {"Command Execute Failed!", leftOut}, true},
      {"corrupt reply", kOpFirmwareUpgrade, [](int ch) { ReportResult(0x20, ch); }, {"Packet Error!", leftOut}, true},
      {"time-out", kOpFirmwareUpgrade, [](int ch) { ReportFailure("Command Executed Time Out!", ch); },
       {"Command Executed Time Out!", leftOut}, true},
      {"another operation fails", kOpProgramMain, [](int ch) { ReportResult(0x15, ch); }, {"Command Execute Failed!"},
       false},
      {"another operation succeeds", kOpProgramMain, [](int ch) { ReportResult(6, ch); }, {"Operation Success!"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    ProgrammerState.ProgOpCode[1] = c.state;
    ProgrammerState.ChannelBusy[1] = 1;
    ProgrammerState.DeviceLinked[1] = 1;
    ProgrammerState.UpgradePending[1] = 1;

    c.end(1);

    std::vector<std::string> expected;
    for (const std::string& line : c.lines) expected.push_back("> 10:21:07 C2 : " + line);
    EXPECT_EQ(memo.Lines, expected);
    EXPECT_EQ(ProgrammerState.UpgradePending[1], 1);
    EXPECT_EQ(ProgrammerState.DeviceLinked[1], c.leftOutAfter ? 0 : 1);
    EXPECT_EQ(ProgrammerState.ChannelBusy[1], 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[1], kOpIdle);
  }
}

// What a search or the close stops: each busy programmer (a step, an
// upgrade) ends as failed with one line; an idle one is left as it was.
TEST_F(EndOperation, StoppedOperationsEndAsFailedWithOneLineEach) {
  ProgrammerState.ProgOpCode[1] = kOpProgramMain;
  ProgrammerState.ChannelBusy[1] = 1;
  SetGauge(1, 3, 40, kBlue);
  ProgrammerState.ProgOpCode[4] = kOpFirmwareUpgrade;
  ProgrammerState.ChannelBusy[4] = 1;
  ProgrammerState.UpgradePending[4] = 1;
  SetGauge(4, 2, 12, kBlue);
  SetGauge(0, 5, 10, kBlue);  // ended well before: idle

  StopRunningOperations();

  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> 10:21:07 C2 : Operation stopped before it finished!",
                                                   "> 10:21:07 C5 : Operation stopped before it finished!"}));
  EXPECT_EQ(View(1), (TGaugeView{40, 40, kRed}));
  EXPECT_EQ(View(4), (TGaugeView{12, 12, kRed}));
  EXPECT_EQ(View(0), (TGaugeView{5, 10, kBlue}));
  for (int ch : {1, 4}) {
    EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
  }
  // Stopped, not failed: no left-out line. The search or the off-line start
  // that stopped it drops it after.
  EXPECT_EQ(ProgrammerState.UpgradePending[4], 1);

  StopRunningOperations();  // nothing runs any more
  EXPECT_EQ(memo.Lines.size(), 2u);
}

TEST_F(EndOperation, MissingGaugeIsSkipped) {
  ProgrammerState.ProgressGauges[5] = nullptr;
  StartChannelProgress(500, 5000, false, 5);
  ReportResult(0x40, 5);
  EXPECT_EQ(ProgrammerState.ProgOpCode[5], kOpIdle);
  EXPECT_EQ(memo.Lines, std::vector<std::string>{"> 10:21:07 C6 : Command Execute Time Out!"});
}

}  // namespace
