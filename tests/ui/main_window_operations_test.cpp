// The operation commands in the window, on simulated programmer units named
// in "ConfigVmg.ini" and found by the start-up search.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <functional>
#include <memory>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "data/program_state.h"
#include "demo_job.h"
#include "driver_file.h"
#include "link/comm.h"
#include "modal_closer.h"
#include "modal_watch.h"
#include "sim_pty.h"
#include "started_window.h"
#include "text/text_id.h"
#include "text/format_text.h"
#include "ui/aucux_config_form.h"
#include "ui/config_sn_form.h"
#include "ui/gauge_widget.h"
#include "ui/radio_group.h"
#include "ui/set_address_form.h"

namespace {

constexpr int kWaitMs = 60000;  // a limit for slow sanitizer runs, not a measurement
constexpr std::uint32_t kDataLength = 0x2000;
constexpr std::uint32_t kAU30xMainStart = 0x03000000;

std::uint8_t PatternByte(std::size_t i) { return static_cast<std::uint8_t>(i * 7 + (i >> 8) + 1); }

class WindowOperationsTest : public WindowTest {
 protected:
  // count units, all found by the start-up search.
  void StartWith(std::size_t count) {
    units = std::make_unique<sim::UnitGroup>(count);
    units->WriteConfigIni(Folder());
    StartWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [count] {
          return SessionState.FoundDeviceCount == count &&
                 std::all_of(ProgrammerState.DeviceLinked, ProgrammerState.DeviceLinked + count,
                             [](std::uint8_t linked) { return linked != 0; });
        },
        kWaitMs));
    prompts.Shown.clear();  // the missing firmware file
    CountReceivedBytes(count);
  }

  // Counts the bytes each port hands to the window from here on; what the
  // search brought has been handled already.
  void CountReceivedBytes(std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
      const int ch = static_cast<int>(i);
      received_[i] = Unit(ch).BytesWritten();
      TComm& port = *window->SPComm[i];
      port.OnReceiveData = [this, i, handler = port.OnReceiveData](TComm* sender, const std::uint8_t* buffer,
                                                                    std::uint16_t length) {
        received_[i] += length;
        handler(sender, buffer, length);
      };
    }
  }
  // Waits until the window has handled everything unit ch has sent, such as
  // the answer to a packet sent after its operation ended, which would
  // otherwise arrive during the next command.
  bool WaitAllHandled(int ch) {
    const auto i = static_cast<std::size_t>(ch);
    return QTest::qWaitFor([this, ch, i] { return Unit(ch).Pending() == 0 && received_[i] == Unit(ch).BytesWritten(); },
                           kWaitMs);
  }

  // An AU30x chip (EEP, option bytes, no flash driver), chosen as a project
  // chooses it, with 8 KB of data and a full EEP image.
  void ChooseAU30xWithData() {
    ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 0));
    window->ChangeChip();
    for (std::size_t i = 0; i < kDataLength; ++i) MemoryImages.MainFlashImage[i] = PatternByte(i);
    for (std::size_t i = 0; i < SelectedChip.EepSize; ++i) MemoryImages.EepImage[i] = PatternByte(i + 3);
    ObjectState.MainDataLength = kDataLength;
    ObjectState.ObjectLoaded = 1;
  }

  // The messages of programmer ch, without time and number.
  std::vector<std::string> LinesOf(int ch) const {
    const std::string tag = " C" + std::to_string(ch + 1) + " : ";
    std::vector<std::string> lines;
    for (const QString& text : Memo()) {
      const std::string line = text.toStdString();
      if (const auto at = line.find(tag); at != std::string::npos) lines.push_back(line.substr(at + tag.size()));
    }
    return lines;
  }
  static bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  static bool Idle(std::initializer_list<int> programmers) {
    return std::none_of(programmers.begin(), programmers.end(),
                        [](int ch) { return ProgrammerState.ChannelBusy[ch] != 0; });
  }
  static bool WaitIdle(std::initializer_list<int> programmers) {
    return QTest::qWaitFor([programmers] { return Idle(programmers); }, kWaitMs);
  }

  // "Open Project" with the file dialog confirming path.
  void OpenProject(const std::string& path) {
    window->ExecFileDialog = [path](QFileDialog& dialog) {
      dialog.selectFile(QString::fromStdString(path));
      return true;
    };
    Trigger("SpdBtnLdPrj");
  }

  sim::PtyUnit& Unit(int ch) { return (*units)[static_cast<std::size_t>(ch)]; }
  sim::Bytes UnitMain(int ch, std::uint32_t offset, std::size_t count) {
    return Unit(ch).Inspect([&](const sim::Unit& u) {
      return sim::Bytes(u.main.begin() + offset, u.main.begin() + static_cast<std::ptrdiff_t>(offset + count));
    });
  }

  std::unique_ptr<sim::UnitGroup> units;  // go after the window, whose ports close first
  std::array<std::size_t, kProgrammerMax> received_{};
};

// Every command starts on the linked, idle programmers; programmer 2, busy
// with a step of its own, is neither sent anything nor changed.
TEST_F(WindowOperationsTest, EachCommandRunsOnEveryIdleProgrammerAndLeavesABusyOneAlone) {
  StartWith(4);
  ChooseAU30xWithData();
  struct Command {
    const char* Control;
    std::uint8_t Code;  // of the first packet
    int Argument;       // -1: any
    int AutoMode;       // afterwards; -1: as it was before (1 here)
    const char* Ends;   // the last step's line of every started programmer
    int SentAfterEnd;   // a packet sent once the programmer is idle again; -1: none
  };
  // In this order the units' chips go from blank to programmed and verified.
  const Command commands[] = {
      {"Download1", 0x53, -1, -1, "Data Donwload Success!", 0x8A},  // the start of stand-alone programming
      {"SpdBtnBlankChk", 0x93, 0x05, 0, "Chip is Blank!", -1},
      {"SpdBtnErase", 0x93, 0x03, 0, "Chip has been erased!", -1},
      {"SpdBtnProg", 0x95, 0, 0, "Main Flash Programming Success!", -1},
      {"SpdBtnVerify", 0x9B, 0, 0, "Main Flash Data Verify Successed!", -1},
      {"SpdBtnWrtOPB", 0x93, 0x35, 0, "Write Option Byte Successed!", -1},
      {"WriteEepDataMemory1", 0x99, 0, 0, "EEP Data Programm Successed!", -1},
      {"AutoSpdBtn", 0x93, 0x05, 1, "Write Option Byte Successed!", -1},
  };
  constexpr int kBusy = 1;
  for (const Command& c : commands) {
    SCOPED_TRACE(c.Control);
    ProgrammerState.ChannelBusy[kBusy] = 1;
    ProgrammerState.ProgOpCode[kBusy] = kOpBlankCheck;
    ProgrammerState.ReplyTimeout[kBusy] = 60000;
    ProgrammerState.AutoMode[kBusy] = 0;
    ProgrammerState.RxFill[kBusy] = 3;
    std::size_t before[4];
    for (int ch = 0; ch < 4; ++ch) {
      before[ch] = Unit(ch).ReceivedCount();
      ProgrammerState.AutoMode[ch] = ch == kBusy ? 0 : 1;
    }

    Trigger(c.Control);
    ASSERT_TRUE(WaitIdle({0, 2, 3}));
    for (int ch : {0, 2, 3}) {
      SCOPED_TRACE(ch + 1);
      if (c.SentAfterEnd >= 0) {
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return !Unit(ch).Received().empty() && Unit(ch).Received().back().command == c.SentAfterEnd; },
            kWaitMs));
        ASSERT_TRUE(WaitAllHandled(ch));
      }
      const std::vector<sim::PacketRecord> received = Unit(ch).Received();
      ASSERT_GT(received.size(), before[ch]);
      const sim::PacketRecord& first = received[before[ch]];
      EXPECT_EQ(first.command, c.Code);
      if (c.Argument >= 0) {
        EXPECT_EQ(first.argument, c.Argument);
      }
      EXPECT_TRUE(std::all_of(received.begin() + static_cast<std::ptrdiff_t>(before[ch]), received.end(),
                              [](const sim::PacketRecord& r) { return r.problem.empty(); }));
      EXPECT_EQ(LinesOf(ch).back(), c.Ends);
      EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
      EXPECT_EQ(ProgrammerState.AutoMode[ch], c.AutoMode < 0 ? 1 : c.AutoMode);
    }
    EXPECT_EQ(Unit(kBusy).ReceivedCount(), before[kBusy]);
    EXPECT_EQ(ProgrammerState.ChannelBusy[kBusy], 1);
    EXPECT_EQ(ProgrammerState.ProgOpCode[kBusy], kOpBlankCheck);
    EXPECT_EQ(ProgrammerState.AutoMode[kBusy], 0);
    EXPECT_EQ(ProgrammerState.RxFill[kBusy], 3);
  }
  // The auto run found programmed chips: erased, programmed, verified, option bytes written.
  EXPECT_TRUE(Contains(LinesOf(0), "Chip is not blank, do erasing......"));
  EXPECT_EQ(UnitMain(2, 0, kDataLength), sim::Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kDataLength));
  EXPECT_TRUE(prompts.Shown.empty());
}

// A Prog. cut short by "&Connect Dev." or "Start Off-line Progrm" while the
// first `running` programmers still run it. Units 1 and 2 answer every
// packet 400 ms late, and the command comes just after each of them has
// been sent a block, so both answers arrive after their ports have been
// opened again. The units after the running ones have finished.
class StoppedProgTest : public WindowOperationsTest {
 protected:
  static constexpr int kLateMs = 400;

  void StopAProgWith(const char* command, int count, int running,
                     const std::function<void(int ch, sim::UnitSettings&)>& change = {}) {
    StartWith(static_cast<std::size_t>(count));
    ChooseAU30xWithData();
    for (int ch = 0; ch < count; ++ch) {
      Unit(ch).Update([&](sim::UnitSettings& s) {
        if (ch < 2) s.replyDelayMs = kLateMs;
        if (change) change(ch, s);
      });
    }
    Trigger("SpdBtnProg");
    for (int ch = running; ch < count; ++ch) {
      ASSERT_TRUE(WaitIdle({ch}));
      ASSERT_TRUE(WaitAllHandled(ch));
    }
    const std::size_t sent[2] = {Unit(0).ReceivedCount(), Unit(1).ReceivedCount()};
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return Unit(0).ReceivedCount() > sent[0] && Unit(1).ReceivedCount() > sent[1]; }, kWaitMs));
    for (int ch = 0; ch < running; ++ch) {
      ASSERT_EQ(ProgrammerState.ChannelBusy[ch], 1) << ch;
      ProgrammerState.ReplyTimeout[ch] = 60000;  // however slow this run is, it stays busy
    }
    for (int ch = 0; ch < count; ++ch) before_[static_cast<std::size_t>(ch)] = LinesOf(ch).size();
    Trigger(command);
  }

  // Programmer ch's lines since the command.
  std::vector<std::string> NewLinesOf(int ch) const {
    const std::vector<std::string> lines = LinesOf(ch);
    return {lines.begin() + static_cast<std::ptrdiff_t>(before_[static_cast<std::size_t>(ch)]), lines.end()};
  }
  std::string GaugeOf(int ch) const {
    const TGauge& g = window->Gauges[static_cast<std::size_t>(ch)]->Gauge();
    return std::to_string(g.Position()) + "/" + std::to_string(g.MaxValue()) +
           (g.ForeColor() == TGaugeColor::Red ? " red" : " blue");
  }

  const std::string stopped = Text(TTextId::OperationStoppedText);
  const std::string found = "Find Device: Velmot200IND V1.06!";
  const std::string noDevice = Text(TTextId::NoDeviceFoundText);
  std::array<std::size_t, kProgrammerMax> before_{};
};

// Each stopped programmer says so once and is then found again: the answer
// to its stopped block is not taken for an answer to the search. Its gauge
// shows the stop until its next operation starts, which starts as it does
// where the search emptied the gauge. A unit that answers the search with
// no identity is still reported. Eight 1 KB blocks: the gauges count blocks.
TEST_F(StoppedProgTest, ConnectDevShowsEachStopThenTheFoundDevice) {
  StopAProgWith("BitBtnFindDev", 5, 3, [](int ch, sim::UnitSettings& s) {
    if (ch == 2) s.faults.push_back({sim::kCmdProgramMain, -1, sim::FaultKind::Silent});
    if (ch == 4) s.faults.push_back({sim::kCmdLinkProbe, -1, sim::FaultKind::Result, 0});
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return SessionState.FoundDeviceCount == 4 && !NewLinesOf(4).empty(); }, kWaitMs));
  struct Row {
    const char* Unit;
    std::vector<std::string> Lines;
    const char* Gauge;
  };
  const Row rows[] = {
      {"answers late", {stopped, found}, "8/8 red"},
      {"answers late", {stopped, found}, "8/8 red"},
      {"never answers its block", {stopped, found}, "8/8 red"},
      {"had finished", {found}, "0/8 blue"},
      {"had finished, answers the search with no identity", {noDevice}, "0/8 blue"},
  };
  for (int ch = 0; ch < 5; ++ch) {
    const Row& row = rows[ch];
    SCOPED_TRACE("C" + std::to_string(ch + 1) + " " + row.Unit);
    EXPECT_EQ(NewLinesOf(ch), row.Lines);
    EXPECT_EQ(GaugeOf(ch), row.Gauge);
    EXPECT_EQ(ProgrammerState.ChannelBusy[ch], 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], ch < 4 ? 1 : 0);
  }

  Trigger("SpdBtnProg");
  EXPECT_EQ(GaugeOf(0), "4/8 blue");
  EXPECT_EQ(GaugeOf(0), GaugeOf(3));
  EXPECT_TRUE(prompts.Shown.empty());
}

// The off-line start says of no stopped unit that it is missing, neither in
// the log nor in the info panel, while both run stand-alone; their gauges
// show the stop, the others are emptied.
TEST_F(StoppedProgTest, TheOfflineStartShowsNoMissingDevice) {
  StopAProgWith("StartOfflineProgrm1", 4, 2, [](int ch, sim::UnitSettings& s) {
    if (ch < 2) s.script = sim::StandAloneScript(1);
  });
  EXPECT_EQ((std::vector<std::string>{GaugeOf(0), GaugeOf(1), GaugeOf(2), GaugeOf(3)}),
            (std::vector<std::string>{"8/8 red", "8/8 red", "0/8 blue", "0/8 blue"}));
  ASSERT_TRUE(QTest::qWaitFor(
      [] { return ProgrammerState.ProgramOkCount[0] == 1 && ProgrammerState.ProgramOkCount[1] == 1; }, kWaitMs))
      << Memo().join('\n').toStdString();
  for (int ch = 0; ch < 4; ++ch) {
    SCOPED_TRACE(ch + 1);
    const std::vector<std::string> lines = NewLinesOf(ch);
    EXPECT_FALSE(Contains(lines, noDevice));
    EXPECT_EQ(std::count(lines.begin(), lines.end(), stopped), ch < 2 ? 1 : 0);
    EXPECT_EQ(ProgrammerState.DeviceLinked[ch], 0);
  }
  EXPECT_NE(window->InfoPanel->text().toStdString(), noDevice);
  EXPECT_TRUE(prompts.Shown.empty());
}

TEST_F(WindowOperationsTest, TheReadsRunOnProgrammerOneOnly) {
  StartWith(2);
  ChooseAU30xWithData();
  Unit(0).Modify([](sim::Unit& u) {
    for (std::size_t i = 0; i < u.main.size(); ++i) u.main[i] = PatternByte(i + 11);
    for (std::size_t i = 0; i < u.eep.size(); ++i) u.eep[i] = PatternByte(i + 5);
  });
  const std::size_t unitTwo = Unit(1).ReceivedCount();
  ObjectState.ObjectLoaded = 0;

  Trigger("ReadChipMemory1");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back(), "Main Flash Has been read out!");
  EXPECT_EQ(ObjectState.ObjectLoaded, 1);
  EXPECT_EQ(sim::Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + SelectedChip.MainSize),
            UnitMain(0, 0, SelectedChip.MainSize));

  Trigger("ReadEEPMemory1");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back(), "EEP Data has been read out!");
  const sim::Bytes eep = Unit(0).Inspect([](const sim::Unit& u) { return u.eep; });
  EXPECT_TRUE(std::equal(MemoryImages.EepImage, MemoryImages.EepImage + SelectedChip.EepSize, eep.begin()));

  Trigger("ReadChipCheckSum1");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back().rfind("Read Chip CRC16/ACC32 CheckSum:  0x", 0), 0u);

  // Read Specific Address: the dialog's start, aligned down, and length.
  OnNextModal([](QWidget& modal) {
    auto& dialog = dynamic_cast<TSetAddressForm&>(modal);
    dialog.EditAddr->setText("0x03000105");
    dialog.SpinEditRD->setValue(32);
    dialog.BitBtnOK->click();
  });
  Trigger("ReadSpcAddress");
  ASSERT_TRUE(WaitIdle({0}));
  const sim::Bytes range = UnitMain(0, 0x100, 32);
  QStringList dump{"> Read Address Memory Data below: "};
  for (int row = 0; row < 2; ++row) {
    QString line = QString::fromStdString(FormatText("0x%08X : ", kAU30xMainStart + 0x100 + 16 * row));
    for (int i = 0; i < 16; ++i) line += QString::fromStdString(FormatText("%02X ", range[16 * row + i]));
    dump << line;
  }
  EXPECT_EQ(Memo().mid(Memo().size() - 3), dump);
  // Closed without OK, the dialog leaves the range as it stood: the same read again.
  OnNextModal([](QWidget& modal) { dynamic_cast<TSetAddressForm&>(modal).reject(); });
  Trigger("ReadSpcAddress");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(Memo().mid(Memo().size() - 3), dump);

  Trigger("ReadMG32xxChipID1");
  ASSERT_TRUE(WaitIdle({0}));
  const QStringList memo = Memo();
  ASSERT_GE(memo.size(), 34);
  EXPECT_EQ(memo[memo.size() - 33], ">     Chip Information Data as Below: ");
  EXPECT_EQ(memo[memo.size() - 32], "  0x03800000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
  EXPECT_EQ(memo.back(), "  0x038001F0 : F0 F1 F2 F3 F4 F5 F6 F7 F8 F9 FA FB FC FD FE FF");

  Trigger("ReadOptionByte1");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(ProgrammerState.ProgOpCode[0], kOpIdle);
  EXPECT_TRUE(Contains(LinesOf(0), "Read Chip Option/Config Data ......"));

  EXPECT_EQ(Unit(1).ReceivedCount(), unitTwo);
  EXPECT_TRUE(prompts.Shown.empty());
}

// One number goes into the one image that every programmer receives, so it
// may run on one linked programmer only, and only while no programmer runs
// on that image.
TEST_F(WindowOperationsTest, OnlineSerialNumbersRunOnOneProgrammerOnly) {
  StartWith(2);
  ChooseAU30xWithData();
  window->CheckBoxSN->setChecked(true);
  window->ChkBoxPCSN->setChecked(true);
  window->AddrEdit->setText("0x03000100");
  window->SNEdit1->setText("0x12345678");
  const sim::Bytes imageBefore(MemoryImages.MainFlashImage + 0x100, MemoryImages.MainFlashImage + 0x104);
  const auto refusedWith = [&](const std::string& text) {
    for (const char* command : {"AutoSpdBtn", "SpdBtnProg"}) {
      SCOPED_TRACE(command);
      prompts.Shown.clear();
      Trigger(command);
      EXPECT_EQ(prompts.Shown, std::vector<std::string>{text});
    }
    EXPECT_EQ(sim::Bytes(MemoryImages.MainFlashImage + 0x100, MemoryImages.MainFlashImage + 0x104), imageBefore);
  };
  const std::string twoLinked = FormatText(TTextId::OnlineSnOneProgrammerFormat, 2);

  // Both linked and idle.
  const qsizetype memoBefore = Memo().size();
  refusedWith(twoLinked);
  EXPECT_TRUE(Idle({0, 1}));
  EXPECT_EQ(Memo().size(), memoBefore);  // no settings were collected

  // Programmer 2 still runs a blank check when programmer 1 is free again.
  Unit(1).Update([](sim::UnitSettings& s) { s.silent = true; });
  Trigger("SpdBtnBlankChk");
  ASSERT_TRUE(WaitIdle({0}));
  ASSERT_EQ(ProgrammerState.ChannelBusy[1], 1);
  ProgrammerState.ReplyTimeout[1] = 60000;  // however slow this run is, it stays busy
  ASSERT_TRUE(WaitAllHandled(0));
  const std::size_t unitOne = Unit(0).ReceivedCount();
  refusedWith(twoLinked);

  // Unplugged while running: no longer linked, still busy until its time-out.
  Unit(1).Close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !window->SPComm[1]->PortOpen(); }, kWaitMs));
  ASSERT_EQ(ProgrammerState.ChannelBusy[1], 1);
  refusedWith(Text(TTextId::OnlineSnBusyText));
  QTest::qWait(50);
  EXPECT_EQ(Unit(0).ReceivedCount(), unitOne);

  // Its time-out over, programmer 1 is the one to run.
  ProgrammerState.ReplyTimeout[1] = 1;
  ASSERT_TRUE(WaitIdle({1}));
  prompts.Shown.clear();
  Trigger("AutoSpdBtn");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back(), "Write Option Byte Successed!");
  EXPECT_EQ(UnitMain(0, 0x100, 4), (sim::Bytes{0x12, 0x34, 0x56, 0x78}));
  EXPECT_EQ(window->SNEdit1->text(), "0x12345679");
  EXPECT_EQ(SessionState.ProgrammedCount, 1u);

  // The number programmed is the one shown, typed after the last run.
  window->SNEdit1->setText("0x00000042");
  Trigger("SpdBtnProg");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(UnitMain(0, 0x100, 4), (sim::Bytes{0x00, 0x00, 0x00, 0x42}));
  EXPECT_EQ(window->SNEdit1->text(), "0x00000042");  // Prog does not advance it
  EXPECT_TRUE(prompts.Shown.empty());
}

// A number outside the main area is not written, and no programmer starts.
TEST_F(WindowOperationsTest, ASerialNumberThatCannotBeWrittenStartsNoProgrammer) {
  StartWith(1);
  ChooseAU30xWithData();
  window->CheckBoxSN->setChecked(true);
  window->ChkBoxPCSN->setChecked(true);  // "S/N Address:" stays 0x0000FFF0, below the AU30x main area
  const std::size_t before = Unit(0).ReceivedCount();
  for (const char* command : {"AutoSpdBtn", "SpdBtnProg"}) {
    SCOPED_TRACE(command);
    prompts.Shown.clear();
    Trigger(command);
    ASSERT_EQ(prompts.Shown.size(), 1u);
    EXPECT_NE(prompts.Shown[0].find("S/N Address 0x0000FFF0"), std::string::npos);
    EXPECT_EQ(ProgrammerState.ChannelBusy[0], 0);
  }
  QTest::qWait(50);
  EXPECT_EQ(Unit(0).ReceivedCount(), before);
}

// A BAT32 job whose flash-driver file is missing: no command whose packets
// would carry the driver starts on any programmer, and one box names the
// file; what sends no driver for this family (the chip information read
// here) runs. With the file in place, the project opened again loads the
// driver, and the download sends it.
TEST_F(WindowOperationsTest, NothingThatSendsTheFlashDriverStartsWhileItIsNotLoaded) {
  const std::string project = Folder() + "demo.pqx";
  WriteDemoProject(project);
  StartWith(2);
  OpenProject(project);
  const std::string driver = Folder() + kDemoDriverFile;
  ASSERT_EQ(prompts.Shown, (std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText),
                                                      FormatText(TTextId::DriverFileMissingFormat, driver.c_str())}));
  ASSERT_EQ(ObjectState.ObjectLoaded, 1);
  const std::size_t before[2] = {Unit(0).ReceivedCount(), Unit(1).ReceivedCount()};

  const std::string refusal = FormatText(TTextId::DriverNotLoadedFormat, driver.c_str());
  for (const char* command : {"Download1", "AutoSpdBtn", "SpdBtnBlankChk", "SpdBtnErase", "SpdBtnProg",
                              "WriteEepDataMemory1", "SpdBtnWrtOPB", "ReadChipCheckSum1"}) {
    SCOPED_TRACE(command);
    prompts.Shown.clear();
    Trigger(command);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{refusal});
    EXPECT_TRUE(Idle({0, 1}));
  }
  QTest::qWait(50);
  EXPECT_EQ(Unit(0).ReceivedCount(), before[0]);
  EXPECT_EQ(Unit(1).ReceivedCount(), before[1]);

  prompts.Shown.clear();
  Trigger("ReadMG32xxChipID1");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_TRUE(Memo().contains(">     Chip Information Data as Below: "));
  EXPECT_TRUE(prompts.Shown.empty());
  ASSERT_TRUE(WaitAllHandled(0));

  WriteDriverFile(Folder(), "LDR09.VDR");
  prompts.Shown.clear();
  OpenProject(project);
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText)});
  prompts.Shown.clear();
  Trigger("Download1");
  ASSERT_TRUE(WaitIdle({0, 1}));
  const TDemoBytes plain = DemoDriverPlain();
  for (int ch = 0; ch < 2; ++ch) {
    SCOPED_TRACE(ch + 1);
    EXPECT_EQ(LinesOf(ch).back(), "Data Donwload Success!");
    // The driver as its file holds it.
    const sim::Bytes sent = Unit(ch).Inspect([](const sim::Unit& u) { return u.job.driver; });
    ASSERT_GE(sent.size(), plain.size());
    EXPECT_EQ(sim::Bytes(sent.begin(), sent.begin() + static_cast<std::ptrdiff_t>(plain.size())), plain);
  }
  EXPECT_TRUE(prompts.Shown.empty());
}

// An MR88F chip (family code 0x04) whose flash-driver file is missing: its
// verify and read packets carry the driver's common section, so Verify and
// every read that sends one is refused with one box, and nothing goes to
// any programmer. The read of an address range carries no driver: what it
// sends is the first packet since the refusals.
TEST_F(WindowOperationsTest, VerifyAndTheReadsWaitForTheDriverWhereTheirPacketsCarryIt) {
  StartWith(2);
  ASSERT_TRUE(AcceptChipChoice(kVendorMR88F, 0));
  window->ChangeChip();
  const std::string driver = Folder() + "QuorixDRVs/LDR06.VDR";
  ASSERT_EQ(prompts.Shown, std::vector<std::string>{FormatText(TTextId::DriverFileMissingFormat, driver.c_str())});
  ASSERT_EQ(SelectedChip.ChipFamilyCode, 0x04);
  ObjectState.MainDataLength = kDataLength;
  ObjectState.ObjectLoaded = 1;
  const std::size_t before[2] = {Unit(0).ReceivedCount(), Unit(1).ReceivedCount()};

  const std::string refusal = FormatText(TTextId::DriverNotLoadedFormat, driver.c_str());
  for (const char* command : {"SpdBtnVerify", "ReadChipMemory1", "ReadEEPMemory1", "ReadOptionByte1",
                              "ReadChipCheckSum1", "ReadMG32xxChipID1"}) {
    SCOPED_TRACE(command);
    prompts.Shown.clear();
    Trigger(command);
    EXPECT_EQ(prompts.Shown, std::vector<std::string>{refusal});
    EXPECT_TRUE(Idle({0, 1}));
  }

  prompts.Shown.clear();
  OnNextModal([](QWidget& modal) { dynamic_cast<TSetAddressForm&>(modal).reject(); });
  Trigger("ReadSpcAddress");
  ASSERT_TRUE(WaitIdle({0}));
  ASSERT_TRUE(Unit(0).WaitForPackets(before[0] + 1));
  const std::vector<sim::PacketRecord> received = Unit(0).Received();
  ASSERT_EQ(received.size(), before[0] + 1);
  EXPECT_EQ(received.back().command, 0x93);
  EXPECT_EQ(received.back().argument, 0x79);
  EXPECT_EQ(Unit(1).ReceivedCount(), before[1]);
  EXPECT_TRUE(prompts.Shown.empty());
}

// What the job is, as a programmer uses it and the window shows it.
struct TJob {
  sim::Bytes Main, Eep, Option;
  std::vector<std::uint32_t> Numbers;
  QStringList Panels, MainCells;
  bool ProgOption;
  bool operator==(const TJob&) const = default;
};

// While a programmer runs Prog., nothing changes the job under it: "Fill SN
// Data" and "Set Option Byte" are refused before their dialogs open, and a
// dialog that was open when the programmer started (as the command-line
// download starts) has its OK refused and stays open. Every refusal is the
// one busy box; the unit ends holding the data it started with.
TEST_F(WindowOperationsTest, NothingChangesTheJobWhileAProgrammerIsBusy) {
  StartWith(1);
  ChooseAU30xWithData();
  window->RefreshChecksumsAndViews();
  // "Set Option Byte" sets the box from the flag however its dialog closes.
  window->CheckBoxOpt->setChecked(ProgramSettings.OptionsModified != 0);
  window->ChkBoxPrgEEP->setChecked(false);  // Prog. ends with the main flash
  // Each block is answered late, so the run lasts while the test acts.
  Unit(0).Update([](sim::UnitSettings& s) { s.replyDelayMs = 150; });
  const auto job = [this] {
    const TObjectState& o = ObjectState;
    QStringList cells;
    const TMemoryViewModel& model = window->HexViewerModel();
    for (int row = 0; row < model.rowCount(); ++row)
      for (int column = 0; column < model.columnCount(); ++column) cells << model.data(model.index(row, column)).toString();
    return TJob{sim::Bytes(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage)),
                sim::Bytes(std::begin(MemoryImages.EepImage), std::end(MemoryImages.EepImage)),
                sim::Bytes(std::begin(MemoryImages.OptionImage), std::end(MemoryImages.OptionImage)),
                {ProgramSettings.OptionsModified, o.MainDataLength, o.MainSum, o.EepSum, o.ChipChecksum, o.FileChecksum},
                {window->StatusPanels[0]->FullText(), window->StatusPanels[1]->FullText(),
                 window->StatusPanels[2]->FullText()},
                cells,
                window->CheckBoxOpt->isChecked()};
  };
  const sim::Bytes data(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kDataLength);
  // Prog. started, and running once its first block has been answered.
  const auto startProgram = [this] {
    const std::size_t before = Unit(0).ReceivedCount();
    window->SpdBtnProgClick();
    return QTest::qWaitFor(
        [&] {
          const std::vector<sim::PacketRecord> received = Unit(0).Received();
          return received.size() > before + 1 && received.back().command == sim::kCmdProgramMain &&
                 received[received.size() - 2].answered;
        },
        kWaitMs) &&
           ProgrammerState.ChannelBusy[0] != 0;
  };
  const auto endsWithTheData = [&] {
    ASSERT_TRUE(WaitIdle({0}));
    EXPECT_EQ(LinesOf(0).back(), "Main Flash Programming Success!");
    EXPECT_EQ(UnitMain(0, 0, kDataLength), data);
    ASSERT_TRUE(WaitAllHandled(0));
  };
  const std::vector<std::string> busyBox{Text(TTextId::JobChangeBusyText)};

  // Clicked while the programmer runs: no dialog opens.
  ASSERT_TRUE(startProgram());
  const TJob running = job();
  for (const char* command : {"ButtonCfgSN", "BtnOptionCfg"}) {
    SCOPED_TRACE(command);
    prompts.Shown.clear();
    const qsizetype memo = Memo().size();
    TModalWatch watch;
    Trigger(command);
    EXPECT_EQ(watch.Opened, 0);
    EXPECT_EQ(prompts.Shown, busyBox);
    EXPECT_EQ(Memo().size(), memo);
    EXPECT_TRUE(job() == running);
    EXPECT_EQ(ProgrammerState.ChannelBusy[0], 1);
  }
  endsWithTheData();

  // Open when the programmer starts: OK writes nothing, the dialog stays open until Cancel.
  struct Case {
    const char* Command;
    std::function<void(QWidget&)> FillIn;  // as the operator would before OK
    std::function<void(QWidget&)> Ok;
  };
  const Case cases[] = {
      {"ButtonCfgSN",
       [](QWidget& modal) {
         auto& form = dynamic_cast<TConfigSNForm&>(modal);
         form.RadioGroupFM->SetItemIndex(1);
         form.EditDataSN->setText("99 AA BB CC ");
       },
       [](QWidget& modal) { dynamic_cast<TConfigSNForm&>(modal).BitBtnOK->click(); }},
      {"BtnOptionCfg",
       [](QWidget& modal) {
         auto& form = dynamic_cast<TAUCUxCfgForm&>(modal);
         form.ChkBoxLFC->setChecked(true);
         form.ChkBoxDnBOT->setChecked(true);
       },
       [](QWidget& modal) { dynamic_cast<TAUCUxCfgForm&>(modal).BitBtn2->click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Command);
    prompts.Shown.clear();
    bool started = false;
    bool stayedOpen = false;
    TJob whileOpen;
    qsizetype memo = 0;
    OnNextModal([&](QWidget& modal) {
      c.FillIn(modal);
      started = startProgram();
      whileOpen = job();
      memo = Memo().size();
      c.Ok(modal);
      stayedOpen = modal.isVisible();
      dynamic_cast<QDialog&>(modal).reject();
    });
    Trigger(c.Command);
    ASSERT_TRUE(started);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(prompts.Shown, busyBox);
    EXPECT_TRUE(job() == whileOpen);
    // The data length and sums are not taken again under the running programmer.
    for (const QString& line : Memo().mid(memo)) EXPECT_FALSE(line.contains("Chip Actual Programmed Data Size"));
    endsWithTheData();
  }
}

}  // namespace
