// The senders against a simulated programmer unit: its own decoder checks
// every packet (frame, length field, checksum rule, parameter block, the
// chip-data block unmasked) and keeps what the packets carry.
#include "link/packet_senders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/program_state.h"
#include "data/run_settings.h"
#include "link/command_packets.h"
#include "link/flash_driver.h"
#include "link/frame_coding.h"
#include "sim_files.h"
#include "temp_folder.h"
#include "unit_fixture.h"

namespace {

constexpr std::size_t kBlock = 4096;

using Bytes = std::vector<std::uint8_t>;

Bytes Slice(const std::uint8_t* from, std::size_t n) { return Bytes(from, from + n); }
Bytes Slice(const Bytes& bytes, std::size_t at, std::size_t n) {
  if (at + n > bytes.size()) return {};
  return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.begin() + static_cast<std::ptrdiff_t>(at + n));
}
std::uint16_t PayloadLength(const sim::PacketRecord& r) { return sim::Le16(r.packet, 6); }

class SendersToUnit : public UnitTest {
 protected:
  void SetUp() override {
    UnitTest::SetUp();
    for (std::size_t i = 0; i < kFirmwareImageSize; ++i)
      MemoryImages.FirmwareImage[i] = static_cast<std::uint8_t>(i * 7 + (i >> 9));
    line = &Plug();
  }

  // Sends with send() in state `state`, with the settings that stand, and
  // returns what the unit recorded.
  sim::PacketRecord SendOne(std::uint8_t state, const std::function<bool()>& send) {
    ProgrammerState.ProgOpCode[kCh] = state;
    TakeRunSettings(kCh, false);
    const std::size_t seen = line->Unit().ReceivedCount();
    EXPECT_TRUE(send());
    const std::vector<sim::PacketRecord> all = line->Packets(seen + 1);
    return all.size() > seen ? all[seen] : sim::PacketRecord{};
  }

  TUnitLine* line = nullptr;
};

// One packet of every kind, in the order of a job, so that what a packet
// leaves in the unit (job data, memory) can be checked against the images.
TEST_F(SendersToUnit, EveryPacketKindPassesTheUnitsDecoder) {
  struct Case {
    const char* name;
    std::function<void()> adjust;
    std::uint8_t state;
    std::function<bool()> send;
    std::uint8_t command;
    int argument;                      // -1: not checked
    std::optional<std::uint8_t> code;  // short reply's result; nullopt: a data or identity reply
    std::function<void(const sim::PacketRecord&, const sim::Unit&)> check;
  };
  const auto plain = [] {};
  const auto withDriver = [] {
    SelectedChip.UseFlashDriver = 1;
    SelectedChip.ChipFamilyCode = 0x04;  // carries the common section
  };
  const auto noCheck = [](const sim::PacketRecord&, const sim::Unit&) {};
  const std::uint8_t* main = MemoryImages.MainFlashImage + SelectedChip.MainBaseOffset;
  const std::uint8_t* eep = MemoryImages.EepImage;
  const std::uint8_t* driver = MemoryImages.DriverImage;
  const std::uint8_t* option = MemoryImages.OptionImage;

  const Case cases[] = {
      {"link probe", plain, kOpIdle, [] { return SendLinkProbe(kCh); }, sim::kCmdLinkProbe, -1, std::nullopt,
       [](const sim::PacketRecord& r, const sim::Unit&) {
         EXPECT_EQ(r.frame, (Bytes{0xC0, 0xA3, 0xA5, 0x35, 0xC0}));
       }},
      {"chip data", plain, kOpChipDataDownload, [] { return SendChipData(0x1A2B, kCh); }, sim::kCmdChipData, 0x1A2B,
       0x00,
       [](const sim::PacketRecord&, const sim::Unit& u) {
         EXPECT_EQ(u.job.chipDataKey, 0x1A2B);
         EXPECT_EQ(Slice(u.job.chipData, 0, 4), (Bytes{'R', 'O', 'Z', 'I'}));
       }},
      {"driver block", plain, kOpDriverDownload, [] { return SendDriverBlock(kCh); }, sim::kCmdDriver, 0x0567, 0x00,
       [driver](const sim::PacketRecord&, const sim::Unit& u) { EXPECT_EQ(u.job.driver, Slice(driver, 2048)); }},
      {"main data block 8", plain, kOpMainDownload, [] { return SendMainDataBlock(8, kCh); }, sim::kCmdMainData, 8,
       0x00,
       [main](const sim::PacketRecord&, const sim::Unit& u) {
         EXPECT_EQ(Slice(u.job.main, 8 * 1024, kBlock), Slice(main + 8 * 1024, kBlock));
       }},
      {"EEP data block 4", plain, kOpEepDownload, [] { return SendEepDataBlock(4, kCh); }, sim::kCmdEepData, 4, 0x00,
       [eep](const sim::PacketRecord&, const sim::Unit& u) {
         EXPECT_EQ(Slice(u.job.eep, 4 * 1024, kBlock), Slice(eep + 4 * 1024, kBlock));
       }},
      {"blank check", plain, kOpBlankCheck, [] { return SendCommand(kCmdOperation, kSubBlankCheck, kCh); },
       sim::kCmdControl, kSubBlankCheck, 0x00,
       [](const sim::PacketRecord& r, const sim::Unit&) { EXPECT_EQ(PayloadLength(r), 80); }},
      {"blank check with driver", withDriver, kOpBlankCheck,
       [] { return SendCommand(kCmdOperation, kSubBlankCheck, kCh); }, sim::kCmdControl, kSubBlankCheck, 0x00,
       [driver](const sim::PacketRecord& r, const sim::Unit&) {
         EXPECT_EQ(PayloadLength(r), 1104 + 16);
         EXPECT_EQ(Slice(r.packet, 88, 40), Slice(driver + 0x100, 40));
         EXPECT_EQ(Slice(r.packet, 1112, 16), Slice(driver + 0x500, 16));
       }},
      {"erase", plain, kOpErase, [] { return SendCommand(kCmdOperation, kSubErase, kCh); }, sim::kCmdControl,
       kSubErase, 0x00, noCheck},
      {"checksum read", plain, kOpReadChecksum, [] { return SendCommand(kCmdOperation, kSubReadChecksum, kCh); },
       sim::kCmdControl, kSubReadChecksum, std::nullopt, noCheck},
      {"option read", plain, kOpReadOption, [] { return SendCommand(kCmdOperation, kSubReadOption, kCh); },
       sim::kCmdControl, kSubReadOption, std::nullopt, noCheck},
      {"chip information", plain, kOpChipInfo, [] { return SendCommand(kCmdOperation, kSubChipInfo, kCh); },
       sim::kCmdControl, kSubChipInfo, std::nullopt, noCheck},
      {"main read block 4", plain, kOpReadMain, [] { return SendCommand(kCmdMainBlock, 4, kCh); }, sim::kCmdReadMain,
       4, std::nullopt, noCheck},
      {"EEP read block 4", plain, kOpReadEep, [] { return SendCommand(kCmdEepBlock, 4, kCh); }, sim::kCmdReadEep, 4,
       std::nullopt, noCheck},
      {"main program block 4", plain, kOpProgramMain, [] { return SendMainProgramBlock(4, kCh); },
       sim::kCmdProgramMain, 4, 0x00,
       [main](const sim::PacketRecord&, const sim::Unit& u) {
         EXPECT_EQ(Slice(u.main, 4 * 1024, kBlock), Slice(main + 4 * 1024, kBlock));
       }},
      {"main program block 8 with driver", withDriver, kOpProgramMain, [] { return SendMainProgramBlock(8, kCh); },
       sim::kCmdProgramMain, 8, 0x00,
       [main, driver](const sim::PacketRecord& r, const sim::Unit& u) {
         EXPECT_EQ(PayloadLength(r), 4432 + 16);
         EXPECT_EQ(Slice(r.packet, 4184, 48), Slice(driver + 0x400, 48));
         EXPECT_EQ(Slice(r.packet, 4440, 16), Slice(driver + 0x500, 16));
         EXPECT_EQ(Slice(u.main, 8 * 1024, kBlock), Slice(main + 8 * 1024, kBlock));
       }},
      {"EEP program block 0", plain, kOpProgramEep, [] { return SendEepProgramBlock(0, kCh); }, sim::kCmdProgramEep,
       0, 0x00,
       [eep](const sim::PacketRecord&, const sim::Unit& u) { EXPECT_EQ(Slice(u.eep, 0, kBlock), Slice(eep, kBlock)); }},
      {"option data", plain, kOpWriteOption, [] { return SendOptionData(kCh); }, sim::kCmdControl, kSubOptionData,
       0x00,
       [option](const sim::PacketRecord& r, const sim::Unit& u) {
         EXPECT_EQ(PayloadLength(r), 1104);
         EXPECT_EQ(Slice(u.option, 0, 1024), Slice(option, 1024));
       }},
      {"option data with driver", withDriver, kOpWriteOption, [] { return SendOptionData(kCh); }, sim::kCmdControl,
       kSubOptionData, 0x00,
       [driver](const sim::PacketRecord& r, const sim::Unit&) {
         EXPECT_EQ(PayloadLength(r), 1104 + 16);
         EXPECT_EQ(Slice(r.packet, 1112, 16), Slice(driver + 0x500, 16));
       }},
      {"option data of family 0xC0",
       [] {
         for (std::size_t i = 0; i < kOptionImageSize; ++i) MemoryImages.OptionImage[i] ^= 0xFF;
         SelectedChip.ChipFamilyCode = 0xC0;
       },
       kOpWriteOption, [] { return SendOptionData(kCh); }, sim::kCmdControl, kSubOptionData, 0x00,
       [option](const sim::PacketRecord& r, const sim::Unit& u) {
         EXPECT_EQ(PayloadLength(r), 4176);
         EXPECT_EQ(Slice(u.option, 0, 4096), Slice(option, 4096));
       }},
      {"memory range read", plain, kOpReadMemory, [] { return SendReadMemory(kCh); }, sim::kCmdControl,
       kSubReadMemory, std::nullopt, [](const sim::PacketRecord& r, const sim::Unit&) {
         EXPECT_EQ(r.packet.size(), 74u);
         EXPECT_EQ(sim::Le32(r.packet, 56), 0x08000100u);
         EXPECT_EQ(sim::Le16(r.packet, 60), 0x40);
       }},
      {"reset", plain, kOpIdle, [] { return SendReset(kCh); }, sim::kCmdReset, 0x4552, 0x00,
       [](const sim::PacketRecord& r, const sim::Unit&) {
         EXPECT_EQ(r.frame, (Bytes{0xC0, 0x8A, 0x52, 0x45, 0x53, 0x54, 0xA8, 0x02, 0x00, 0x00, 0x00, 0xCD, 0x02, 0xC0}));
       }},
      {"firmware block 0", plain, kOpFirmwareUpgrade, [] { return SendFirmwareBlock(0, kCh); },
       sim::kCmdFirmwareBlock, 0, 0x06,
       [](const sim::PacketRecord&, const sim::Unit& u) {
         for (std::size_t i = 0; i < 2048; ++i) {
           if (i % 4 == 3) continue;  // the fourth byte of a group does not travel
           ASSERT_EQ(u.firmware[i], MemoryImages.FirmwareImage[i]) << "image byte " << i;
         }
       }},
      {"firmware finish", plain, kOpFirmwareUpgrade, [] { return SendFirmwareFinish(kCh); }, sim::kCmdFirmwareFinish,
       0x5200, 0x06, [](const sim::PacketRecord&, const sim::Unit& u) { EXPECT_EQ(u.upgradesFinished, 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetLoadedChip();
    c.adjust();
    const sim::PacketRecord r = SendOne(c.state, c.send);
    EXPECT_EQ(r.problem, "");
    EXPECT_EQ(r.command, c.command);
    if (c.argument >= 0) {
      EXPECT_EQ(r.argument, c.argument);
    }
    EXPECT_EQ(r.replyCode, c.code);
    line->Unit().Inspect([&](const sim::Unit& u) {
      c.check(r, u);
      return 0;
    });
  }
}

// The unit's frames arrive through the receive side of the port, one reply
// per packet, and pass the program's own reply check.
TEST_F(SendersToUnit, RepliesComeBackThroughThePort) {
  TakeRunSettings(kCh, false);
  ProgrammerState.ProgOpCode[kCh] = kOpBlankCheck;
  ASSERT_TRUE(SendCommand(kCmdOperation, kSubBlankCheck, kCh));
  EXPECT_EQ(line->NextReply(), std::optional<std::uint8_t>(0x00));
  ProgrammerState.ProgOpCode[kCh] = kOpReadChecksum;
  ASSERT_TRUE(SendCommand(kCmdOperation, kSubReadChecksum, kCh));
  EXPECT_EQ(line->NextReply(), std::optional<std::uint8_t>(0x00));
  // A blank unit: Checksum16 0 and sum 0xFF per byte over MainDataLength.
  EXPECT_EQ(CommBuffers.PacketBuffers[kCh][0], kCmdOperation);
  const std::uint32_t sum = sim::Le32(Slice(CommBuffers.PacketBuffers[kCh], 16), 10);
  EXPECT_EQ(sum, 0xFFu * ObjectState.MainDataLength);
}

// A 4 KB block that would read outside its image is not sent: the operation
// ends as failed with "Packet Error!". The last block that fits still goes.
TEST_F(SendersToUnit, BlockOutsideItsImageEndsTheOperationAsPacketError) {
  struct Case {
    const char* name;
    std::uint8_t state;
    std::function<bool()> send;
  };
  const std::uint16_t pastMain = static_cast<std::uint16_t>((kMainFlashImageSize - 0x1000) / 1024 - 3);
  const Case cases[] = {
      {"main data", kOpMainDownload, [=] { return SendMainDataBlock(pastMain, kCh); }},
      {"EEP data", kOpEepDownload, [] { return SendEepDataBlock(253, kCh); }},
      {"main program", kOpProgramMain, [=] { return SendMainProgramBlock(pastMain, kCh); }},
      {"EEP program", kOpProgramEep, [] { return SendEepProgramBlock(0xFFFF, kCh); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    ProgrammerState.ProgOpCode[kCh] = c.state;
    ProgrammerState.ChannelBusy[kCh] = 1;
    SetGauge(kCh, 1, 5, TGaugeColor::Blue);
    const std::size_t seen = line->Unit().ReceivedCount();
    EXPECT_FALSE(c.send());
    EXPECT_EQ(memo.Lines, std::vector<std::string>{"> 10:21:07 C3 : Packet Error!"});
    EXPECT_EQ(View(kCh), (TGaugeView{5, 5, TGaugeColor::Red}));
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 0);
    EXPECT_TRUE(line->PacketsSince(seen).empty());
  }

  // EEP block 252 ends exactly at the image's end.
  memo.Lines.clear();
  const sim::PacketRecord last = SendOne(kOpEepDownload, [] { return SendEepDataBlock(252, kCh); });
  EXPECT_EQ(last.problem, "");
  EXPECT_EQ(last.argument, 252);
  EXPECT_TRUE(memo.Lines.empty());
}

// Without a port that takes the frame nothing goes out and nothing else
// happens: the step's time-out ends it. A block inside its image is no
// packet error then.
TEST_F(UnitTest, SendersWithoutAnOpenPortReturnFalseAndChangeNothing) {
  TComm closed(events);
  struct Case {
    const char* name;
    TComm* port;
    int ch;
  };
  const Case cases[] = {{"no port", nullptr, kCh}, {"closed port", &closed, kCh}, {"index -1", &closed, -1},
                        {"index 10", &closed, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ProgrammerState.CommPorts[kCh] = c.port;
    ProgrammerState.ProgOpCode[kCh] = kOpMainDownload;
    ProgrammerState.ChannelBusy[kCh] = 1;
    EXPECT_FALSE(SendMainDataBlock(0, c.ch));
    EXPECT_FALSE(SendCommand(kCmdOperation, kSubBlankCheck, c.ch));
    EXPECT_FALSE(SendLinkProbe(c.ch));
    EXPECT_FALSE(SendFirmwareFinish(c.ch));
    EXPECT_TRUE(memo.Lines.empty());
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpMainDownload);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kCh], 1);
  }
}

TEST_F(SendersToUnit, FrameOfLengthZeroIsNotSent) {
  const std::size_t seen = line->Unit().ReceivedCount();
  EXPECT_FALSE(SendFrame(kCh, 0));
  EXPECT_TRUE(line->PacketsSince(seen).empty());
}

// A driver written by the simulator's own builder whose blank-check section
// is longer than the room before the common section: it loads, and the
// blank check carries the section up to the common one, which keeps its
// place over its end.
TEST_F(SendersToUnit, ADriverWithALongOperationSectionLoadsAndTravels) {
  TempFolder folder;
  SessionTexts.AppDir = folder.Dir();
  SessionTexts.ChipName = "AC7801MBTE";
  SelectedChip.ChipFamilyCode = 0x04;  // carries the common section
  SelectedChip.UseFlashDriver = 1;
  sim::DriverFileSpec spec;
  for (std::size_t k = 0; k < spec.sections.size(); ++k) spec.sections[k] = Slice(MemoryImages.OptionImage + 64 * k, 40);
  spec.sections[0] = Slice(MemoryImages.EepImage, 1100);
  std::filesystem::create_directories(folder.Path() / "QuorixDRVs");
  sim::WriteBytes(folder.Path() / "QuorixDRVs" / "LDR01.VDR", sim::BuildDriverFile(spec));
  LoadFlashDriver();
  ASSERT_EQ(SessionState.DriverValid, 1);

  const sim::PacketRecord sent = SendOne(kOpBlankCheck, [] { return SendCommand(kCmdOperation, kSubBlankCheck, kCh); });
  EXPECT_EQ(sent.problem, "");
  ASSERT_EQ(sent.packet.size(), 1112u + 40 + 2);
  EXPECT_EQ(PayloadLength(sent), 1104 + 40);
  EXPECT_EQ(Slice(sent.packet, 88, 1024), Slice(spec.sections[0], 0, 1024));
  EXPECT_EQ(Slice(sent.packet, 1112, 40), spec.sections[4]);
}

}  // namespace
