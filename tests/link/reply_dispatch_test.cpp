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

// A reply as some units send it: the length field counts the reply, and
// the unit rounds the packet up with padding, covered by the checksum.
sim::Bytes Padded(sim::Bytes packet, std::uint16_t lengthField, std::size_t extra) {
  sim::PutLe16(packet, 6, lengthField);
  packet.resize(packet.size() - 2);
  packet.insert(packet.end(), extra, 0xEE);
  sim::AppendChecksum(packet);
  return packet;
}

// The checksum decides first; then a step sees the payload its length field
// counts, no more: padding behind it is ignored, and a payload that did not
// come in full is "Packet Error!".
TEST_F(DispatchTest, AReplyIsCheckedBeforeItsHandlerSeesIt) {
  struct Case {
    const char* name;
    std::uint8_t state;
    Bytes packet;
    std::string line;
  };
  const Bytes sums = {0x34, 0x12, 0x78, 0x56, 0x34, 0x12};
  Bytes corrupted = DataReply(sums, 0x93);
  corrupted.back() ^= 0x40;
  Bytes corruptedLonger = DataReply(sums, 0x93);
  sim::PutLe16(corruptedLonger, 6, 9);  // and its checksum no longer matches
  const Case cases[] = {
      {"padded data reply", kOpReadChecksum, Padded(DataReply(sums, 0x93), 6, 10),
       "Read Chip CRC16/ACC32 CheckSum:  0x1234/0x12345678."},
      {"padded short reply", kOpBlankCheck, Padded(ShortReply(0x00), 2, 4), "Chip is Blank!"},
      {"fewer counted than the step uses", kOpReadChecksum, Padded(DataReply(sums, 0x93), 5, 1), "Packet Error!"},
      {"more counted than came", kOpReadChecksum, Padded(DataReply(sums, 0x93), 7, 0), "Packet Error!"},
      {"checksum mismatch", kOpReadChecksum, corrupted, "Opertaion Failed! Error Code : 035/0x23."},
      {"checksum mismatch and a wrong length", kOpReadChecksum, corruptedLonger,
       "Opertaion Failed! Error Code : 035/0x23."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    InState(kCh, c.state);
    Receive(kCh, c.packet);
    EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, c.line)});
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
  }
}

}  // namespace
