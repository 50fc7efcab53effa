// The reply dispatcher: decoding, progress reports, the state table and
// the programmers that states 53 and 58 belong to.
#include "link/reply_dispatch.h"

#include <gtest/gtest.h>

#include "link/step_handlers.h"
#include "operation_fixture.h"

namespace {

constexpr int kCh = 2;

class DispatchTest : public OperationTest {};

// A frame the dispatcher cannot decode ends the programmer's operation,
// whatever it was doing, idle included.
TEST_F(DispatchTest, AnUndecodableFrameIsAPacketErrorEvenWhenIdle) {
  struct Case {
    const char* name;
    Bytes frame;
  };
  const Case cases[] = {
      {"bad escape", {0xC0, 0x93, 0xDB, 0x05, 0x00, 0x55, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0xC0}},
      {"no closing 0xC0", {0xC0, 0x93, 0x05, 0x00, 0x55, 0x00, 0x00, 0x02, 0x00, 0x00}},
      {"fewer than 8 bytes", {0xC0, 0x93, 0x05, 0x00, 0x55, 0x00, 0x00, 0x02, 0xC0}},
  };
  for (const std::uint8_t state : {kOpIdle, kOpProgramMain}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + " in state " + std::to_string(state));
      memo.Lines.clear();
      InState(kCh, state);
      SetGauge(kCh, 3, 50, TGaugeColor::Blue);
      std::copy(c.frame.begin(), c.frame.end(), CommBuffers.RxFrameBuffers[kCh]);
      DispatchReply(kCh, static_cast<std::uint16_t>(c.frame.size()));
      EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "Packet Error!")});
      EXPECT_EQ(View(kCh), (TGaugeView{50, 50, TGaugeColor::Red}));
      EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
      EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
    }
  }
}

// Only its own byte sum decides about a progress report; the state, the
// busy flag and the time-out stay as they are.
TEST_F(DispatchTest, AProgressReportIsShownInEveryState) {
  for (const std::uint8_t state : {kOpIdle, kOpProgramMain, kOpVerifyEep}) {
    SCOPED_TRACE(state);
    memo.Lines.clear();
    InState(kCh, state);
    Bytes report = {0xFD, 0x10, 0, 0, 0, 0, 0, 0};
    report[7] = static_cast<std::uint8_t>(0x100 - (0xFD + 0x10));
    Feed(kCh, sim::EncodeFrame(report));
    EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "Initial Programming Interface ....")});
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], state);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 1);
  }
}

TEST_F(DispatchTest, TheReadsOfProgrammerOneAreDispatchedForItAlone) {
  for (const std::uint8_t state : {kOpChipInfo, kOpReadMemory}) {
    EXPECT_NE(ReplyHandlerFor(state, 0), nullptr) << int{state};
    for (int ch = 1; ch < kProgrammerMax; ++ch) EXPECT_EQ(ReplyHandlerFor(state, ch), nullptr) << int{state};
  }
  EXPECT_EQ(ReplyHandlerFor(kOpChipInfo, 0), &HandleChipInfoReply);

  const Bytes info = DataReply(Bytes(512, 0x11), 0x93);
  InState(1, kOpChipInfo);
  Receive(1, info);
  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_EQ(ProgrammerState.ChannelBusy[1], 1);
  InState(0, kOpChipInfo);
  Receive(0, info);
  EXPECT_EQ(memo.Lines.size(), 34u);
  EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpIdle);
}

TEST_F(DispatchTest, EveryStateHasItsHandlerAndOthersNone) {
  const std::pair<std::uint8_t, TReplyHandler> table[] = {
      {3, HandleChipDataReply},     {15, HandleDriverReply},      {5, HandleMainDownloadReply},
      {6, HandleEepDownloadReply},  {16, HandleBlankCheckReply},  {21, HandleEraseReply},
      {25, HandleMainProgramReply}, {26, HandleEepProgramReply},  {32, HandleMainVerifyReply},
      {35, HandleEepVerifyReply},   {31, HandleOptionWriteReply}, {44, HandleOptionReadReply},
      {37, HandleMainReadReply},    {38, HandleEepReadReply},     {42, HandleChecksumReply},
      {53, HandleChipInfoReply},    {58, HandleMemoryReadReply},
  };
  for (const auto& [state, handler] : table) EXPECT_EQ(ReplyHandlerFor(state, 0), handler) << int{state};
  EXPECT_NE(ReplyHandlerFor(kOpFirmwareUpgrade, 4), nullptr);
  for (const std::uint8_t state : {0, 1, 4, 7, 30, 100, 159, 161, 239, 240, 255})
    EXPECT_EQ(ReplyHandlerFor(state, 0), nullptr) << int{state};
}

TEST_F(DispatchTest, AReplyToAnIdleProgrammerIsDropped) {
  InState(kCh, kOpIdle);
  ProgrammerState.ChannelBusy[kCh] = 0;
  SetGauge(kCh, 10, 10, TGaugeColor::Blue);
  Receive(kCh, ShortReply(0x15));
  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_EQ(View(kCh), (TGaugeView{10, 10, TGaugeColor::Blue}));
}

// The reply's length must be the one its header gives: longer or shorter,
// the step ends with "Packet Error!"; a wrong checksum with its number.
TEST_F(DispatchTest, AReplyIsCheckedBeforeItsHandlerSeesIt) {
  struct Case {
    const char* name;
    Bytes packet;
    std::string line;
  };
  Bytes longer = DataReply(Bytes(6, 0x01), 0x93);
  sim::PutLe16(longer, 6, 5);  // one byte more than it says
  longer.resize(longer.size() - 2);
  const std::uint16_t sum = sim::Checksum16(longer);
  longer.push_back(static_cast<std::uint8_t>(sum));
  longer.push_back(static_cast<std::uint8_t>(sum >> 8));
  Bytes shorter = DataReply(Bytes(6, 0x01), 0x93);
  sim::PutLe16(shorter, 6, 7);
  Bytes corrupted = DataReply(Bytes(6, 0x01), 0x93);
  corrupted.back() ^= 0x40;
  const Case cases[] = {
      {"longer than its length field", longer, "Packet Error!"},
      {"shorter than its length field", shorter, "Packet Error!"},
      {"checksum mismatch", corrupted, "Opertaion Failed! Error Code : 035/0x23."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    InState(kCh, kOpReadChecksum);
    Receive(kCh, c.packet);
    EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, c.line)});
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Red);
  }
}

}  // namespace
