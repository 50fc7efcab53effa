// Whole operations on ten simulated units over real ports: the search links
// them, then each operation runs from its first packet to its result on
// every unit, and what the units hold is compared with the images. Faults
// on some units end those with the right message while the others finish.
#include <gtest/gtest.h>

#include <cstring>

#include "gang_fixture.h"
#include "link/firmware_file.h"
#include "link/operation_starters.h"
#include "sim_files.h"
#include "temp_folder.h"

namespace {

using Bytes = sim::Bytes;
using Lines = std::vector<std::string>;

constexpr int kUnits = 10;

Bytes Slice(const std::uint8_t* from, std::size_t n) { return Bytes(from, from + n); }

class GangOperations : public GangTest {
 protected:
  void SetUp() override {
    GangTest::SetUp();
    std::strcpy(SessionState.FirmwareVersion, "V1.06");
  }

  // The units, searched and linked.
  void Connect(const std::vector<sim::UnitSettings>& settings) {
    StartUnits(settings);
    Search();
    ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
    ASSERT_EQ(SessionState.FoundDeviceCount, settings.size());
    memo.Lines.clear();
    views.Calls.clear();
  }
  void Connect(const sim::UnitSettings& settings = {}) { Connect(std::vector<sim::UnitSettings>(kUnits, settings)); }

  // As an operation command starts it: every programmer's receive buffer
  // cleared and its auto flag set, the linked idle ones started.
  void OnEveryUnit(const std::function<void(int ch)>& start, std::uint8_t autoMode = 0) {
    memo.Lines.clear();
    for (int ch = 0; ch < static_cast<int>(ports.size()); ++ch) {
      ProgrammerState.RxFill[ch] = 0;
      ProgrammerState.AutoMode[ch] = autoMode;
      if (ProgrammerState.DeviceLinked[ch] && !ProgrammerState.ChannelBusy[ch]) start(ch);
    }
  }
  void RunToTheEnd() { ASSERT_TRUE(RunUntil([this] { return AllIdle(); })); }

  Bytes UnitBytes(int ch, sim::Area area, std::size_t n) {
    return (*units)[static_cast<std::size_t>(ch)].Modify([&](sim::Unit& u) {
      const Bytes& memory = u.Memory(area);
      return Bytes(memory.begin(), memory.begin() + static_cast<std::ptrdiff_t>(n));
    });
  }
  Bytes MainImage(std::size_t n) const { return Slice(MemoryImages.MainFlashImage + SelectedChip.MainBaseOffset, n); }

  void ExpectEnded(int ch, const Lines& lines, TGaugeColor color) {
    SCOPED_TRACE("C" + std::to_string(ch + 1));
    EXPECT_EQ(LinesOf(ch), lines);
    EXPECT_EQ(View(ch), (TGaugeView{gauges[ch].MaxValue(), gauges[ch].MaxValue(), color}));
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
    EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0);
  }
};

TEST_F(GangOperations, TheSearchLinksAllTen) {
  StartUnits(kUnits);
  Search();
  ASSERT_TRUE(RunUntil([this] { return AllLinked(); }));
  EXPECT_EQ(SessionState.FoundDeviceCount, kUnits);
  for (int ch = 0; ch < kUnits; ++ch) {
    EXPECT_EQ(LinesOf(ch), Lines{"Find Device: Velmot200IND V1.06!"}) << ch;
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
  }
}

TEST_F(GangOperations, DownloadLeavesTheJobInEveryUnit) {
  Connect();
  SelectedChip.UseFlashDriver = 1;
  ProgramSettings.EepProgram = 1;
  OnEveryUnit(StartDownloadChipData);
  RunToTheEnd();
  // The start packet leaves after the download's end.
  ASSERT_TRUE(RunUntil([this] {
    for (int ch = 0; ch < kUnits; ++ch) {
      const std::vector<sim::PacketRecord> received = (*units)[ch].Received();
      if (received.empty() || received.back().command != sim::kCmdReset) return false;
    }
    return true;
  }));
  EXPECT_EQ(SessionState.DownloadDoneCount, kUnits);
  const std::size_t mainBytes = 8 * 1024;  // 5,000 bytes in 4 KB blocks
  for (int ch = 0; ch < kUnits; ++ch) {
    ExpectEnded(ch,
                {"Start to Download Chip Data......", "Start to Download Main Flash Data......",
                 "Start to Dwonload EEP Data......", "Data Donwload Success!"},
                TGaugeColor::Blue);
    const sim::JobData job = (*units)[ch].Inspect([](const sim::Unit& u) { return u.job; });
    EXPECT_EQ(job.driver, Slice(MemoryImages.DriverImage, 2048));
    EXPECT_EQ(job.driverFileSize, SessionState.DriverFileSize);
    ASSERT_EQ(job.main.size(), mainBytes);
    EXPECT_EQ(job.main, MainImage(mainBytes));
    ASSERT_GE(job.eep.size(), 0x600u);
    EXPECT_EQ(Bytes(job.eep.begin(), job.eep.begin() + 0x600), Slice(MemoryImages.EepImage, 0x600));
    EXPECT_EQ(job.chipData.size(), 512u);
    for (const sim::PacketRecord& r : (*units)[ch].Received()) EXPECT_EQ(r.problem, "") << int{r.command};
  }
}

// Blank units, units holding data and units that report read protection
// once: all end with the option write and hold the images.
TEST_F(GangOperations, AutoRunsOnBlankFilledAndProtectedChips) {
  std::vector<sim::UnitSettings> settings(kUnits);
  for (int ch = 7; ch < kUnits; ++ch) settings[ch].faults.push_back({sim::kCmdControl, sim::kSubBlankCheck, sim::FaultKind::Result, 0x13, 0, 1});
  Connect(settings);
  for (int ch = 4; ch < 7; ++ch) (*units)[ch].Modify([](sim::Unit& u) { u.main[100] = 0x00; });
  ProgramSettings.EepProgram = 1;
  ProgramSettings.OptionProgram = 1;
  OnEveryUnit(StartAutoProgramming, 1);
  RunToTheEnd();

  const Lines tail = {"Start to Program Main Flash Data......", "Start to program EEP Data......",
                      "EEP Data Programm Successed!",           "Start to Verify Main Flash Data......",
                      "Main Flash Data Verify Successed!",      "Start to Verify EEP Data......",
                      "EEP Data Verify Successed!",             "Write Chip Option/Config Data......",
                      "Write Option Byte Successed!"};
  auto run = [&](Lines head) {
    head.insert(head.begin(), "Start Auto-Programming, Do Chip Blank Checking......");
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
  };
  for (int ch = 0; ch < kUnits; ++ch) {
    const Lines lines = ch < 4   ? run({"Chip is Blank!"})
                        : ch < 7 ? run({"Chip is not blank, do erasing......", "Chip has been erased!"})
                                 : run({"Chip has been protected, do erasing......", "Chip has been erased!"});
    ExpectEnded(ch, lines, TGaugeColor::Blue);
    EXPECT_EQ(UnitBytes(ch, sim::Area::Main, 5000), MainImage(5000)) << ch;
    EXPECT_EQ(UnitBytes(ch, sim::Area::Eep, 0x600), Slice(MemoryImages.EepImage, 0x600)) << ch;
    EXPECT_EQ(UnitBytes(ch, sim::Area::Option, 1024), Slice(MemoryImages.OptionImage, 1024)) << ch;
  }
  EXPECT_EQ(SessionState.ProgrammedCount, kUnits);
  EXPECT_EQ(views.Calls, Lines(kUnits, "AdvanceSerialNumber"));
}

TEST_F(GangOperations, SingleStepsEraseBlankProgramVerifyAndWriteOptions) {
  Connect();
  for (int ch = 0; ch < kUnits; ++ch) (*units)[ch].Modify([](sim::Unit& u) { std::fill_n(u.main.begin(), 0x2000, 0x5A); });

  OnEveryUnit([](int ch) { StartErase("Do Chip Erase......", ch); });
  RunToTheEnd();
  for (int ch = 0; ch < kUnits; ++ch) {
    ExpectEnded(ch, {"Do Chip Erase......", "Chip has been erased!"}, TGaugeColor::Blue);
    EXPECT_EQ(UnitBytes(ch, sim::Area::Main, 0x2000), Bytes(0x2000, 0xFF));
  }

  OnEveryUnit(StartBlankCheck);
  RunToTheEnd();
  for (int ch = 0; ch < kUnits; ++ch) ExpectEnded(ch, {"Start to Chip Blank Checking......", "Chip is Blank!"}, TGaugeColor::Blue);

  OnEveryUnit(StartProgramMain);
  RunToTheEnd();
  for (int ch = 0; ch < kUnits; ++ch) {
    ExpectEnded(ch, {"Start to Program Main Flash Data......", "Main Flash Programming Success!"}, TGaugeColor::Blue);
    EXPECT_EQ(UnitBytes(ch, sim::Area::Main, 5000), MainImage(5000));
  }

  // Unit 7 reads one byte of its second block back wrong.
  constexpr int kDiffering = 6;
  (*units)[kDiffering].Update([](sim::UnitSettings& s) { s.flips.push_back({sim::Area::Main, 0x1004, 0x10}); });
  OnEveryUnit(StartVerifyMain);
  RunToTheEnd();
  const std::uint8_t imageByte = MainImage(0x1005)[0x1004];
  char box[80];
  std::snprintf(box, sizeof box, "Chip 7: Address=0x00001004,Buffer=0x%02X,Chip=0x%02X", imageByte, imageByte ^ 0x10);
  EXPECT_EQ(prompts.Shown, Lines{box});
  for (int ch = 0; ch < kUnits; ++ch) {
    ExpectEnded(ch, {"Start to Verify Main Flash Data......", ch == kDiffering ? "Data Verify error!" : "Main Flash Data Verify Successed!"},
                ch == kDiffering ? TGaugeColor::Red : TGaugeColor::Blue);
  }

  OnEveryUnit(StartWriteOption);
  RunToTheEnd();
  for (int ch = 0; ch < kUnits; ++ch) {
    ExpectEnded(ch, {"Write Chip Option/Config Data......", "Write Option Byte Successed!"}, TGaugeColor::Blue);
    EXPECT_EQ(UnitBytes(ch, sim::Area::Option, 1024), Slice(MemoryImages.OptionImage, 1024));
  }
  EXPECT_EQ(SessionState.ProgrammedCount, 0u);  // no auto run
}

TEST_F(GangOperations, ReadsOnProgrammerOne) {
  Connect();
  Bytes chipMain(0x8000), chipEep(0x600), chipOption(1024);
  for (std::size_t i = 0; i < chipMain.size(); ++i) chipMain[i] = static_cast<std::uint8_t>(i * 11 + (i >> 9));
  for (std::size_t i = 0; i < chipEep.size(); ++i) chipEep[i] = static_cast<std::uint8_t>(0xC0 + i);
  for (std::size_t i = 0; i < chipOption.size(); ++i) chipOption[i] = static_cast<std::uint8_t>(i ^ 0xDB);
  (*units)[0].Modify([&](sim::Unit& u) {
    std::copy(chipMain.begin(), chipMain.end(), u.main.begin());
    std::copy(chipEep.begin(), chipEep.end(), u.eep.begin());
    std::copy(chipOption.begin(), chipOption.end(), u.option.begin());
  });
  std::memset(MemoryImages.MainFlashImage, 0xFF, 0x10000);
  std::memset(MemoryImages.EepImage, 0xFF, 0x1000);
  ObjectState.ObjectLoaded = 0;

  memo.Lines.clear();
  StartReadMain(0);
  RunToTheEnd();
  ExpectEnded(0, {"Read Chip Main Flash Data......", "Main Flash Has been read out!"}, TGaugeColor::Blue);
  EXPECT_EQ(MainImage(0x8000), chipMain);
  EXPECT_EQ(ObjectState.ObjectLoaded, 1);

  memo.Lines.clear();
  StartReadEep(0);
  RunToTheEnd();
  ExpectEnded(0, {"Read Chip EEP Data......", "EEP Data has been read out!"}, TGaugeColor::Blue);
  EXPECT_EQ(Slice(MemoryImages.EepImage, 0x600), chipEep);

  memo.Lines.clear();
  StartReadChecksum(0);
  RunToTheEnd();
  const std::span<const std::uint8_t> summed = std::span(chipMain).first(ObjectState.MainDataLength);
  std::uint32_t acc = 0;
  for (const std::uint8_t b : summed) acc += b;
  char line[80];
  std::snprintf(line, sizeof line, "Read Chip CRC16/ACC32 CheckSum:  0x%04X/0x%08X.", sim::Checksum16(summed), acc);
  ExpectEnded(0, {"Read Chip CheckSum Data......", line}, TGaugeColor::Blue);

  StartReadOption(0);
  RunToTheEnd();
  EXPECT_EQ(Slice(CommBuffers.PacketBuffers[0] + 8, 1024), chipOption);

  memo.Lines.clear();
  StartReadChipInfo(0);
  RunToTheEnd();
  ASSERT_EQ(memo.Lines.size(), 35u);
  EXPECT_EQ(memo.Lines[0], "> 10:21:07 Read Chip Information Data......");
  EXPECT_EQ(memo.Lines[3], "  0x03800000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(memo.Lines[34], "  0x038001F0 : F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");

  memo.Lines.clear();
  SessionState.ReadStartAddress = SelectedChip.MainStart + 0x100;
  SessionState.ReadLength = 0x20;
  StartReadMemory(0);
  RunToTheEnd();
  std::string row = "0x08000110 : ";
  for (std::size_t i = 0x110; i < 0x120; ++i) {
    char b[4];
    std::snprintf(b, sizeof b, "%02X ", chipMain[i]);
    row += b;
  }
  ASSERT_EQ(memo.Lines.size(), 3u);
  EXPECT_EQ(memo.Lines[2], row);

  EXPECT_EQ(views.Calls, (Lines{"ShowReadMainChecksum", "FillHexViewer 08000000 08007FFF", "ShowReadEepChecksum",
                                "FillEepViewer", "ShowReadOption 0 1024"}));
  for (int ch = 1; ch < kUnits; ++ch) EXPECT_TRUE(LinesOf(ch).empty());
}

// A unit with older firmware and one in its boot loader are upgraded (the
// firmware file holds 5,000 bytes and asks for three blocks), and the next
// search finds them with their new identity.
TEST_F(GangOperations, OlderAndBootLoaderUnitsAreUpgradedAndFoundAgain) {
  TempFolder folder;
  SessionTexts.AppDir = folder.Dir();
  sim::FirmwareFileSpec file;
  file.version = "V1.06";
  file.firmwareEnd = 0x1800;
  file.image.resize(5000);
  for (std::size_t i = 0; i < file.image.size(); ++i) file.image[i] = static_cast<std::uint8_t>(i * 7 + 1);
  sim::WriteBytes(FirmwareFilePath(), sim::BuildFirmwareFile(file));
  LoadFirmwareFile(FirmwareFilePath());
  ASSERT_EQ(SessionState.FirmwareLoaded, 1);

  std::vector<sim::UnitSettings> settings(kUnits);
  settings[3].identity = sim::ApplicationIdentity("V1.05");
  settings[8].identity = sim::kBootLoaderIdentity;
  StartUnits(settings);
  Search();
  ASSERT_TRUE(RunUntil([this] {
    return SessionState.FoundDeviceCount == 9 && AllIdle() && ProgrammerState.UpgradePending[3] == 0 &&
           ProgrammerState.UpgradePending[8] == 0 && ProgrammerState.DeviceLinked[8];
  }));
  EXPECT_EQ(LinesOf(3), (Lines{"Find Device: Velmot200IND V1.05!", "Start to Upgrade Programmer 4s Firmware......",
                               "Programmer 4s Firmware Fpgrade Completed!"}));
  EXPECT_EQ(LinesOf(8), (Lines{"Start to Upgrade Programmer 9s Firmware......", "Programmer 9s Firmware Fpgrade Completed!"}));
  for (const int ch : {3, 8}) {
    EXPECT_EQ(gauges[ch].ForeColor(), TGaugeColor::Blue);
    const Bytes firmware = (*units)[ch].Inspect([](const sim::Unit& u) { return Bytes(u.firmware.begin(), u.firmware.begin() + 3 * 2048); });
    for (std::size_t i = 0; i < firmware.size(); ++i) {
      const std::uint8_t expected = i % 4 == 3 ? 0 : MemoryImages.FirmwareImage[i];
      ASSERT_EQ(firmware[i], expected) << "unit " << ch << " byte " << i;
    }
    EXPECT_EQ(Bytes(firmware.begin(), firmware.begin() + 3), Bytes(file.image.begin(), file.image.begin() + 3));
  }
  EXPECT_EQ(SessionState.UpgradeRunning, 1);  // until the search after the upgrades
  // The finish packet has left before the ports are closed for the search.
  for (const int ch : {3, 8}) {
    ASSERT_TRUE(RunUntil([&] { return (*units)[ch].Inspect([](const sim::Unit& u) { return u.upgradesFinished == 1; }); }));
  }

  memo.Lines.clear();
  Search();
  EXPECT_EQ(SessionState.UpgradeRunning, 0);
  ASSERT_TRUE(RunUntil([this] { return AllLinked() && SessionState.FoundDeviceCount == kUnits; }));
  for (int ch = 0; ch < kUnits; ++ch) EXPECT_EQ(LinesOf(ch), Lines{"Find Device: Velmot200IND V1.06!"}) << ch;
}

// Faults on seven units during an auto run; each ends its unit with the
// right message while the others finish.
TEST_F(GangOperations, FaultsOnSomeUnitsEndThoseAlone) {
  std::vector<sim::UnitSettings> settings(kUnits);
  settings[0].faults.push_back({sim::kCmdProgramMain, 4, sim::FaultKind::Silent});
  settings[1].faults.push_back({sim::kCmdReadMain, 0, sim::FaultKind::BadChecksum});
  settings[2].faults.push_back({sim::kCmdProgramMain, 0, sim::FaultKind::Undecodable});
  settings[3].chunkSize = 1000;  // replies split over several chunks
  settings[3].chunkGapMs = 5;
  settings[4].noise = {0x00, 0x55, 0xFF, 0xDB, 0x11};
  settings[5].faults.push_back({sim::kCmdReadMain, 4, sim::FaultKind::Truncate, 0, 100});
  constexpr int kUnplugged = 6;
  Connect(settings);
  ProgramSettings.OptionProgram = 1;
  OnEveryUnit(StartAutoProgramming, 1);

  bool unplugged = false;
  ASSERT_TRUE(RunUntil([&] {
    if (!unplugged && (*units)[kUnplugged].Inspect([](const sim::Unit& u) {
          return std::any_of(u.records.begin(), u.records.end(), [](const sim::PacketRecord& r) { return r.command == sim::kCmdReadMain; });
        })) {
      (*units)[kUnplugged].Close();
      unplugged = true;
    }
    for (int ch = 1; ch < kUnits; ++ch)
      if (ch != kUnplugged && ProgrammerState.ChannelBusy[ch]) return false;
    return unplugged && !ports[kUnplugged]->PortOpen();
  }));
  EXPECT_EQ(ProgrammerState.ChannelBusy[0], 1);  // silent, waiting for its time-out
  EXPECT_EQ(ProgrammerState.ChannelBusy[kUnplugged], 1);
  EXPECT_EQ(ProgrammerState.DeviceLinked[kUnplugged], 0);
  TickUntilIdle();

  const std::string timeOut = "Command Executed Time Out!";
  const struct {
    int ch;
    std::string last;
    TGaugeColor color;
  } ends[] = {
      {0, timeOut, TGaugeColor::Red},
      {1, "Opertaion Failed! Error Code : 035/0x23.", TGaugeColor::Red},
      {2, "Packet Error!", TGaugeColor::Red},
      {3, "Write Option Byte Successed!", TGaugeColor::Blue},
      {4, "Write Option Byte Successed!", TGaugeColor::Blue},
      {5, "Packet Error!", TGaugeColor::Red},
      {6, timeOut, TGaugeColor::Red},
      {7, "Write Option Byte Successed!", TGaugeColor::Blue},
      {8, "Write Option Byte Successed!", TGaugeColor::Blue},
      {9, "Write Option Byte Successed!", TGaugeColor::Blue},
  };
  for (const auto& end : ends) {
    SCOPED_TRACE("C" + std::to_string(end.ch + 1));
    const Lines lines = LinesOf(end.ch);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), end.last);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), end.last), 1);
    EXPECT_EQ(gauges[end.ch].ForeColor(), end.color);
    EXPECT_EQ(ProgrammerState.ProgOpCode[end.ch], kOpIdle);
    if (end.color == TGaugeColor::Blue) {
      EXPECT_EQ(UnitBytes(end.ch, sim::Area::Main, 5000), MainImage(5000));
    }
  }
  EXPECT_EQ(SessionState.ProgrammedCount, 5u);
}

}  // namespace
