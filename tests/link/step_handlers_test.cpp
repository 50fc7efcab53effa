// The step handlers, fed replies as a programmer sends them: which results
// each accepts, how the sequences go on, what a reply must carry, the
// verification boxes and the dumps of the reads.
#include "link/step_handlers.h"

#include <gtest/gtest.h>

#include "link/reply_timeout.h"
#include "operation_fixture.h"

namespace {

constexpr int kCh = 2;
using Bytes = sim::Bytes;

Bytes Slice(const std::uint8_t* from, std::size_t n) { return Bytes(from, from + n); }
Bytes MainBlock(std::size_t offset) {
  return Slice(MemoryImages.MainFlashImage + SelectedChip.MainBaseOffset + offset, 4096);
}
Bytes EepBlock(std::size_t offset) {
  Bytes block(4096, 0xFF);
  std::copy_n(MemoryImages.EepImage + offset, std::min<std::size_t>(4096, kEepImageSize - offset), block.begin());
  return block;
}

class StepTest : public OperationTest {
 protected:
  std::vector<std::string> Lines(std::initializer_list<const char*> messages) const {
    std::vector<std::string> lines;
    for (const char* m : messages) lines.push_back(Line(kCh, m));
    return lines;
  }
  bool Idle(int ch = kCh) const {
    return ProgrammerState.ProgOpCode[ch] == kOpIdle && ProgrammerState.ChannelBusy[ch] == 0;
  }
};

TEST_F(StepTest, BlankCheckAnswersInAnAutoRunAndAlone) {
  struct Case {
    std::uint8_t result;
    bool autoRun;
    std::vector<std::string> lines;
    std::uint8_t state;  // afterwards
    std::uint16_t ticks;
    TGaugeColor color;
  };
  const auto L = [this](std::initializer_list<const char*> m) { return Lines(m); };
  const Case cases[] = {
      {0x00, true, L({"Chip is Blank!", "Start to Program Main Flash Data......"}), kOpProgramMain, 500, TGaugeColor::Blue},
      {0x06, false, L({"Chip is Blank!"}), kOpIdle, 0, TGaugeColor::Blue},
      {0x15, true, L({"Chip is not blank, do erasing......"}), kOpErase, 2000, TGaugeColor::Blue},
      {0x15, false, L({"Chip is not blank!"}), kOpIdle, 0, TGaugeColor::Red},
      {0x13, true, L({"Chip has been protected, do erasing......"}), kOpErase, 2000, TGaugeColor::Blue},
      {0x10, true, L({"Chip has been protected, do erasing......"}), kOpErase, 2000, TGaugeColor::Blue},
      {0x5A, true, L({"Chip has been protected, do erasing......"}), kOpErase, 2000, TGaugeColor::Blue},
      {0x13, false, L({"Chip has been read out protected!", "Chip Has been Read out Protected!"}), kOpIdle, 0,
       TGaugeColor::Red},
      {0x10, false, L({"Chip has been read out protected!", "Chip Has been Written Protected!"}), kOpIdle, 0,
       TGaugeColor::Red},
      {0x5A, false, L({"Chip has been read out protected!", "Opertaion Failed! Error Code : 090/0x5A."}), kOpIdle, 0,
       TGaugeColor::Red},
      {0x2C, true, L({"Flash Memory Error!"}), kOpIdle, 0, TGaugeColor::Red},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.result) + (c.autoRun ? " auto" : " single"));
    memo.Lines.clear();
    InState(kCh, kOpBlankCheck);
    ProgrammerState.AutoMode[kCh] = c.autoRun;
    Receive(kCh, ShortReply(c.result));
    EXPECT_EQ(memo.Lines, c.lines);
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], c.state);
    if (c.state != kOpIdle) {
      EXPECT_EQ(ProgrammerState.ReplyTimeout[kCh], c.ticks);
    }
    EXPECT_EQ(gauges[kCh].ForeColor(), c.color);
  }
}

// 0 and 6 are success everywhere; where a step needs data, a short 6 ends
// it well and nothing else of the step happens. A read's success is no chip
// done, whatever auto flag the programmer holds: programmer 1's option,
// chip-information and address reads keep that of the Auto before them.
TEST_F(StepTest, StepsThatNeedDataEndWithSuccessOnAShortSix) {
  const std::uint8_t dataSteps[] = {kOpVerifyMain, kOpVerifyEep, kOpReadMain, kOpReadEep, kOpReadChecksum};
  for (const std::uint8_t state : dataSteps) {
    SCOPED_TRACE(int{state});
    memo.Lines.clear();
    views.Calls.clear();
    InState(kCh, state);
    ProgrammerState.AutoMode[kCh] = state != kOpVerifyMain && state != kOpVerifyEep;  // a verify alone
    Receive(kCh, ShortReply(0x06));
    EXPECT_EQ(memo.Lines, Lines({"Operation Success!"}));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Blue);
    EXPECT_TRUE(views.Calls.empty());
  }
  memo.Lines.clear();
  InState(0, kOpChipInfo);
  ProgrammerState.AutoMode[0] = 1;
  Receive(0, ShortReply(0x06));
  EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(0, "Operation Success!")});
  // The reads that accept a short 6 as their answer.
  for (const std::uint8_t state : {kOpReadOption, kOpReadMemory}) {
    SCOPED_TRACE(int{state});
    views.Calls.clear();
    InState(0, state);
    ProgrammerState.AutoMode[0] = 1;
    Receive(0, ShortReply(0x06));
    EXPECT_TRUE(Idle(0));
    EXPECT_EQ(std::count(views.Calls.begin(), views.Calls.end(), "AdvanceSerialNumber"), 0);
  }
  EXPECT_EQ(SessionState.ProgrammedCount, 0u);
}

// A reply is used only as far as it came: one short of the bytes a step
// uses ends the step with "Packet Error!" and leaves the image alone.
TEST_F(StepTest, ADataReplyMustCarryTheBytesItsStepUses) {
  struct Case {
    const char* name;
    int ch;
    std::uint8_t state;
    std::size_t needed;
  };
  SessionState.ReadLength = 48;
  const Case cases[] = {
      {"verify main", kCh, kOpVerifyMain, 4096}, {"verify EEP (0x600 bytes)", kCh, kOpVerifyEep, 0x600},
      {"read main", kCh, kOpReadMain, 4096},     {"read EEP", kCh, kOpReadEep, 0x600},
      {"checksums", kCh, kOpReadChecksum, 6},    {"chip information", 0, kOpChipInfo, 512},
      {"memory range", 0, kOpReadMemory, 48},
  };
  const Bytes mainBefore = MainBlock(0);
  for (const Case& c : cases) {
    for (const std::size_t sent : {std::size_t{0}, c.needed - 1}) {
      if (sent == 0 && c.state == kOpReadMemory) continue;  // a short reply accepts it (below)
      SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(sent) + " bytes");
      memo.Lines.clear();
      InState(c.ch, c.state, 2);
      Bytes data(sent, 0x00);
      Receive(c.ch, sent == 0 ? ShortReply(0x00) : DataReply(data));
      EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(c.ch, "Packet Error!")});
      EXPECT_TRUE(Idle(c.ch));
      EXPECT_EQ(MainBlock(0), mainBefore);
    }
  }
  // The EEP's last, partial block needs only what is left of the area.
  memo.Lines.clear();
  InState(kCh, kOpReadEep, 2);
  Receive(kCh, DataReply(Bytes(0x600, 0x3C)));
  EXPECT_EQ(memo.Lines, Lines({"EEP Data has been read out!"}));
  EXPECT_EQ(Slice(MemoryImages.EepImage, 0x601), [] {
    Bytes b(0x600, 0x3C);
    b.push_back(static_cast<std::uint8_t>(0x600 * 13 + 5));  // the byte past the area is untouched
    return b;
  }());
}

TEST_F(StepTest, DownloadGoesFromChipDataThroughDriverMainAndEep) {
  TProgrammerState& p = ProgrammerState;
  SelectedChip.UseFlashDriver = 1;
  ProgramSettings.EepProgram = 1;
  InState(kCh, kOpChipDataDownload);
  Receive(kCh, ShortReply(0));
  EXPECT_EQ(p.ProgOpCode[kCh], kOpDriverDownload);
  Receive(kCh, ShortReply(6));
  EXPECT_EQ(p.ProgOpCode[kCh], kOpMainDownload);
  EXPECT_EQ(p.BlockCount[kCh], 5);  // MainDataLength 5000
  Receive(kCh, ShortReply(0));
  EXPECT_EQ(p.BlockIndex[kCh], 4);
  EXPECT_EQ(View(kCh), (TGaugeView{5, 5, TGaugeColor::Blue}));
  Receive(kCh, ShortReply(0));
  EXPECT_EQ(p.ProgOpCode[kCh], kOpEepDownload);
  Receive(kCh, ShortReply(0));
  EXPECT_TRUE(Idle());
  EXPECT_EQ(SessionState.DownloadDoneCount, 1);
  EXPECT_EQ(memo.Lines, Lines({"Start to Download Main Flash Data......", "Start to Dwonload EEP Data......",
                               "Data Donwload Success!"}));
}

TEST_F(StepTest, AChecksumMismatchEndsAnyStepWithItsNumber) {
  for (const std::uint8_t state : {kOpChipDataDownload, kOpMainDownload, kOpErase, kOpProgramEep, kOpWriteOption,
                                   kOpReadOption, kOpVerifyMain}) {
    SCOPED_TRACE(int{state});
    memo.Lines.clear();
    InState(kCh, state);
    Bytes reply = ShortReply(0);
    reply.back() ^= 1;
    Receive(kCh, reply);
    EXPECT_EQ(memo.Lines, Lines({"Opertaion Failed! Error Code : 035/0x23."}));
    EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Red);
  }
}

// Main area from 0x08000000: a difference at the first byte of the second
// block is shown at 0x00001000 (from the start of the area); in the EEP at
// EepStart + 0x1000.
TEST_F(StepTest, VerifyShowsEveryDifferenceWithItsAddressUntilAbort) {
  SelectedChip.EepSize = 0x2000;
  SelectedChip.EepEnd = SelectedChip.EepStart + 0x1FFF;
  struct Case {
    const char* name;
    std::uint8_t state;
    std::function<Bytes(std::size_t)> image;
    std::string firstBox;
  };
  const Case cases[] = {
      {"main", kOpVerifyMain, MainBlock, "Chip 3: Address=0x00001000,Buffer=0x%02X,Chip=0x%02X"},
      {"EEP", kOpVerifyEep, EepBlock, "Chip 3: Address=0x08101000,Buffer=0x%02X,Chip=0x%02X"},
  };
  for (const Case& c : cases) {
    for (const TPromptAnswer answer : {TPromptAnswer::Yes, TPromptAnswer::Abort}) {
      SCOPED_TRACE(std::string(c.name) + (answer == TPromptAnswer::Abort ? ", abort" : ", yes"));
      memo.Lines.clear();
      prompts.Shown.clear();
      prompts.Answers = {answer, answer};
      InState(kCh, c.state, 8);
      Receive(kCh, DataReply(c.image(0)));
      ASSERT_EQ(ProgrammerState.BlockIndex[kCh], 4);
      Bytes chip = c.image(0x1000);
      const std::uint8_t imageByte = chip[0];
      chip[0] ^= 0x81;
      chip[7] ^= 0x01;
      chip[9] ^= 0x01;
      Receive(kCh, DataReply(chip));
      char first[80];
      std::snprintf(first, sizeof first, c.firstBox.c_str(), imageByte, chip[0]);
      ASSERT_FALSE(prompts.Shown.empty());
      EXPECT_EQ(prompts.Shown[0], first);
      EXPECT_EQ(prompts.Shown.size(), answer == TPromptAnswer::Abort ? 1u : 3u);
      EXPECT_EQ(memo.Lines, Lines({"Data Verify error!"}));
      EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Red);
      EXPECT_TRUE(Idle());
    }
  }
}

// EEP of 0x600 bytes: one packet, 0x600 bytes compared (a difference at
// 0x5FF counts, one at 0x600 does not), the gauge's 7 held at its maximum 2.
TEST_F(StepTest, EepVerifyComparesTheAreaOnly) {
  for (const std::size_t at : {std::size_t{0x5FF}, std::size_t{0x600}}) {
    SCOPED_TRACE(at);
    memo.Lines.clear();
    prompts.Shown.clear();
    InState(kCh, kOpVerifyEep, 2);
    gauges[kCh].SetMaxValue(2);
    Bytes chip = EepBlock(0);
    chip[at] ^= 0xFF;
    Receive(kCh, DataReply(chip));
    if (at < 0x600) {
      EXPECT_EQ(prompts.Shown.size(), 1u);
      EXPECT_EQ(memo.Lines, Lines({"Data Verify error!"}));
    } else {
      EXPECT_TRUE(prompts.Shown.empty());
      EXPECT_EQ(memo.Lines, Lines({"EEP Data Verify Successed!"}));
      EXPECT_EQ(View(kCh), (TGaugeView{2, 2, TGaugeColor::Blue}));
    }
    EXPECT_TRUE(Idle());
  }
}

// The Verify command with "Prog. Data Flash" verifies the EEP as well, and
// ends there without the option write.
TEST_F(StepTest, VerifyAloneGoesOnToTheEepAndEnds) {
  ProgramSettings.EepProgram = 1;
  ProgramSettings.OptionProgram = 1;
  InState(kCh, kOpVerifyMain, 5);
  ProgrammerState.AutoMode[kCh] = 0;
  Receive(kCh, DataReply(MainBlock(0)));
  Receive(kCh, DataReply(MainBlock(0x1000)));
  EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpVerifyEep);
  Receive(kCh, DataReply(EepBlock(0)));
  EXPECT_EQ(memo.Lines,
            Lines({"Main Flash Data Verify Successed!", "Start to Verify EEP Data......", "EEP Data Verify Successed!"}));
  EXPECT_TRUE(Idle());
  EXPECT_TRUE(views.Calls.empty());
}

// Every auto run that ends well moves the serial number on and counts the
// chip, whether an option write ends it or a verification does, also one
// that a short 6 to its verification ends before the option write.
TEST_F(StepTest, EveryGoodEndOfAnAutoRunCountsItsChip) {
  struct Case {
    const char* name;
    std::uint8_t eep, option;
    std::uint8_t state;
    std::function<Bytes()> reply;
    std::string lastLine;
    bool sameAlone;  // the step alone ends with that line too
  };
  const Case cases[] = {
      {"option write", 0, 1, kOpWriteOption, [] { return ShortReply(0x06); }, "Write Option Byte Successed!", true},
      {"main verify", 0, 0, kOpVerifyMain, [] { return DataReply(MainBlock(0)); }, "Chip programming Successed!", false},
      {"EEP verify", 1, 0, kOpVerifyEep, [] { return DataReply(EepBlock(0)); }, "Chip programming Successed!", false},
      {"short 6 to the main verify", 1, 1, kOpVerifyMain, [] { return ShortReply(0x06, 0x9B); }, "Operation Success!", true},
      {"short 6 to the EEP verify", 1, 1, kOpVerifyEep, [] { return ShortReply(0x06, 0x9D); }, "Operation Success!", true},
  };
  std::uint32_t counted = 0;
  for (const Case& c : cases) {
    for (const std::uint8_t autoRun : {1, 0}) {
      SCOPED_TRACE(std::string(c.name) + (autoRun ? " in an auto run" : " alone"));
      memo.Lines.clear();
      views.Calls.clear();
      ProgramSettings.EepProgram = c.eep;
      ProgramSettings.OptionProgram = c.option;
      InState(kCh, c.state, 4);
      ProgrammerState.AutoMode[kCh] = autoRun;
      Receive(kCh, c.reply());
      ASSERT_TRUE(Idle());
      counted += autoRun;
      EXPECT_EQ(SessionState.ProgrammedCount, counted);
      EXPECT_EQ(views.Calls, autoRun ? std::vector<std::string>{"AdvanceSerialNumber"} : std::vector<std::string>{});
      EXPECT_EQ(memo.Lines.back() == Line(kCh, c.lastLine), autoRun || c.sameAlone);
    }
  }
}

TEST_F(StepTest, AnAutoRunGoesOnFromEachStepToTheNext) {
  ProgramSettings.EepProgram = 1;
  ProgramSettings.OptionProgram = 1;
  struct Step {
    std::uint8_t state;
    Bytes reply;
    std::uint8_t next;
  };
  const Step steps[] = {
      {kOpErase, ShortReply(0), kOpProgramMain},
      {kOpProgramMain, ShortReply(0), kOpProgramMain},  // block 4 of 5 KB
      {kOpProgramMain, ShortReply(6), kOpProgramEep},
      {kOpProgramEep, ShortReply(0), kOpVerifyMain},
      {kOpVerifyMain, DataReply(MainBlock(0)), kOpVerifyMain},
      {kOpVerifyMain, DataReply(MainBlock(0x1000)), kOpVerifyEep},
      {kOpVerifyEep, DataReply(EepBlock(0)), kOpWriteOption},
  };
  InState(kCh, kOpErase);
  ProgrammerState.AutoMode[kCh] = 1;
  for (const Step& s : steps) {
    ASSERT_EQ(ProgrammerState.ProgOpCode[kCh], s.state);
    Receive(kCh, s.reply);
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], s.next);
  }
  EXPECT_EQ(memo.Lines, Lines({"Chip has been erased!", "Start to Program Main Flash Data......",
                               "Start to program EEP Data......", "EEP Data Programm Successed!",
                               "Start to Verify Main Flash Data......", "Main Flash Data Verify Successed!",
                               "Start to Verify EEP Data......", "EEP Data Verify Successed!",
                               "Write Chip Option/Config Data......"}));
}

// With no EEP and "Prog. Data Flash" ticked each EEP step sends its one
// packet and ends after its reply; nothing is compared or stored.
TEST_F(StepTest, AnEepOfSizeZeroTakesOneReplyPerStep) {
  SelectedChip.EepSize = 0;
  ProgramSettings.EepProgram = 1;
  for (const std::uint8_t state : {kOpEepDownload, kOpProgramEep, kOpVerifyEep, kOpReadEep}) {
    SCOPED_TRACE(int{state});
    InState(kCh, state, 0);
    ProgrammerState.AutoMode[kCh] = 0;
    Receive(kCh, state == kOpVerifyEep || state == kOpReadEep ? DataReply(Bytes(4096, 0x00)) : ShortReply(0));
    EXPECT_TRUE(Idle());
    EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Blue);
  }
  EXPECT_TRUE(prompts.Shown.empty());
  EXPECT_EQ(MemoryImages.EepImage[0], 5);
}

// 32 KB from 0x08000000: eight blocks stored from MainBaseOffset, then the
// data counts as loaded and the viewers show the area.
TEST_F(StepTest, MainReadFillsTheImageAndShowsIt) {
  ObjectState.ObjectLoaded = 0;
  InState(kCh, kOpReadMain, 32);
  Bytes chip(0x8000);
  for (std::size_t i = 0; i < chip.size(); ++i) chip[i] = static_cast<std::uint8_t>(i * 7 + 3);
  const std::uint8_t past = MemoryImages.MainFlashImage[0x1000 + 0x8000];
  for (std::size_t block = 0; block < 8; ++block) {
    ASSERT_EQ(ProgrammerState.ProgOpCode[kCh], kOpReadMain) << block;
    EXPECT_EQ(ObjectState.ObjectLoaded, 0);
    Bytes data(chip.begin() + static_cast<std::ptrdiff_t>(block * 4096),
               chip.begin() + static_cast<std::ptrdiff_t>(block * 4096 + 4096));
    Receive(kCh, DataReply(data));
  }
  EXPECT_TRUE(Idle());
  EXPECT_EQ(ObjectState.ObjectLoaded, 1);
  EXPECT_EQ(Slice(MemoryImages.MainFlashImage + 0x1000, 0x8000), chip);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x1000 + 0x8000], past);
  EXPECT_EQ(memo.Lines, Lines({"Main Flash Has been read out!"}));
  EXPECT_EQ(views.Calls, (std::vector<std::string>{"ShowReadMainChecksum", "FillHexViewer 08000000 08007FFF"}));
}

TEST_F(StepTest, EepReadShowsItsChecksumAndViewer) {
  InState(kCh, kOpReadEep, 2);
  Receive(kCh, DataReply(Bytes(4096, 0x42)));
  EXPECT_EQ(views.Calls, (std::vector<std::string>{"ShowReadEepChecksum", "FillEepViewer"}));
  EXPECT_EQ(memo.Lines, Lines({"EEP Data has been read out!"}));
}

TEST_F(StepTest, ChecksumReadLogsBothSums) {
  InState(kCh, kOpReadChecksum);
  Receive(kCh, DataReply({0xAC, 0xFF, 0x78, 0x56, 0x34, 0x12}, 0x93));
  EXPECT_EQ(memo.Lines, Lines({"Read Chip CRC16/ACC32 CheckSum:  0xFFAC/0x12345678."}));
  EXPECT_TRUE(Idle());
}

TEST_F(StepTest, OptionReadHandsTheDisplayWhatCame) {
  InState(kCh, kOpReadOption);
  Receive(kCh, DataReply(Bytes(1024, 0xA5), 0x93));
  InState(kCh, kOpReadOption);
  Receive(kCh, ShortReply(0x06));
  EXPECT_EQ(views.Calls, (std::vector<std::string>{"ShowReadOption 2 1024", "ShowReadOption 2 0"}));
  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_TRUE(Idle());
}

TEST_F(StepTest, ChipInformationIsDumpedInto32Rows) {
  InState(0, kOpChipInfo);
  Bytes info(512);
  for (std::size_t i = 0; i < info.size(); ++i) info[i] = static_cast<std::uint8_t>(0xFF - i);
  Receive(0, DataReply(info, 0x93));
  ASSERT_EQ(memo.Lines.size(), 34u);
  EXPECT_EQ(memo.Lines[0], "");
  EXPECT_EQ(memo.Lines[1], ">     Chip Information Data as Below: ");
  EXPECT_EQ(memo.Lines[2], "  0x03800000 : FF FE FD FC FB FA F9 F8 F7 F6 F5 F4 F3 F2 F1 F0");
  EXPECT_EQ(memo.Lines[33], "  0x038001F0 : 0F 0E 0D 0C 0B 0A 09 08 07 06 05 04 03 02 01 00");
  EXPECT_TRUE(Idle(0));
}

// ReadLength 40: two rows of 16, the rest not shown. A short reply that
// accepts the read carries no memory and shows none.
TEST_F(StepTest, MemoryRangeIsDumpedInWholeRows) {
  SessionState.ReadStartAddress = 0x08000100;
  SessionState.ReadLength = 40;
  InState(0, kOpReadMemory);
  Bytes data(40);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i);
  Receive(0, DataReply(data, 0x93));
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{"> Read Address Memory Data below: ",
                                                  "0x08000100 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ",
                                                  "0x08000110 : 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F "}));
  for (const std::uint8_t result : {0x00, 0x06}) {
    memo.Lines.clear();
    InState(0, kOpReadMemory);
    Receive(0, ShortReply(result));
    EXPECT_TRUE(memo.Lines.empty());
    EXPECT_TRUE(Idle(0));
    EXPECT_EQ(gauges[0].ForeColor(), TGaugeColor::Blue);
  }
}

// While verification boxes are open the window runs on: here programmer
// 3's box receives a chunk for programmer 3 and the reply of programmer 6,
// then programmer 4's differing block opens a box of its own, and meanwhile
// more ticks pass than any time-out lasts. The programmers in a box wait for
// the operator, so their time-outs are held; the others are handled and time
// out as usual. Once the boxes close, each verify ends with its difference,
// and the time-outs count again.
TEST_F(StepTest, WhileAVerifyBoxIsOpenItsTimeOutIsHeldAndTheOthersGoOn) {
  constexpr int kSecond = 3;
  constexpr int kOther = 5;
  constexpr int kSilent = 7;
  InState(kCh, kOpVerifyMain, 8);
  InState(kSecond, kOpVerifyMain, 8);
  InState(kOther, kOpReadChecksum);
  InState(kSilent, kOpBlankCheck);
  Bytes chip = MainBlock(0);
  chip[10] ^= 0x01;
  std::vector<std::string> seenInBoxes;
  prompts.WhileOpen = [&] {
    Receive(kCh, ShortReply(0x2C));
    Receive(kOther, DataReply({1, 0, 2, 0, 0, 0}, 0x93));
    prompts.WhileOpen = [&] {
      for (int tick = 0; tick < 3000; ++tick) TickReplyTimeouts();
      seenInBoxes = memo.Lines;
    };
    Receive(kSecond, DataReply(chip));
  };
  Receive(kCh, DataReply(chip));
  EXPECT_EQ(prompts.Shown.size(), 2u);
  const std::vector<std::string> others = {Line(kOther, "Read Chip CRC16/ACC32 CheckSum:  0x0001/0x00000002."),
                                           Line(kSilent, "Command Executed Time Out!")};
  EXPECT_EQ(seenInBoxes, others);
  // Then the waiting chunk reaches an idle programmer, which nothing handles.
  EXPECT_EQ(memo.Lines, (std::vector<std::string>{others[0], others[1], Line(kSecond, "Data Verify error!"),
                                                   Line(kCh, "Data Verify error!")}));
  for (const int ch : {kCh, kSecond, kOther, kSilent}) EXPECT_TRUE(Idle(ch)) << ch;

  memo.Lines.clear();
  InState(kCh, kOpVerifyMain, 8);
  ProgrammerState.ReplyTimeout[kCh] = 1;
  TickReplyTimeouts();
  EXPECT_EQ(memo.Lines, Lines({"Command Executed Time Out!"}));
}

// The same with the time-out still running when the box closes: the step
// ends with the difference, and the waiting chunk then meets an idle
// programmer.
TEST_F(StepTest, AVerifyDifferenceEndsTheStepWhenTheBoxCloses) {
  InState(kCh, kOpVerifyMain, 8);
  Bytes chip = MainBlock(0);
  chip[10] ^= 0x01;
  prompts.WhileOpen = [&] { Receive(kCh, ShortReply(0x2C)); };
  Receive(kCh, DataReply(chip));
  EXPECT_EQ(memo.Lines, Lines({"Data Verify error!"}));
  EXPECT_TRUE(Idle());
}

}  // namespace
