// The starters against a simulated unit: what each sets up on the
// programmer, what it logs and in which order, and the first packet the
// unit receives.
#include "link/operation_starters.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/reply_timeout.h"
#include "unit_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

std::string C3(const std::string& message) { return "> 10:21:07 C3 : " + message; }

class StartersOnUnit : public UnitTest {
 protected:
  void SetUp() override {
    UnitTest::SetUp();
    line = &Plug();
  }

  // The packets that the call sent, as the unit received them. Everything
  // sent before must have been taken the same way, so that it is counted.
  std::vector<sim::PacketRecord> SentBy(const std::function<void()>& call) {
    const std::size_t seen = line->Unit().ReceivedCount();
    call();
    return line->PacketsSince(seen);
  }

  TUnitLine* line = nullptr;
};

// MainDataLength 5000 (5 blocks), MainSize 32 KB (32), EepSize 0x600 (2).
// Each starter runs after a step that ended red, with either ticking value
// before it, AutoMode set and BlockIndex left at 7.
TEST_F(StartersOnUnit, EveryStarterArmsLogsAndSendsItsFirstPacket) {
  constexpr int kKept = -1;
  struct Case {
    const char* name;
    std::function<void()> start;
    std::uint8_t state;
    int ticking;  // kKept: as before
    std::uint16_t ticks;
    TGaugeView gauge;
    std::uint16_t blocks;
    bool gaugeFirst;
    std::uint8_t autoMode;
    Lines lines;
    std::uint8_t command;
    int argument;  // -1: the random key
    bool opens;    // only ever an operation's first step: the receive buffer starts empty
  };
  const TGaugeView time500{15, 500, TGaugeColor::Blue};
  const TGaugeView mainBlocks{4, 5, TGaugeColor::Blue};
  const TGaugeView eepBlocks{2, 2, TGaugeColor::Blue};  // 4 held at the maximum of 2
  const Case cases[] = {
      {"download chip data", [] { StartDownloadChipData(kCh); }, 3, 1, 500, time500, 5, false, 1,
       {C3("Start to Download Chip Data......")}, 0x53, -1, true},
      {"download main data", [] { StartDownloadMainData(kCh); }, 5, 0, 500, mainBlocks, 5, false, 1,
       {C3("Start to Download Main Flash Data......")}, 0x55, 0, false},
      {"download EEP data", [] { StartDownloadEepData(kCh); }, 6, 0, 500, eepBlocks, 2, false, 1,
       {C3("Start to Dwonload EEP Data......")}, 0x5A, 0, false},
      {"auto-programming", [] { StartAutoProgramming(kCh); }, 16, 1, 500, time500, 5, false, 1,
       {C3("Start Auto-Programming, Do Chip Blank Checking......")}, 0x93, 5, true},
      {"blank check", [] { StartBlankCheck(kCh); }, 16, 1, 500, time500, 5, false, 1,
       {C3("Start to Chip Blank Checking......")}, 0x93, 5, true},
      {"erase", [] { StartErase("Chip is not blank, do erasing......", kCh); }, 21, 1, 2000,
       {30, 2000, TGaugeColor::Blue}, 5, false, 1, {C3("Chip is not blank, do erasing......")}, 0x93, 3, false},
      {"program main", [] { StartProgramMain(kCh); }, 25, 0, 500, mainBlocks, 5, false, 1,
       {C3("Start to Program Main Flash Data......")}, 0x95, 0, false},
      {"program EEP", [] { StartProgramEep(kCh); }, 26, 0, 500, eepBlocks, 2, false, 1,
       {C3("Start to program EEP Data......")}, 0x99, 0, false},
      {"verify main", [] { StartVerifyMain(kCh); }, 32, 0, 500, mainBlocks, 5, false, 1,
       {C3("Start to Verify Main Flash Data......")}, 0x9B, 0, false},
      {"verify EEP", [] { StartVerifyEep(kCh); }, 35, 0, 500, eepBlocks, 2, true, 1,
       {C3("Start to Verify EEP Data......")}, 0x9D, 0, false},
      {"write option", [] { StartWriteOption(kCh); }, 31, 1, 500, time500, 5, true, 1,
       {C3("Write Chip Option/Config Data......")}, 0x93, 0x35, false},
      {"read option", [] { StartReadOption(kCh); }, 44, kKept, 500, time500, 5, false, 1,
       {"", C3("Read Chip Option/Config Data ......")}, 0x93, 0x33, true},
      {"read main", [] { StartReadMain(kCh); }, 37, 0, 500, {4, 32, TGaugeColor::Blue}, 32, true, 0,
       {C3("Read Chip Main Flash Data......")}, 0x9B, 0, true},
      {"read EEP", [] { StartReadEep(kCh); }, 38, 0, 500, eepBlocks, 2, true, 0, {C3("Read Chip EEP Data......")},
       0x9D, 0, true},
      {"read checksum", [] { StartReadChecksum(kCh); }, 42, 1, 500, mainBlocks, 5, true, 0,
       {C3("Read Chip CheckSum Data......")}, 0x93, 0x30, true},
      {"read chip information", [] { StartReadChipInfo(kCh); }, 53, kKept, 500, time500, 32, false, 1,
       {"> 10:21:07 Read Chip Information Data......"}, 0x93, 0x3C, true},
      {"read memory", [] { StartReadMemory(kCh); }, 58, kKept, 500, {250, 500, TGaugeColor::Blue}, 32, false, 1, {},
       0x93, 0x79, true},
  };
  TProgrammerState& p = ProgrammerState;
  for (const Case& c : cases) {
    for (std::uint8_t ticking : {0, 1}) {
      SCOPED_TRACE(std::string(c.name) + (ticking ? ", ticking before" : ", not ticking before"));
      memo.Lines.clear();
      p.ProgOpCode[kCh] = kOpIdle;
      p.ChannelBusy[kCh] = 0;
      p.GaugeTicking[kCh] = ticking;
      p.AutoMode[kCh] = 1;
      p.BlockIndex[kCh] = 7;
      p.RxFill[kCh] = 33;
      SetGauge(kCh, 100, 100, TGaugeColor::Red);
      std::size_t linesWhenArmed = 99;
      gauges[kCh].OnChange = [&] {
        if (linesWhenArmed == 99) linesWhenArmed = memo.Lines.size();
      };

      const std::vector<sim::PacketRecord> sent = SentBy(c.start);
      gauges[kCh].OnChange = nullptr;

      EXPECT_EQ(p.ProgOpCode[kCh], c.state);
      EXPECT_EQ(p.GaugeTicking[kCh], c.ticking == kKept ? ticking : c.ticking);
      EXPECT_EQ(p.ReplyTimeout[kCh], c.ticks);
      EXPECT_EQ(p.ChannelBusy[kCh], 1);
      EXPECT_EQ(p.BlockIndex[kCh], 0);
      EXPECT_EQ(p.BlockCount[kCh], c.blocks);
      EXPECT_EQ(p.AutoMode[kCh], c.autoMode);
      EXPECT_EQ(p.RxFill[kCh], c.opens ? 0 : 33);
      EXPECT_EQ(View(kCh), c.gauge);
      EXPECT_EQ(memo.Lines, c.lines);
      EXPECT_EQ(linesWhenArmed, c.gaugeFirst ? 0 : c.lines.size());
      ASSERT_EQ(sent.size(), 1u);
      EXPECT_EQ(sent[0].problem, "");
      EXPECT_EQ(sent[0].command, c.command);
      if (c.argument >= 0) {
        EXPECT_EQ(sent[0].argument, c.argument);
      } else {
        EXPECT_LE(sent[0].argument, 0xFFFE);  // the fresh key
      }
    }
  }
}

// A starter that takes the place of a firmware upgrade (a read on
// programmer 1 does not look at its busy flag) ends the upgrade's
// bookkeeping: nothing stays pending, and with none pending no upgrade runs.
TEST_F(StartersOnUnit, AStepInPlaceOfAnUpgradeEndsItsBookkeeping) {
  TProgrammerState& p = ProgrammerState;
  for (const bool otherPending : {true, false}) {
    SCOPED_TRACE(otherPending ? "another upgrade pending" : "none other pending");
    p.ProgOpCode[kCh] = kOpFirmwareUpgrade;
    p.UpgradePending[kCh] = 1;
    p.UpgradePending[7] = otherPending;
    SessionState.UpgradeRunning = 1;
    SentBy([] { StartReadMain(kCh); });
    EXPECT_EQ(p.UpgradePending[kCh], 0);
    EXPECT_EQ(SessionState.UpgradeRunning, otherPending ? 1 : 0);
  }
  // Another state leaves the flags alone.
  p.UpgradePending[kCh] = 1;
  SessionState.UpgradeRunning = 1;
  SentBy([] { StartReadEep(kCh); });
  EXPECT_EQ(p.UpgradePending[kCh], 1);
  EXPECT_EQ(SessionState.UpgradeRunning, 1);
}

// An operation takes the settings as they stand when it opens on a
// programmer that runs no step, or only an upgrade; a step that follows
// another in a running operation keeps those its operation started with.
TEST_F(StartersOnUnit, AnOperationTakesTheSettingsWhenItOpensAndKeepsThemToItsEnd) {
  struct Case {
    const char* name;
    std::function<void()> start;
    bool opensAlways;  // never a step that follows another
  };
  const Case cases[] = {
      {"download chip data", [] { StartDownloadChipData(kCh); }, true},
      {"download main data", [] { StartDownloadMainData(kCh); }, false},
      {"download EEP data", [] { StartDownloadEepData(kCh); }, false},
      {"auto-programming", [] { StartAutoProgramming(kCh); }, true},
      {"blank check", [] { StartBlankCheck(kCh); }, true},
      {"erase", [] { StartErase("Do Chip Erase......", kCh); }, false},
      {"program main", [] { StartProgramMain(kCh); }, false},
      {"program EEP", [] { StartProgramEep(kCh); }, false},
      {"verify main", [] { StartVerifyMain(kCh); }, false},
      {"verify EEP", [] { StartVerifyEep(kCh); }, false},
      {"write option", [] { StartWriteOption(kCh); }, false},
      {"read option", [] { StartReadOption(kCh); }, true},
      {"read main", [] { StartReadMain(kCh); }, true},
      {"read EEP", [] { StartReadEep(kCh); }, true},
      {"read checksum", [] { StartReadChecksum(kCh); }, true},
      {"read chip information", [] { StartReadChipInfo(kCh); }, true},
      {"read memory", [] { StartReadMemory(kCh); }, true},
  };
  struct Before {
    const char* what;
    std::uint8_t state;
    std::uint8_t busy;
    bool opens;
  };
  const Before befores[] = {
      {"idle", kOpIdle, 0, true},
      {"in a running step", kOpBlankCheck, 1, false},
      {"upgrading", kOpFirmwareUpgrade, 1, true},
  };
  TProgrammerState& p = ProgrammerState;
  for (const Case& c : cases) {
    for (const Before& before : befores) {
      SCOPED_TRACE(std::string(c.name) + ", " + before.what);
      ProgramSettings.PowerUpTime = 11;
      TakeRunSettings(kCh, false);       // what the running operation started with
      ProgramSettings.PowerUpTime = 22;  // collected since
      p.ProgOpCode[kCh] = before.state;
      p.ChannelBusy[kCh] = before.busy;
      SentBy(c.start);
      EXPECT_EQ(RunSettingsOf(kCh).Settings.PowerUpTime, c.opensAlways || before.opens ? 22 : 11);
    }
  }
}

// The driver download runs inside the download the chip data opened: the
// time-out and the gauge position are set anew, nothing else.
TEST_F(StartersOnUnit, DriverDownloadKeepsTheOpenDownload) {
  SelectedChip.UseFlashDriver = 1;
  SentBy([] { StartDownloadChipData(kCh); });
  TProgrammerState& p = ProgrammerState;
  p.ReplyTimeout[kCh] = 123;
  p.BlockIndex[kCh] = 7;
  p.GaugeTicking[kCh] = 1;
  memo.Lines.clear();

  const std::vector<sim::PacketRecord> sent = SentBy([] { StartDownloadDriver(kCh); });

  EXPECT_EQ(p.ProgOpCode[kCh], kOpDriverDownload);
  EXPECT_EQ(p.GaugeTicking[kCh], 0);
  EXPECT_EQ(p.ReplyTimeout[kCh], 500);
  EXPECT_EQ(p.ChannelBusy[kCh], 1);
  EXPECT_EQ(p.BlockIndex[kCh], 7);
  EXPECT_EQ(View(kCh), (TGaugeView{3, 500, TGaugeColor::Blue}));
  EXPECT_TRUE(memo.Lines.empty());
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].problem, "");
  EXPECT_EQ(sent[0].command, sim::kCmdDriver);
  EXPECT_EQ(sent[0].argument, 0x0567);
  const Bytes driver(MemoryImages.DriverImage, MemoryImages.DriverImage + 2048);
  EXPECT_EQ(line->Unit().Inspect([](const sim::Unit& u) { return u.job.driver; }), driver);
}

// The state code is set before the packet is built: each packet carries the
// driver section of its own step.
TEST_F(StartersOnUnit, FirstPacketCarriesTheDriverSectionOfItsStep) {
  struct Case {
    const char* name;
    std::function<void()> start;
    std::uint16_t sectionAt;
    std::uint8_t entry;  // of kDriverSections
  };
  const Case cases[] = {
      {"blank check", [] { StartBlankCheck(kCh); }, 88, 0x20},
      {"checksum read", [] { StartReadChecksum(kCh); }, 88, 0x24},
      {"erase", [] { StartErase("Do Chip Erase......", kCh); }, 88, 0x28},
      {"program main", [] { StartProgramMain(kCh); }, 4184, 0x2C},
      {"program EEP", [] { StartProgramEep(kCh); }, 4184, 0x2C},
      {"write option", [] { StartWriteOption(kCh); }, 1112, 0x30},
  };
  SelectedChip.UseFlashDriver = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<sim::PacketRecord> sent = SentBy(c.start);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].problem, "");
    const TDriverSection& s = *std::find_if(std::begin(kDriverSections), std::end(kDriverSections),
                                            [&](const TDriverSection& d) { return d.Entry == c.entry; });
    const Bytes& packet = sent[0].packet;
    EXPECT_EQ(sim::Le16(packet, 6), c.sectionAt - 8 + s.Length);
    ASSERT_GE(packet.size(), c.sectionAt + s.Length);
    EXPECT_EQ(Bytes(packet.begin() + c.sectionAt, packet.begin() + c.sectionAt + s.Length),
              Bytes(MemoryImages.DriverImage + s.Offset, MemoryImages.DriverImage + s.Offset + s.Length));
  }
}

// A first block that lies outside the image is not sent; the step ends at
// once as a packet error after its start line.
TEST_F(StartersOnUnit, FirstBlockOutsideTheImageEndsAsPacketError) {
  struct Case {
    const char* name;
    std::function<void()> start;
    const char* startLine;
  };
  const Case cases[] = {
      {"download", [] { StartDownloadMainData(kCh); }, "Start to Download Main Flash Data......"},
      {"program", [] { StartProgramMain(kCh); }, "Start to Program Main Flash Data......"},
  };
  SelectedChip.MainBaseOffset = kMainFlashImageSize - 2048;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    EXPECT_TRUE(SentBy(c.start).empty());
    EXPECT_EQ(memo.Lines, (Lines{C3(c.startLine), C3("Packet Error!")}));
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
    EXPECT_EQ(View(kCh), (TGaugeView{5, 5, TGaugeColor::Red}));
  }
}

TEST_F(StartersOnUnit, DownloadEndsWithTheResetPacketUnlessAutoClose) {
  for (std::uint8_t autoClose : {0, 1}) {
    SCOPED_TRACE(autoClose ? "auto close" : "no auto close");
    SessionState.AutoCloseMode = autoClose;
    SessionState.DownloadDoneCount = 4;
    SentBy([] { StartDownloadEepData(kCh); });
    memo.Lines.clear();

    const std::vector<sim::PacketRecord> sent = SentBy([] { FinishDataDownload(kCh); });

    EXPECT_EQ(SessionState.DownloadDoneCount, 5);
    EXPECT_EQ(memo.Lines, Lines{C3("Data Donwload Success!")});
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
    EXPECT_EQ(View(kCh), (TGaugeView{2, 2, TGaugeColor::Blue}));
    if (autoClose) {
      EXPECT_TRUE(sent.empty());
    } else {
      ASSERT_EQ(sent.size(), 1u);
      EXPECT_EQ(sent[0].command, sim::kCmdReset);
      EXPECT_EQ(sent[0].problem, "");
    }
  }
}

TEST_F(StartersOnUnit, MainProgrammingEndsOrVerifiesByAutoMode) {
  for (std::uint8_t autoMode : {0, 1}) {
    SCOPED_TRACE(autoMode ? "auto" : "single step");
    ProgrammerState.AutoMode[kCh] = autoMode;
    SentBy([] { StartProgramMain(kCh); });
    memo.Lines.clear();

    const std::vector<sim::PacketRecord> sent = SentBy([] { FinishMainProgramming(kCh); });

    if (autoMode) {
      EXPECT_EQ(memo.Lines, (Lines{C3("Main Flash Programming Success!"), C3("Start to Verify Main Flash Data......")}));
      EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpVerifyMain);
      EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 1);
      ASSERT_EQ(sent.size(), 1u);
      EXPECT_EQ(sent[0].command, sim::kCmdReadMain);
      EXPECT_EQ(sent[0].argument, 0);
    } else {
      EXPECT_EQ(memo.Lines, Lines{C3("Main Flash Programming Success!")});
      EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
      EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
      EXPECT_EQ(View(kCh), (TGaugeView{5, 5, TGaugeColor::Blue}));
      EXPECT_TRUE(sent.empty());
    }
  }
}

// A unit that stays silent: the step ends at the last tick of its time-out,
// 500 for most steps and 2000 for erase.
TEST_F(StartersOnUnit, SilenceEndsTheStepAtItsTimeOut) {
  struct Case {
    const char* name;
    std::function<void()> start;
    int ticks;
  };
  const Case cases[] = {
      {"blank check", [] { StartBlankCheck(kCh); }, 500},
      {"erase", [] { StartErase("Do Chip Erase......", kCh); }, 2000},
      {"read main", [] { StartReadMain(kCh); }, 500},
  };
  sim::UnitSettings silent;
  silent.silent = true;
  line = &Plug(kCh, silent);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(SentBy(c.start).size(), 1u);
    memo.Lines.clear();
    for (int tick = 1; tick < c.ticks; ++tick) TickReplyTimeouts();
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 1);
    TickReplyTimeouts();
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(memo.Lines, Lines{C3("Command Executed Time Out!")});
    EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Red);
    EXPECT_EQ(gauges[kCh].Position(), gauges[kCh].MaxValue());
  }
}

}  // namespace
