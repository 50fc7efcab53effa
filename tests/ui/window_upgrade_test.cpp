// Firmware upgrades in the window, on simulated units named in
// "ConfigVmg.ini": the search after an upgrade waits for what runs on the
// other programmers, a failed upgrade is left out until "&Connect Dev."
// tries it once more, and a firmware file that fails its checks is named at
// start-up, as is the boot loader it then cannot upgrade.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <functional>
#include <memory>

#include "data/program_state.h"
#include "demo_job.h"
#include "firmware_file_builder.h"
#include "link/firmware_file.h"
#include "sim_pty.h"
#include "started_window.h"
#include "text/format_text.h"

namespace {

constexpr int kWaitMs = 60000;  // a limit for slow sanitizer runs, not a measurement

// Room for a search, an upgrade and another search to start, had anything
// been going to start one: the faulty program restarted a failed upgrade
// every 0.7 s or so.
constexpr int kObserveMs = 2500;

const std::string kStoppedLine = "Operation stopped before it finished!";
const std::string kLeftOutLine = "Firmware Upgrade Failed, Programmer Left Out, Connect Dev. to Try Again!";
const std::string kFoundLine = "Find Device: Velmot200IND V1.06!";

// Four blocks of 2 KB of image (FirmwareEnd 0x1C00), the units' version.
std::vector<std::uint8_t> FourBlockFirmware() {
  TFirmwareFileSpec spec;
  spec.Version = kDemoFirmwareVersion;
  spec.End = 0x1C00;
  spec.Image = Pattern(4 * 2048, 3);
  return BuildFirmwareFile(spec);
}

class WindowUpgrade : public WindowTest {
 protected:
  void Units(const std::vector<sim::UnitSettings>& settings) {
    units = std::make_unique<sim::UnitGroup>(settings);
    units->WriteConfigIni(Folder());
  }
  void WriteFirmware(const std::vector<std::uint8_t>& file) const {
    std::ofstream(Folder() + kFirmwareFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }

  sim::PtyUnit& Unit(int ch) { return (*units)[static_cast<std::size_t>(ch)]; }
  int Count(int ch, std::uint8_t command, int argument = -1) {
    const std::vector<sim::PacketRecord> received = Unit(ch).Received();
    return static_cast<int>(std::count_if(received.begin(), received.end(), [&](const sim::PacketRecord& r) {
      return r.command == command && (argument < 0 || r.argument == argument);
    }));
  }
  // The unit has had n link requests and answered every packet it was sent.
  bool Searched(int ch, int n) {
    const std::vector<sim::PacketRecord> received = Unit(ch).Received();
    return Count(ch, sim::kCmdLinkProbe) == n && received.back().answered && Unit(ch).Pending() == 0;
  }

  using WindowTest::LinesOf;
  int LinesOf(int ch, const std::string& line) const {
    const std::vector<std::string> lines = LinesOf(ch);
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
  }
  static std::string StartLine(int ch) {
    return "Start to Upgrade Programmer " + std::to_string(ch + 1) + "s Firmware......";
  }

  std::unique_ptr<sim::UnitGroup> units;  // go after the window, whose ports close first
};

// Unit 2 answers the start-up search late, from its boot loader: meanwhile
// the operator has opened a project and started Prog., which runs on unit 1
// alone. Unit 2's upgrade ends while unit 1 still programs; the search
// after it waits for that Prog. to end, then finds both units.
TEST_F(WindowUpgrade, TheSearchAfterAnUpgradeWaitsForAProgOnAnotherUnit) {
  sim::UnitSettings late;
  late.identity = sim::kBootLoaderIdentity;
  late.replyDelayMs = 1500;
  Units({sim::UnitSettings{}, late});
  WriteDemoProgramFiles(Folder());
  const std::string project = Folder() + "demo.pqx";
  WriteDemoProject(project);
  StartWindow();
  ASSERT_TRUE(QTest::qWaitFor([] { return ProgrammerState.DeviceLinked[0] && SessionState.FoundDeviceCount == 1; },
                              kWaitMs));
  // Its answer to the link request is on its way; what follows comes at once.
  ASSERT_TRUE(Unit(1).WaitForPackets(1));
  Unit(1).Update([](sim::UnitSettings& s) { s.replyDelayMs = 0; });
  // Unit 1 takes 0.5 s a block: eight blocks of main flash.
  Unit(0).Update([](sim::UnitSettings& s) { s.replyDelayMs = 500; });
  prompts.Shown.clear();

  window->ExecFileDialog = [&project](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(project));
    return true;
  };
  Trigger("SpdBtnLdPrj");
  ASSERT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText)});
  Trigger("SpdBtnProg");
  ASSERT_EQ(ProgrammerState.ChannelBusy[0], 1);
  ASSERT_EQ(ProgrammerState.UpgradePending[1], 0);  // unit 2 has not answered yet

  // Whether unit 1 still programs when the upgrade's end is logged.
  int busyAtUpgradeEnd = -1;
  const QString upgraded = "C2 : Programmer 2s Firmware Fpgrade Completed!";
  const QMetaObject::Connection watch = QObject::connect(window->InfoMemo, &QPlainTextEdit::textChanged, [&] {
    if (busyAtUpgradeEnd < 0 && window->InfoMemo->toPlainText().contains(upgraded))
      busyAtUpgradeEnd = ProgrammerState.ChannelBusy[0];
  });
  ASSERT_TRUE(QTest::qWaitFor([this] { return Searched(0, 2) && Searched(1, 2) && SessionState.FoundDeviceCount == 2; },
                              kWaitMs));
  QObject::disconnect(watch);
  ASSERT_EQ(busyAtUpgradeEnd, 1) << "unit 1's Prog. ended before the upgrade did: nothing to wait for";

  EXPECT_EQ(LinesOf(0, kStoppedLine), 0);
  // The project ticks "Prog. Data Flash": main flash, then EEP data.
  EXPECT_EQ(LinesOf(0, "EEP Data Programm Successed!"), 1) << testing::PrintToString(LinesOf(0));
  EXPECT_EQ(LinesOf(0, kFoundLine), 2);
  EXPECT_EQ(LinesOf(1, "Programmer 2s Firmware Fpgrade Completed!"), 1);
  EXPECT_EQ(LinesOf(1, kFoundLine), 1);
  EXPECT_TRUE(ProgrammerState.DeviceLinked[0] && ProgrammerState.DeviceLinked[1]);
  // Unit 1 was searched again only after the last packet of its Prog.
  const std::vector<sim::PacketRecord> received = Unit(0).Received();
  const auto isProbe = [](const sim::PacketRecord& r) { return r.command == sim::kCmdLinkProbe; };
  const auto firstProbe = std::find_if(received.begin(), received.end(), isProbe);
  const auto secondProbe = std::find_if(firstProbe + 1, received.end(), isProbe);
  ASSERT_NE(secondProbe, received.end());
  EXPECT_EQ(std::count_if(received.begin(), secondProbe, [](const sim::PacketRecord& r) {
              return r.command == sim::kCmdProgramMain;
            }),
            static_cast<std::ptrdiff_t>(ObjectState.MainDataLength / 4096));
  EXPECT_TRUE(std::all_of(secondProbe, received.end(), isProbe));
  const std::uint32_t length = ObjectState.MainDataLength;
  const sim::Bytes programmed = Unit(0).Inspect([length](const sim::Unit& u) {
    return sim::Bytes(u.main.begin(), u.main.begin() + length);
  });
  EXPECT_EQ(programmed, DemoMainData(length));
  const std::uint32_t eepLength = ObjectState.EepDataLength;
  const sim::Bytes eep = Unit(0).Inspect([eepLength](const sim::Unit& u) {
    return sim::Bytes(u.eep.begin(), u.eep.begin() + eepLength);
  });
  EXPECT_EQ(eep, DemoEepData(eepLength));
  EXPECT_EQ(prompts.Shown.size(), 1u);
}

// Unit 1 answers from its boot loader and refuses firmware block 2 with
// code 33: its upgrade runs once, its failure and that it is left out are
// logged once, and the search after it finds unit 2 again but leaves unit
// 1 unlinked. "&Connect Dev." tries the upgrade exactly once more.
TEST_F(WindowUpgrade, AFailedUpgradeIsLeftOutUntilConnectDevTriesItOnceMore) {
  sim::UnitSettings refusing;
  refusing.identity = sim::kBootLoaderIdentity;
  refusing.faults.push_back({sim::kCmdFirmwareBlock, 2, sim::FaultKind::Result, 33});
  Units({refusing, sim::UnitSettings{}});
  WriteFirmware(FourBlockFirmware());
  const std::string failed = "Opertaion Failed! Error Code : 033/0x21.";

  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round == 1 ? "start-up" : "Connect Dev.");
    if (round == 1) {
      StartWindow();
    } else {
      QTest::mouseClick(window->BitBtnFindDev, Qt::LeftButton);
    }
    // The search after the failed upgrade has been answered.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Searched(0, 2 * round) && Searched(1, 2 * round); }, kWaitMs));
    QTest::qWait(kObserveMs);

    EXPECT_EQ(LinesOf(0, StartLine(0)), round);
    EXPECT_EQ(LinesOf(0, failed), round);
    EXPECT_EQ(LinesOf(0, kLeftOutLine), round);
    EXPECT_EQ(Count(0, sim::kCmdFirmwareBlock, 0), round);
    EXPECT_EQ(Count(0, sim::kCmdFirmwareBlock, 3), 0);
    EXPECT_EQ(Count(0, sim::kCmdLinkProbe), 2 * round);
    EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
    EXPECT_EQ(ProgrammerState.ChannelBusy[0], 0);
    // Unit 2 is found by each search and then left linked.
    EXPECT_EQ(Count(1, sim::kCmdLinkProbe), 2 * round);
    EXPECT_EQ(LinesOf(1), std::vector<std::string>(static_cast<std::size_t>(2 * round), kFoundLine));
    EXPECT_EQ(ProgrammerState.DeviceLinked[1], 1);
    EXPECT_EQ(SessionState.FoundDeviceCount, 1);
  }
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{}) << testing::PrintToString(prompts.Shown);
}

// A firmware file that fails its checks is named at start-up with the
// reason, in the log and in a box, as a missing one is; the boot-loader
// unit it cannot upgrade gets one line of its own and nothing sent.
TEST_F(WindowUpgrade, AFirmwareFileThatFailsItsChecksIsNamedAndSoIsTheBootLoaderLeftWaiting) {
  const std::string path = Folder() + kFirmwareFileName;
  std::vector<std::uint8_t> truncated = FourBlockFirmware();
  truncated.resize(truncated.size() / 2);
  std::vector<std::uint8_t> flipped = FourBlockFirmware();
  flipped[3315 + 100] ^= 0x10;  // a byte of the scrambled image
  TFirmwareFileSpec wrongSum;
  wrongSum.Version = kDemoFirmwareVersion;
  wrongSum.End = 0x1C00;
  wrongSum.Image = Pattern(4 * 2048, 3);
  wrongSum.SumError = 0x100;
  struct Case {
    const char* Name;
    std::function<void()> Write;
    std::string Text;
  };
  const Case cases[] = {
      {"truncated", [&] { WriteFirmware(truncated); },
       "Firmware File \"" + path + "\" is damaged (file cut short), Please confirm!"},
      {"a flipped image byte", [&] { WriteFirmware(flipped); },
       "Firmware File \"" + path + "\" is damaged (check sum unmatched), Please confirm!"},
      {"a wrong sum", [&] { WriteFirmware(BuildFirmwareFile(wrongSum)); },
       "Firmware File \"" + path + "\" is damaged (check sum unmatched), Please confirm!"},
      {"missing", [] {}, "File \"" + path + "\" not found, Please confirm!"},
  };
  sim::UnitSettings bootLoader;
  bootLoader.identity = sim::kBootLoaderIdentity;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    window.reset();
    units.reset();
    ResetProgramState();
    prompts.Shown.clear();
    std::filesystem::remove(path);
    Units({bootLoader});
    c.Write();

    StartWindow();
    ASSERT_TRUE(QTest::qWaitFor([this] { return Searched(0, 1); }, kWaitMs));
    const std::string noImage = Text(TTextId::BootLoaderNoFirmwareText);
    ASSERT_TRUE(QTest::qWaitFor([&] { return LinesOf(0, noImage) == 1; }, kWaitMs));

    const QStringList memo = Memo();
    ASSERT_GE(memo.size(), 2);
    EXPECT_EQ(memo[1].toStdString(), "> 09:05:07 " + c.Text);
    EXPECT_EQ(std::count(memo.begin(), memo.end(), QString::fromStdString("> 09:05:07 " + c.Text)), 1);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{c.Text});
    EXPECT_EQ(LinesOf(0), std::vector<std::string>{noImage});
    EXPECT_EQ(Unit(0).ReceivedCount(), 1u);  // the link request only
    EXPECT_EQ(ProgrammerState.DeviceLinked[0], 0);
  }
}

}  // namespace
