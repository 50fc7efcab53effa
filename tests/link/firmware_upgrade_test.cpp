// Firmware upgrades against simulated units: the file comes from the
// simulator's own builder, the units decode every block on their own, and
// their replies are taken off the line and handed to the block handler the
// way the reply dispatch will.
#include "link/firmware_upgrade.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "firmware_file_builder.h"
#include "link/firmware_file.h"
#include "link/reply_timeout.h"
#include "sim_files.h"
#include "temp_folder.h"
#include "unit_fixture.h"

namespace {

using Lines = std::vector<std::string>;
using Bytes = std::vector<std::uint8_t>;

std::string Line(int ch, const std::string& message) {
  return "> 10:21:07 C" + std::to_string(ch + 1) + " : " + message;
}
std::string StartLine(int ch) { return Line(ch, "Start to Upgrade Programmer " + std::to_string(ch + 1) + "s Firmware......"); }
std::string LeftOutLine(int ch) {
  return Line(ch, "Firmware Upgrade Failed, Programmer Left Out, Connect Dev. to Try Again!");
}

class UpgradeOnUnit : public UnitTest {
 protected:
  // Three blocks: FirmwareEnd 0x1800 and 6 KB of image.
  void SetUp() override {
    UnitTest::SetUp();
    image = Pattern(3 * 2048, 12);
    sim::FirmwareFileSpec file;
    file.firmwareEnd = 0x1800;
    file.image = image;
    SessionTexts.AppDir = folder.Dir();
    sim::WriteBytes(FirmwareFilePath(), sim::BuildFirmwareFile(file));
    LoadFirmwareFile(FirmwareFilePath());
    ASSERT_EQ(SessionState.FirmwareLoaded, 1);
  }

  // Hands every reply of the line to the block handler until the upgrade of
  // ch has ended.
  void RunUpgrade(TUnitLine& line, int ch) {
    for (int replies = 0; ProgrammerState.ChannelBusy[ch] && replies < 40; ++replies) {
      const std::optional<std::uint8_t> result = line.NextReply();
      ASSERT_TRUE(result.has_value()) << "no reply";
      HandleFirmwareBlockReply(*result, ch);
    }
  }

  // The finish packet as the unit should see it: BD 00 52 53 00 00 02 00 00 00 and its checksum.
  static Bytes FinishPacket() {
    Bytes packet = {0xBD, 0x00, 0x52, 0x53, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00};
    const std::uint16_t sum = sim::Checksum16(packet);
    packet.push_back(static_cast<std::uint8_t>(sum));
    packet.push_back(static_cast<std::uint8_t>(sum >> 8));
    return packet;
  }

  TempFolder folder;
  Bytes image;
};

TEST_F(UpgradeOnUnit, ThreeBlocksReachTheUnitAndTheUpgradeEndsWell) {
  TUnitLine& line = Plug();
  TProgrammerState& p = ProgrammerState;
  SetGauge(kCh, 9, 9, TGaugeColor::Red);
  StartFirmwareUpgrade(kCh);

  EXPECT_EQ(p.ProgOpCode[kCh], kOpFirmwareUpgrade);
  EXPECT_EQ(p.ChannelBusy[kCh], 1);
  EXPECT_EQ(p.UpgradePending[kCh], 1);
  EXPECT_EQ(SessionState.UpgradeRunning, 1);
  EXPECT_EQ(p.DeviceLinked[kCh], 1);
  EXPECT_EQ(p.GaugeTicking[kCh], 0);
  EXPECT_EQ(p.ReplyTimeout[kCh], 500);
  EXPECT_EQ(p.BlockCount[kCh], 3);
  EXPECT_EQ(View(kCh), (TGaugeView{2, 3, TGaugeColor::Blue}));
  EXPECT_EQ(memo.Lines, Lines{StartLine(kCh)});

  RunUpgrade(line, kCh);

  EXPECT_EQ(memo.Lines, (Lines{StartLine(kCh), Line(kCh, "Programmer 3s Firmware Fpgrade Completed!")}));
  EXPECT_EQ(View(kCh), (TGaugeView{3, 3, TGaugeColor::Blue}));
  EXPECT_EQ(p.ProgOpCode[kCh], kOpIdle);
  EXPECT_EQ(p.ChannelBusy[kCh], 0);
  EXPECT_EQ(p.UpgradePending[kCh], 0);
  EXPECT_EQ(SessionState.UpgradeRunning, 1);  // until the search after the upgrades

  const std::vector<sim::PacketRecord> sent = line.PacketsSince(0);
  ASSERT_EQ(sent.size(), 4u);
  for (int block = 0; block < 3; ++block) {
    SCOPED_TRACE(block);
    EXPECT_EQ(sent[block].command, sim::kCmdFirmwareBlock);
    EXPECT_EQ(sent[block].argument, block);
    EXPECT_EQ(sent[block].problem, "");
  }
  // Every block has its own key.
  const auto key = [&](int block) { return sim::Le16(sent[block].packet, 2); };
  EXPECT_FALSE(key(0) == key(1) && key(1) == key(2));
  EXPECT_EQ(sent[3].packet, FinishPacket());
  EXPECT_EQ(sent[3].problem, "");

  line.Unit().Inspect([&](const sim::Unit& u) {
    EXPECT_EQ(u.upgradesFinished, 1);
    for (std::size_t i = 0; i < image.size(); ++i) {
      // The fourth byte of every group does not travel.
      if (i % 4 == 3) continue;
      if (u.firmware[i] != image[i]) {
        ADD_FAILURE() << "firmware byte " << i;
        break;
      }
    }
    return 0;
  });
}

// A block answered with anything but 6 ends that upgrade as failed with the
// code's message, without a further block or the finish packet. 0 too: it
// is no acknowledgement. The upgrade stays pending (it is not done) and its
// programmer is left out, unlinked, with one line.
TEST_F(UpgradeOnUnit, RefusedBlockEndsTheUpgradeAsFailed) {
  struct Case {
    const char* name;
    sim::Fault fault;
    const char* message;
    std::size_t blocksSent;
  };
  const Case cases[] = {
      {"result 0 on block 1", {sim::kCmdFirmwareBlock, 1, sim::FaultKind::Result, 0x00},
       "Opertaion Failed! Error Code : 00/0x00.", 2},
      {"result 0x15 on block 0", {sim::kCmdFirmwareBlock, 0, sim::FaultKind::Result, 0x15},
       "Command Execute Failed!", 1},
      {"6 with the top bit on block 2", {sim::kCmdFirmwareBlock, 2, sim::FaultKind::Result, 0x86},
       "Opertaion Failed! Error Code : 0134/0x86.", 3},
      {"bad reply checksum on block 1", {sim::kCmdFirmwareBlock, 1, sim::FaultKind::BadChecksum},
       "Opertaion Failed! Error Code : 035/0x23.", 2},
      {"undecodable reply on block 0", {sim::kCmdFirmwareBlock, 0, sim::FaultKind::Undecodable},
       "Packet Error!", 1},
  };
  TProgrammerState& p = ProgrammerState;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    sim::UnitSettings settings;
    settings.faults = {c.fault};
    TUnitLine& line = Plug(kCh, settings);
    memo.Lines.clear();

    StartFirmwareUpgrade(kCh);
    RunUpgrade(line, kCh);

    EXPECT_EQ(memo.Lines, (Lines{StartLine(kCh), Line(kCh, c.message), LeftOutLine(kCh)}));
    EXPECT_EQ(View(kCh), (TGaugeView{3, 3, TGaugeColor::Red}));
    EXPECT_EQ(p.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(p.ChannelBusy[kCh], 0);
    EXPECT_EQ(p.UpgradePending[kCh], 1);
    EXPECT_TRUE(UpgradeFailed(kCh));
    EXPECT_EQ(p.DeviceLinked[kCh], 0);
    const std::vector<sim::PacketRecord> sent = line.PacketsSince(0);
    ASSERT_EQ(sent.size(), c.blocksSent);
    for (const sim::PacketRecord& r : sent) EXPECT_EQ(r.command, sim::kCmdFirmwareBlock);
  }
}

// A unit that stops answering: the upgrade ends by the reply time-out, is
// still pending and leaves its programmer out.
TEST_F(UpgradeOnUnit, SilenceEndsTheUpgradeAtItsTimeOut) {
  sim::UnitSettings settings;
  settings.faults = {{sim::kCmdFirmwareBlock, 1, sim::FaultKind::Silent}};
  TUnitLine& line = Plug(kCh, settings);
  StartFirmwareUpgrade(kCh);
  const std::optional<std::uint8_t> first = line.NextReply();
  ASSERT_EQ(first, std::optional<std::uint8_t>(6));
  HandleFirmwareBlockReply(*first, kCh);
  ASSERT_EQ(line.Packets(2).size(), 2u);

  // Nothing reloads the 500 ticks that the start armed here.
  for (int tick = 1; tick < 500; ++tick) TickReplyTimeouts();
  EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 1);
  TickReplyTimeouts();

  EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
  EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
  EXPECT_EQ(ProgrammerState.UpgradePending[kCh], 1);
  EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
  EXPECT_EQ(memo.Lines, (Lines{StartLine(kCh), Line(kCh, "Command Executed Time Out!"), LeftOutLine(kCh)}));
  EXPECT_EQ(gauges[kCh].ForeColor(), TGaugeColor::Red);
  EXPECT_EQ(gauges[kCh].Position(), gauges[kCh].MaxValue());
}

// Each programmer's upgrade runs on its own state: one unit's refusal ends
// only its own.
TEST_F(UpgradeOnUnit, ProgrammersUpgradeSideBySide) {
  constexpr int kGood = 0, kRefusing = 4;
  TUnitLine& good = Plug(kGood);
  sim::UnitSettings refusing;
  refusing.faults = {{sim::kCmdFirmwareBlock, 1, sim::FaultKind::Result, 0x15}};
  TUnitLine& bad = Plug(kRefusing, refusing);

  StartFirmwareUpgrade(kGood);
  StartFirmwareUpgrade(kRefusing);
  TProgrammerState& p = ProgrammerState;
  for (int round = 0; (p.ChannelBusy[kGood] || p.ChannelBusy[kRefusing]) && round < 10; ++round) {
    for (auto [ch, line] : {std::pair{kGood, &good}, std::pair{kRefusing, &bad}}) {
      if (!p.ChannelBusy[ch]) continue;
      const std::optional<std::uint8_t> result = line->NextReply();
      ASSERT_TRUE(result.has_value());
      HandleFirmwareBlockReply(*result, ch);
    }
  }

  EXPECT_EQ(memo.Lines, (Lines{StartLine(kGood), StartLine(kRefusing), Line(kRefusing, "Command Execute Failed!"),
                               LeftOutLine(kRefusing), Line(kGood, "Programmer 1s Firmware Fpgrade Completed!")}));
  EXPECT_EQ(View(kGood), (TGaugeView{3, 3, TGaugeColor::Blue}));
  EXPECT_EQ(View(kRefusing), (TGaugeView{3, 3, TGaugeColor::Red}));
  EXPECT_EQ(p.UpgradePending[kGood], 0);
  EXPECT_EQ(p.UpgradePending[kRefusing], 1);
  EXPECT_EQ(p.DeviceLinked[kGood], 1);
  EXPECT_EQ(p.DeviceLinked[kRefusing], 0);
  // Everything sent has arrived: the good unit got three blocks and the finish, the other two blocks.
  EXPECT_EQ(good.PacketsSince(0).size(), 4u);
  EXPECT_EQ(bad.PacketsSince(0).size(), 2u);
  EXPECT_EQ(good.Unit().Inspect([](const sim::Unit& u) { return u.upgradesFinished; }), 1);
  EXPECT_EQ(bad.Unit().Inspect([](const sim::Unit& u) { return u.upgradesFinished; }), 0);
}

// Nothing starts without a loaded file, nor on a programmer that is busy or
// in a step of its own.
TEST_F(UpgradeOnUnit, UpgradeDoesNotStartWhereItMayNot) {
  struct Case {
    const char* name;
    std::uint8_t loaded, busy, state;
  };
  const Case cases[] = {
      {"no firmware loaded", 0, 0, kOpIdle},
      {"busy", 1, 1, kOpIdle},
      {"in a step", 1, 0, kOpProgramMain},
  };
  TUnitLine& line = Plug();
  TProgrammerState& p = ProgrammerState;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SessionState.FirmwareLoaded = c.loaded;
    p.ChannelBusy[kCh] = c.busy;
    p.ProgOpCode[kCh] = c.state;
    p.ReplyTimeout[kCh] = 77;
    SetGauge(kCh, 1, 9, TGaugeColor::Red);

    StartFirmwareUpgrade(kCh);

    EXPECT_EQ(p.ProgOpCode[kCh], c.state);
    EXPECT_EQ(p.ChannelBusy[kCh], c.busy);
    EXPECT_EQ(p.ReplyTimeout[kCh], 77);
    EXPECT_EQ(p.UpgradePending[kCh], 0);
    EXPECT_EQ(SessionState.UpgradeRunning, 0);
    EXPECT_EQ(View(kCh), (TGaugeView{1, 9, TGaugeColor::Red}));
    EXPECT_TRUE(memo.Lines.empty());
  }
  StartFirmwareUpgrade(-1);
  StartFirmwareUpgrade(kProgrammerMax);
  EXPECT_TRUE(line.PacketsSince(0).empty());
}

}  // namespace
