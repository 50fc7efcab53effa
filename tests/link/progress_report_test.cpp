#include <gtest/gtest.h>

#include <cstring>

#include "channel_fixture.h"
#include "link/progress_report.h"

namespace {

constexpr TGaugeColor kBlue = TGaugeColor::Blue;
constexpr TGaugeColor kRed = TGaugeColor::Red;

class ProgressReport : public ChannelTest {
 protected:
  // Writes a report into programmer ch's packet buffer, balanced so that
  // bytes 0..7 add up to sumOff modulo 256.
  static void PutReport(int ch, std::uint8_t stage, std::uint8_t result, std::uint16_t current, std::uint16_t total,
                        std::uint8_t sumOff = 0) {
    std::uint8_t r[8] = {0xFD,
                         stage,
                         result,
                         static_cast<std::uint8_t>(current),
                         static_cast<std::uint8_t>(current >> 8),
                         static_cast<std::uint8_t>(total),
                         static_cast<std::uint8_t>(total >> 8),
                         0};
    std::uint8_t sum = 0;
    for (int i = 0; i < 7; ++i) sum = static_cast<std::uint8_t>(sum + r[i]);
    r[7] = static_cast<std::uint8_t>(sumOff - sum);
    std::memcpy(CommBuffers.PacketBuffers[ch], r, sizeof r);
  }
  void Show(int ch, std::uint8_t stage, std::uint8_t result = 0, std::uint16_t current = 0, std::uint16_t total = 0) {
    PutReport(ch, stage, result, current, total);
    ShowProgressReport(ch);
  }
  static std::string Line(const std::string& text, int ch = 0) {
    return "> 10:21:07 C" + std::to_string(ch + 1) + " : " + text;
  }
};

TEST_F(ProgressReport, FixedStages) {
  struct Case {
    std::uint8_t stage;
    const char* text;
    int position;
    TGaugeColor colorAfterRed;
  };
  const Case cases[] = {
      {0x10, "Initial Programming Interface ....", 5, kBlue},
      {0x20, "Chip Blank Checking....", 50, kRed},
      {0x30, "Do Chip Erasing....", 50, kRed},
      {0x70, "Do Main Flash Verification....", 50, kBlue},
      {0x80, "Do EEP Data Verification....", 50, kRed},
      {0xA0, "Do Chip Option Byte Programming....", 50, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "stage 0x" << std::hex << int(c.stage));
    SetUp();
    SetGauge(0, 0, 200, kRed);
    Show(0, c.stage, 0, 9, 9);  // current and total do not matter here
    EXPECT_EQ(View(0), (TGaugeView{c.position, 100, c.colorAfterRed}));
    EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(c.text)});
  }
}

TEST_F(ProgressReport, BlockStagesLogOnlyTheirFirstReport) {
  SetGauge(1, 0, 100, kRed);
  Show(1, 0x40, 0, 0, 20);
  EXPECT_EQ(View(1), (TGaugeView{2, 20, kBlue}));
  Show(1, 0x40, 0, 1, 20);
  Show(1, 0x40, 0, 7, 20);
  EXPECT_EQ(View(1), (TGaugeView{9, 20, kBlue}));
  EXPECT_EQ(memo.Lines, std::vector<std::string>{Line("Do Main Flash Programming....", 1)});

  memo.Lines.clear();
  SetGauge(1, 0, 20, kRed);
  Show(1, 0x50, 0, 30, 300);  // the position is set within the old maximum first
  EXPECT_EQ(View(1), (TGaugeView{20, 300, kRed}));
  EXPECT_TRUE(memo.Lines.empty());
  Show(1, 0x50, 0, 0, 300);
  EXPECT_EQ(View(1), (TGaugeView{2, 300, kRed}));
  Show(1, 0x50, 0, 258, 300);
  EXPECT_EQ(View(1), (TGaugeView{260, 300, kRed}));
  EXPECT_EQ(memo.Lines, std::vector<std::string>{Line("Do EEP Data Programming....", 1)});

  Show(1, 0x40, 0, 0, 0);  // a total of 0 gives an empty gauge
  EXPECT_EQ(View(1), (TGaugeView{0, 0, kBlue}));
}

TEST_F(ProgressReport, FinalStageCountsPassedAndFailedChips) {
  ProgrammerState.ProgramOkCount[2] = 11;
  ProgrammerState.ProgramNgCount[2] = 1;
  ProgrammerState.ProgOpCode[2] = kOpIdle;
  SetGauge(2, 10, 100, kRed);

  Show(2, 0xF0, 6);
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{Line("Progrmming Completed : Successed !", 2),
                                                   Line("OK=12, NG=1.", 2)}));
  EXPECT_EQ(View(2), (TGaugeView{100, 100, kBlue}));

  memo.Lines.clear();
  SetGauge(2, 10, 100, kBlue);
  Show(2, 0xF0, 0x15);
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{Line("Progrmming Completed : Failed : Error=0x15!", 2),
                                                   Line("OK=12, NG=2.", 2)}));
  EXPECT_EQ(View(2), (TGaugeView{100, 100, kRed}));
  EXPECT_EQ(ProgrammerState.ProgOpCode[2], kOpIdle);
  EXPECT_EQ(ProgrammerState.ProgramOkCount[3] + ProgrammerState.ProgramNgCount[3], 0);
}

TEST_F(ProgressReport, DroppedReportsChangeNothing) {
  ProgrammerState.ProgOpCode[0] = 25;
  ProgrammerState.ChannelBusy[0] = 1;
  ProgrammerState.ReplyTimeout[0] = 1000;
  SetGauge(0, 3, 40, kRed);

  PutReport(0, 0xF0, 6, 0, 0, /*sumOff=*/1);
  ShowProgressReport(0);
  PutReport(0, 0x10, 0, 0, 0, /*sumOff=*/0xFF);
  ShowProgressReport(0);
  Show(0, 0x60);  // no such stage
  Show(0, 0x00);

  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_EQ(View(0), (TGaugeView{3, 40, kRed}));
  EXPECT_EQ(ProgrammerState.ProgramOkCount[0], 0);
  EXPECT_EQ(ProgrammerState.ProgramNgCount[0], 0);

  // A report changes neither the state, the busy flag nor the time-out.
  Show(0, 0xF0, 6);
  EXPECT_EQ(ProgrammerState.ProgOpCode[0], 25);
  EXPECT_EQ(ProgrammerState.ChannelBusy[0], 1);
  EXPECT_EQ(ProgrammerState.ReplyTimeout[0], 1000);
}

}  // namespace
