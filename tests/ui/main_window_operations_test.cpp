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
#include "link/byte_order.h"
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
  // count units, all found by the start-up search; the window started with
  // these command-line arguments.
  void StartWith(std::size_t count, std::vector<std::string> arguments = {}) {
    units = std::make_unique<sim::UnitGroup>(count);
    units->WriteConfigIni(Folder());
    StartWindow(std::move(arguments));
    // Before the first event: a command-line download may start, and its
    // answers arrive, while the search is still being waited for.
    CountReceivedBytes(count);
    ASSERT_TRUE(QTest::qWaitFor(
        [count] {
          return SessionState.FoundDeviceCount == count &&
                 std::all_of(ProgrammerState.DeviceLinked, ProgrammerState.DeviceLinked + count,
                             [](std::uint8_t linked) { return linked != 0; });
        },
        kWaitMs));
    prompts.Shown.clear();  // the missing firmware file
  }

  // Counts the bytes each port hands to the window from here on; the units
  // have sent nothing yet.
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

  // "Enable S/N" and "Enable Online SN" ticked, the number at address, from first on.
  void UseOnlineSerialNumbers(const char* address, const char* first) {
    window->CheckBoxSN->setChecked(true);
    window->ChkBoxPCSN->setChecked(true);
    window->AddrEdit->setText(address);
    window->SNEdit1->setText(first);
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

  // "Save to Project File" with the file dialog confirming path.
  void SaveProject(const std::string& path) {
    window->ExecFileDialog = [path](QFileDialog& dialog) {
      dialog.selectFile(QString::fromStdString(path));
      return true;
    };
    Trigger("SavetoProjectFile1");
  }

  // A fresh chip in unit ch: main flash and EEP blank, option bytes 0.
  void FreshChip(int ch) {
    Unit(ch).Modify([](sim::Unit& u) {
      std::ranges::fill(u.main, u.BlankByte());
      std::ranges::fill(u.eep, u.BlankByte());
      std::ranges::fill(u.option, 0x00);
    });
  }

  // Unit ch's packets from index `from` on.
  std::vector<sim::PacketRecord> ReceivedFrom(int ch, std::size_t from) {
    const std::vector<sim::PacketRecord> received = Unit(ch).Received();
    return std::vector<sim::PacketRecord>(received.begin() + static_cast<std::ptrdiff_t>(from), received.end());
  }

  // Waits until unit ch has had a main-flash program block answered since
  // packet `from`: its operation programs the main flash now.
  bool ProgrammingMain(int ch, std::size_t from) {
    return QTest::qWaitFor(
        [&] {
          const std::vector<sim::PacketRecord> received = ReceivedFrom(ch, from);
          return std::any_of(received.begin(), received.end(), [](const sim::PacketRecord& r) {
            return r.command == sim::kCmdProgramMain && r.answered;
          });
        },
        kWaitMs);
  }

  // Waits until each of the first count units has received the start of
  // stand-alone programming that ends a download, since its packet
  // from[ch] (its count before the Download, so that an earlier
  // download's start does not count), and the window has handled its answer.
  bool WaitDownloadsStarted(int count, const std::vector<std::size_t>& from = {}) {
    for (int ch = 0; ch < count; ++ch) {
      const std::size_t first = from.empty() ? 0 : from[static_cast<std::size_t>(ch)];
      const bool started = QTest::qWaitFor(
          [&] {
            const std::vector<sim::PacketRecord> received = ReceivedFrom(ch, first);
            return !received.empty() && received.back().command == sim::kCmdReset && received.back().answered;
          },
          kWaitMs);
      if (!started || !WaitAllHandled(ch)) return false;
    }
    return true;
  }
  sim::JobData Job(int ch) {
    return Unit(ch).Inspect([](const sim::Unit& u) { return u.job; });
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
  UseOnlineSerialNumbers("0x03000100", "0x12345678");
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

// Unit 2 runs a slow Prog. (or Auto) with a step box ticked; meanwhile the
// operator unticks the box and runs a command that collects the settings.
// The running operation ends as it was started: it sends its step, the chip
// holds that data, the log says so, and every packet it sends after the
// change carries the program-step byte it started with. What the command
// collected is what the idle unit's new operation runs with.
TEST_F(WindowOperationsTest, ARunningOperationEndsWithTheSettingsItStartedWith) {
  StartWith(2);
  ChooseAU30xWithData();
  constexpr int kIdle = 0;
  constexpr int kBusy = 1;
  constexpr std::size_t kStepFlagsAt = 8 + 35;  // ProgramStepFlags in the parameter block of a packet
  Unit(kBusy).Update([](sim::UnitSettings& u) { u.replyDelayMs = 150; });
  struct Row {
    const char* What;
    const char* Start;
    QCheckBox* TGenMFrmARM::*Box;  // ticked at the start, unticked while it runs
    const char* During;
    std::uint8_t StepCode;  // a packet of the step the box asks for
    int StepArgument;       // -1: any
    const char* StepLine;   // the operation's last line
    std::uint8_t StepFlags;
  };
  const Row rows[] = {
      {"Save to Project File", "SpdBtnProg", &TGenMFrmARM::ChkBoxPrgEEP, "SavetoProjectFile1", sim::kCmdProgramEep, -1,
       "EEP Data Programm Successed!", 0x3F},
      {"Read CheckSum on programmer 1", "SpdBtnProg", &TGenMFrmARM::ChkBoxPrgEEP, "ReadChipCheckSum1",
       sim::kCmdProgramEep, -1, "EEP Data Programm Successed!", 0x3F},
      {"Prog. on the idle unit", "SpdBtnProg", &TGenMFrmARM::ChkBoxPrgEEP, "SpdBtnProg", sim::kCmdProgramEep, -1,
       "EEP Data Programm Successed!", 0x3F},
      {"Auto's option step, Blank on the idle unit", "AutoSpdBtn", &TGenMFrmARM::CheckBoxOpt, "SpdBtnBlankChk",
       sim::kCmdControl, sim::kSubWriteOption, "Write Option Byte Successed!", 0x57},
  };
  const std::string project = Folder() + "saved.pqx";
  window->ExecFileDialog = [project](QFileDialog& dialog) {
    dialog.selectFile(QString::fromStdString(project));
    return true;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.What);
    for (int ch : {kIdle, kBusy}) FreshChip(ch);
    window->ChkBoxPrgEEP->setChecked(false);
    window->CheckBoxOpt->setChecked(false);
    (window.get()->*row.Box)->setChecked(true);
    // Programmer 1 is held busy while the command starts, so it runs on unit 2 only.
    ProgrammerState.ChannelBusy[kIdle] = 1;
    ProgrammerState.ProgOpCode[kIdle] = kOpBlankCheck;
    ProgrammerState.ReplyTimeout[kIdle] = 60000;
    const std::size_t started = Unit(kBusy).ReceivedCount();
    const std::size_t idleBefore = Unit(kIdle).ReceivedCount();
    Trigger(row.Start);
    ASSERT_TRUE(ProgrammingMain(kBusy, started));
    ProgrammerState.ChannelBusy[kIdle] = 0;
    ProgrammerState.ProgOpCode[kIdle] = kOpIdle;
    ASSERT_EQ(ProgrammerState.ProgOpCode[kBusy], kOpProgramMain);

    (window.get()->*row.Box)->setChecked(false);
    const std::size_t changed = Unit(kBusy).ReceivedCount();
    Trigger(row.During);
    ASSERT_TRUE(WaitIdle({kIdle, kBusy}));
    ASSERT_TRUE(WaitAllHandled(kIdle));
    ASSERT_TRUE(WaitAllHandled(kBusy));

    const std::vector<std::string> lines = LinesOf(kBusy);
    EXPECT_EQ(lines.back(), row.StepLine);
    const std::vector<sim::PacketRecord> sent = ReceivedFrom(kBusy, changed);
    EXPECT_TRUE(std::any_of(sent.begin(), sent.end(), [&](const sim::PacketRecord& r) {
      return r.command == row.StepCode && (row.StepArgument < 0 || r.argument == row.StepArgument);
    }));
    for (const sim::PacketRecord& r : sent) {
      ASSERT_TRUE(r.problem.empty()) << r.problem;
      if (r.command == sim::kCmdProgramMain || r.command == sim::kCmdProgramEep || r.command == sim::kCmdReadMain ||
          r.command == sim::kCmdControl) {
        ASSERT_GT(r.packet.size(), kStepFlagsAt);
        EXPECT_EQ(r.packet[kStepFlagsAt], row.StepFlags) << +r.command;
      }
    }
    if (row.StepCode == sim::kCmdProgramEep) {
      const sim::Bytes eep = Unit(kBusy).Inspect([](const sim::Unit& u) { return u.eep; });
      EXPECT_TRUE(std::equal(MemoryImages.EepImage, MemoryImages.EepImage + SelectedChip.EepSize, eep.begin()));
    } else {
      const sim::Bytes option = Unit(kBusy).Inspect([](const sim::Unit& u) { return u.option; });
      EXPECT_TRUE(std::equal(MemoryImages.OptionImage, MemoryImages.OptionImage + 1024, option.begin()));
    }
    // A new operation on the idle unit starts with what was collected.
    const std::vector<sim::PacketRecord> idleSent = ReceivedFrom(kIdle, idleBefore);
    EXPECT_TRUE(std::none_of(idleSent.begin(), idleSent.end(),
                             [](const sim::PacketRecord& r) { return r.command == sim::kCmdProgramEep; }));
  }
  EXPECT_EQ(LinesOf(kIdle).back(), "Chip is Blank!");
}

// Online S/N at 0x03000100, starting at 0x00003000: the chip of an Auto
// gets its number; with S/N switched off, the next (fresh) chip gets the
// file's own bytes there. The same with the number at the end of the flash:
// the next chip is programmed over the file's length only. A project saved
// then holds the file's data and length.
TEST_F(WindowOperationsTest, TheOnlineSerialNumberIsNoPartOfTheJob) {
  StartWith(1);
  ChooseAU30xWithData();
  window->RefreshChecksumsAndViews();
  window->ChkBoxPrgEEP->setChecked(false);
  window->CheckBoxOpt->setChecked(false);
  const sim::Bytes data(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kDataLength);
  const TObjectState job = ObjectState;
  const auto serialNumbers = [this](bool on) {
    window->CheckBoxSN->setChecked(on);
    window->ChkBoxPCSN->setChecked(on);
  };
  const auto autoOnAFreshChip = [this] {
    FreshChip(0);
    const std::size_t before = Unit(0).ReceivedCount();
    Trigger("AutoSpdBtn");
    EXPECT_TRUE(WaitIdle({0}));
    EXPECT_TRUE(WaitAllHandled(0));
    EXPECT_EQ(LinesOf(0).back(), "Chip programming Successed!");
    return ReceivedFrom(0, before);
  };
  struct Case {
    const char* Address;
    std::uint32_t At;  // in the main area
    sim::Bytes Number;
  };
  const Case cases[] = {
      {"0x03000100", 0x100, {0x00, 0x00, 0x30, 0x00}},
      {"0x03007FFC", 0x7FFC, {0x00, 0x00, 0x30, 0x01}},  // the last four bytes of the flash
  };
  window->SNEdit1->setText("0x00003000");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Address);
    window->AddrEdit->setText(c.Address);
    serialNumbers(true);
    autoOnAFreshChip();
    EXPECT_EQ(UnitMain(0, c.At, 4), c.Number);

    serialNumbers(false);
    const std::vector<sim::PacketRecord> sent = autoOnAFreshChip();
    EXPECT_EQ(UnitMain(0, 0, kDataLength), data);
    EXPECT_EQ(UnitMain(0, c.At, 4), c.At < kDataLength ? sim::Bytes(data.begin() + c.At, data.begin() + c.At + 4)
                                                         : sim::Bytes(4, 0xFF));
    for (const sim::PacketRecord& r : sent) {
      if (r.command != sim::kCmdProgramMain) continue;
      EXPECT_LT(r.argument * 1024u, kDataLength);
      EXPECT_EQ(GetLe32(r.packet, 8 + 16), kDataLength);  // MainDataLength in the parameter block
    }
    EXPECT_EQ(ObjectState.MainDataLength, kDataLength);
    EXPECT_EQ(ObjectState.MainSum16, job.MainSum16);
    EXPECT_EQ(ObjectState.MainSumLow, job.MainSumLow);
  }
  EXPECT_EQ(window->SNEdit1->text(), "0x00003002");

  // With online S/N on, the download for stand-alone programming still
  // carries the file's data, length and sums: the unit gives its own numbers.
  serialNumbers(true);
  const std::size_t beforeDownload = Unit(0).ReceivedCount();
  Trigger("Download1");
  ASSERT_TRUE(WaitDownloadsStarted(1, {beforeDownload}));
  const sim::JobData downloaded = Unit(0).Inspect([](const sim::Unit& u) { return u.job; });
  EXPECT_EQ(downloaded.main, data);
  ASSERT_EQ(downloaded.chipData.size(), 512u);
  EXPECT_EQ(GetLe32(downloaded.chipData, 4 + 16), kDataLength);
  EXPECT_EQ(GetLe16(downloaded.chipData, 4 + 48), job.MainSum16);
  EXPECT_EQ(GetLe16(downloaded.chipData, 100), job.MainSumLow);
  serialNumbers(false);

  const std::string project = Folder() + "after.pqx";
  SaveProject(project);
  std::fill(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kDataLength, 0x00);
  OpenProject(project);
  ASSERT_EQ(prompts.Shown.back(), Text(TTextId::ProjectOpenSuccessText));
  EXPECT_EQ(sim::Bytes(MemoryImages.MainFlashImage, MemoryImages.MainFlashImage + kDataLength), data);
  EXPECT_EQ(ObjectState.MainDataLength, kDataLength);
  EXPECT_EQ(MemoryImages.MainFlashImage[0x7FFC], 0xFF);
}

// Prog. with online S/N gives the chip its number; Verify then compares the
// chip with what was programmed, the number included.
TEST_F(WindowOperationsTest, ProgThenVerifyWithOnlineSerialNumberVerifies) {
  StartWith(1);
  ChooseAU30xWithData();
  window->ChkBoxPrgEEP->setChecked(false);
  window->CheckBoxSN->setChecked(true);
  window->ChkBoxPCSN->setChecked(true);
  window->AddrEdit->setText("0x03000FFE");  // across the first two 4 KB blocks
  window->SNEdit1->setText("0xA1B2C3D4");
  Trigger("SpdBtnProg");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back(), "Main Flash Programming Success!");
  EXPECT_EQ(UnitMain(0, 0xFFE, 4), (sim::Bytes{0xA1, 0xB2, 0xC3, 0xD4}));

  Trigger("SpdBtnVerify");
  ASSERT_TRUE(WaitIdle({0}));
  EXPECT_EQ(LinesOf(0).back(), "Main Flash Data Verify Successed!");
  EXPECT_TRUE(prompts.Shown.empty());
}

// For stand-alone programming each unit steps its numbers by the gain of
// all units in use, which the chip-data block carries in 16 bits. A download
// whose step does not fit would give one number to many chips: it starts on
// no unit, with a box and a log line that say why, and the units keep the
// job they had. A step that fits, or one the units do not use (S/N off),
// downloads.
TEST_F(WindowOperationsTest, ADownloadWhoseSerialStepDoesNotFitStartsOnNoUnit) {
  constexpr int kUnits = 8;
  StartWith(kUnits);
  ChooseAU30xWithData();
  window->ChkBoxPrgEEP->setChecked(false);
  window->SNEdit1->setText("0x00000100");
  struct Case {
    const char* Gain;
    bool SerialNumbers;
    bool Refused;
    std::uint16_t Step;  // in the block of every unit
  };
  const Case cases[] = {
      {"4096", true, false, 0x8000},
      {"8192", true, true, 0},  // 65536
      {"8192", false, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Gain) + (c.SerialNumbers ? " S/N on" : " S/N off"));
    window->CheckBoxSN->setChecked(c.SerialNumbers);
    window->GainEdit->setText(c.Gain);
    std::vector<std::size_t> before;
    std::vector<sim::JobData> jobs;
    for (int ch = 0; ch < kUnits; ++ch) {
      before.push_back(Unit(ch).ReceivedCount());
      jobs.push_back(Job(ch));
    }
    prompts.Shown.clear();
    Trigger("Download1");
    if (c.Refused) {
      const std::string text = FormatText(TTextId::SerialStepTooLargeFormat, 8192u, kUnits, 65536u);
      EXPECT_EQ(prompts.Shown, std::vector<std::string>{text});
      EXPECT_EQ(Memo().back().toStdString(), "> 09:05:07 " + text);
      EXPECT_TRUE(Idle({0, 1, 2, 3, 4, 5, 6, 7}));
      QTest::qWait(50);
      for (int ch = 0; ch < kUnits; ++ch) {
        EXPECT_EQ(Unit(ch).ReceivedCount(), before[static_cast<std::size_t>(ch)]);
        EXPECT_EQ(Job(ch).chipData, jobs[static_cast<std::size_t>(ch)].chipData);
      }
      continue;
    }
    ASSERT_TRUE(WaitDownloadsStarted(kUnits, before));
    EXPECT_TRUE(prompts.Shown.empty());
    for (int ch = 0; ch < kUnits; ++ch) {
      SCOPED_TRACE(ch + 1);
      const sim::Bytes block = Job(ch).chipData;
      ASSERT_EQ(block.size(), 512u);
      EXPECT_EQ(sim::Le16(block, 90), c.Step);
      EXPECT_EQ(sim::Le32(block, 96), 0x100u + static_cast<std::uint32_t>(ch) * (c.SerialNumbers ? 4096u : 8192u));
      EXPECT_EQ(LinesOf(ch).back(), "Data Donwload Success!");
    }
  }
}

// A short 6 to the verify ends an Auto as a success: the chip counts, and
// the next chip gets the next number. A read that keeps the Auto's flag and
// a Verify alone end well on the same answer and give no number away.
TEST_F(WindowOperationsTest, AnAutoThatAShortSixToItsVerifyEndsAdvancesTheSerialNumber) {
  StartWith(1);
  ChooseAU30xWithData();
  UseOnlineSerialNumbers("0x03000100", "0x00000010");
  window->GainEdit->setText("3");
  Unit(0).Update([](sim::UnitSettings& s) {
    s.faults.push_back({sim::kCmdReadMain, -1, sim::FaultKind::Result, sim::kResultAck});
    s.faults.push_back({sim::kCmdControl, sim::kSubChipInfo, sim::FaultKind::Result, sim::kResultAck});
  });
  for (const std::uint8_t number : {0x10, 0x13}) {
    SCOPED_TRACE(int{number});
    Trigger("AutoSpdBtn");
    ASSERT_TRUE(WaitIdle({0}));
    EXPECT_EQ(LinesOf(0).back(), "Operation Success!");
    EXPECT_EQ(UnitMain(0, 0x100, 4), (sim::Bytes{0x00, 0x00, 0x00, number}));
    ASSERT_TRUE(WaitAllHandled(0));
  }
  EXPECT_EQ(window->SNEdit1->text().toStdString(), "0x00000016");
  EXPECT_EQ(SessionState.ProgrammedCount, 2u);

  for (const char* command : {"ReadMG32xxChipID1", "SpdBtnVerify"}) {
    SCOPED_TRACE(command);
    Trigger(command);
    ASSERT_TRUE(WaitIdle({0}));
    EXPECT_EQ(LinesOf(0).back(), "Operation Success!");
    ASSERT_TRUE(WaitAllHandled(0));
  }
  EXPECT_EQ(window->SNEdit1->text().toStdString(), "0x00000016");
  EXPECT_EQ(SessionState.ProgrammedCount, 2u);
  EXPECT_TRUE(prompts.Shown.empty());
}

// A project written elsewhere for a chip without EEP, with "Prog. Data
// Flash" and "Erase Data Flash" set: the window's Download and the command
// line's send neither EEP data nor the EEP steps' bits.
TEST_F(WindowOperationsTest, AProjectForAChipWithoutEepDownloadsNoEepStep) {
  const std::string project = Folder() + "no-eep.pqx";
  TDemoJob job;
  job.PartName = "IND83204xx";
  job.MainDataLength = 0x2000;
  job.ProgramEep = true;
  WriteDemoProject(project, job);
  WriteDriverFile(Folder(), "LDR02.VDR");
  for (const bool commandLine : {false, true}) {
    SCOPED_TRACE(commandLine ? "command line" : "Download");
    if (commandLine) {
      TearDown();
      SetUp();
      StartWith(1, {project});
    } else {
      StartWith(1);
      OpenProject(project);
      ASSERT_EQ(prompts.Shown, std::vector<std::string>{Text(TTextId::ProjectOpenSuccessText)});
      EXPECT_FALSE(window->ChkBoxPrgEEP->isChecked());
      EXPECT_FALSE(window->ChkBoxErsEEP->isChecked());
      Trigger("Download1");
    }
    ASSERT_TRUE(WaitDownloadsStarted(1));
    ASSERT_EQ(SelectedChip.EepSize, 0u);
    const std::vector<sim::PacketRecord> received = Unit(0).Received();
    EXPECT_TRUE(std::none_of(received.begin(), received.end(),
                             [](const sim::PacketRecord& r) { return r.command == sim::kCmdEepData; }));
    const sim::JobData sent = Job(0);
    EXPECT_EQ(sent.main.size(), 0x2000u);
    ASSERT_EQ(sent.chipData.size(), 512u);
    EXPECT_EQ(sent.chipData[4 + 32 + 3] & 0x28, 0);  // ProgramStepFlags: "Prog. Data Flash"
    EXPECT_EQ(sent.chipData[4 + 32 + 4] & 0x02, 0);  // EraseFlags: "Erase Data Flash"
    EXPECT_EQ(LinesOf(0).back(), "Data Donwload Success!");
  }
}

}  // namespace
