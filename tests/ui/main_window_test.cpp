#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <fstream>
#include <memory>

#include "data/program_state.h"
#include "firmware_file_builder.h"
#include "link/comm.h"
#include "link/firmware_file.h"
#include "link/gauge.h"
#include "shown_text.h"
#include "started_window.h"
#include "text/text_id.h"
#include "text/texts.h"
#include "text/window_texts.h"
#include "ui/gauge_widget.h"
#include "ui/main_window.h"
#include "ui/memory_view_model.h"
#include "ui/radio_group.h"
#include "ui/startup_forms.h"
#include "modal_closer.h"
#include "modal_watch.h"

namespace {

// The window with its later hooks recorded: the auto-programming command
// (which fails when told to) and the two steps of the close path.
class TRecordingWindow : public TGenMFrmARM {
 public:
  using TGenMFrmARM::TGenMFrmARM;

  int AutoProgramRuns = 0;
  std::string AutoProgramFailure;  // thrown by the command when not empty
  std::vector<std::string> ClosePath;
  QString LogAtClose;

  void AutoSpdBtnClick() override {
    ++AutoProgramRuns;
    if (!AutoProgramFailure.empty()) throw std::runtime_error(AutoProgramFailure);
  }

 private:
  void StopAllPorts() override {
    ClosePath.push_back("StopAllPorts");
    TGenMFrmARM::StopAllPorts();
  }
  void WriteLogFile() override {
    ClosePath.push_back("WriteLogFile");
    LogAtClose = InfoMemo->toPlainText();
    TGenMFrmARM::WriteLogFile();
  }
};

TFirmwareFileSpec WithSumError() {
  TFirmwareFileSpec spec;
  spec.SumError = 1;
  return spec;
}

bool AnyPortOpen(const TGenMFrmARM& window) {
  return std::any_of(window.SPComm.begin(), window.SPComm.end(),
                     [](const std::unique_ptr<TComm>& port) { return port->PortOpen(); });
}

// The window here is the recording one, made by each test.
class MainWindowTest : public WindowTest {
 protected:
  void CreateFile(const char* name) const { std::ofstream(Folder() + name) << "earlier run\r\n"; }
  bool FileExists(const char* name) const { return QFile::exists(QString::fromStdString(Folder() + name)); }

  std::unique_ptr<TRecordingWindow> Start(std::vector<std::string> arguments = {}) {
    auto window = std::make_unique<TRecordingWindow>(Startup(std::move(arguments)));
    window->show();
    return window;
  }

  static QStringList MemoLines(const TGenMFrmARM& window) { return window.InfoMemo->toPlainText().split('\n'); }
};

TEST_F(MainWindowTest, StartUpSetsTheProgramStateAndGreetsFirst) {
  CreateFile(kResultFileName);
  auto window = Start();
  const std::string firmware = Folder() + kFirmwareFileName;

  EXPECT_FALSE(FileExists(kResultFileName));
  const QStringList lines = MemoLines(*window);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[0], "> 09:05:07 Hello Velmot200IND User! ------ ");
  EXPECT_EQ(lines[1].toStdString(), "> 09:05:07 File \"" + firmware + "\" not found, Please confirm!");
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"File \"" + firmware + "\" not found, Please confirm!"});

  EXPECT_EQ(SessionTexts.AppDir, Folder());
  // No settings file and no system port: no programmer in use.
  EXPECT_EQ(SessionState.ProgrammerCount, 0);
  EXPECT_EQ(window->ComboBoxCOM->count(), 0);
  EXPECT_EQ(window->ComboBoxCOM->placeholderText(), "No COM Port");
  EXPECT_EQ(SessionState.ProgrammedCount, 0u);
  EXPECT_EQ(SessionState.FirmwareLoaded, 0);
  EXPECT_EQ(SessionState.CmdLineMode, 0);
  EXPECT_EQ(SessionState.AutoCloseMode, 0);
  EXPECT_EQ(SelectedChip.ChipCode, 0x55);
  EXPECT_EQ(SelectedChip.ChipFamilyIndex, 0);
  // The chip-view defaults run before the global ones: these tell the order.
  EXPECT_EQ(ObjectState.MainDataLength, 0x20000u);
  EXPECT_EQ(SelectedChip.MainSize, 0u);
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.MainFlashImage), std::end(MemoryImages.MainFlashImage),
                          [](std::uint8_t b) { return b == 0xFF; }));
  EXPECT_TRUE(std::all_of(std::begin(MemoryImages.OptionImage), std::end(MemoryImages.OptionImage),
                          [](std::uint8_t b) { return b == 0x00; }));

  // The core's log lines reach the memo; the gauges and the ports are bound.
  ASSERT_NE(SessionTexts.InfoMemoRef, nullptr);
  SessionTexts.InfoMemoRef->AddLine("> 09:05:07 C1: Chip is Blank!");
  EXPECT_EQ(MemoLines(*window).back(), "> 09:05:07 C1: Chip is Blank!");
  for (int ch = 0; ch < kProgrammerMax; ++ch) {
    EXPECT_EQ(ProgrammerState.ProgressGauges[ch], &window->Gauges[ch]->Gauge());
    EXPECT_EQ(ProgrammerState.CommPorts[ch], window->SPComm[ch].get());
    EXPECT_EQ(window->SPComm[ch]->LineSettings(), ProgrammerLineSettings());
    EXPECT_EQ(window->SPComm[ch]->Timeouts(), ProgrammerTimeouts());
    EXPECT_EQ(ProgrammerState.ProgOpCode[ch], kOpIdle);
  }

  // The window as start-up leaves it.
  EXPECT_EQ(window->MCUNameEdit->text(), Text(TTextId::SelectChipPrompt));
  EXPECT_EQ(window->ViewPageCtrl->currentWidget(), window->ChipSett);
  EXPECT_FALSE(window->ViewPageCtrl->isTabVisible(window->ViewPageCtrl->indexOf(window->TabSheetEEP)));
  EXPECT_EQ(window->PageControlSet->currentIndex(), 0);
  EXPECT_EQ(window->RadioGrpRST->ItemIndex(), 0);
  EXPECT_TRUE(window->Gauges[0]->isVisible());
  EXPECT_EQ(window->Gauges[0]->y(), 466);
  for (int ch = 1; ch < kProgrammerMax; ++ch) EXPECT_FALSE(window->Gauges[ch]->isVisible());
  EXPECT_EQ(window->InfoMemo->geometry(), QRect(359, 28, 547, 436));
  EXPECT_EQ(window->HexViewer->columnWidth(0), 73);
  EXPECT_EQ(window->HexViewer->columnWidth(16), 25);
  EXPECT_EQ(window->EEPDataView->columnWidth(17), 130);
  // A fixed window whose client area below the menu bar is 917 x 587.
  EXPECT_EQ(window->minimumSize(), window->maximumSize());
  EXPECT_EQ(window->width(), 917);
  EXPECT_EQ(window->centralWidget()->height() + window->statusBar()->height(), 587);
  EXPECT_EQ(window->height() - window->menuBar()->height(), 587);

  // The search waits for the first 50 ms tick: nothing is open before it.
  EXPECT_EQ(SessionState.StartSearchPending, 1);
  EXPECT_TRUE(window->Timer2->isActive());
  EXPECT_EQ(window->Timer2->interval(), 50);
  EXPECT_TRUE(window->Timer1->isActive());
  EXPECT_EQ(window->Timer1->interval(), 10);
  EXPECT_EQ(SessionState.FoundDeviceCount, 0);
  EXPECT_TRUE(std::none_of(std::begin(ProgrammerState.DeviceLinked), std::end(ProgrammerState.DeviceLinked),
                           [](std::uint8_t linked) { return linked != 0; }));
  EXPECT_FALSE(AnyPortOpen(*window));
  // The first tick runs the search, which with no port listed opens nothing.
  ASSERT_TRUE(QTest::qWaitFor([] { return SessionState.StartSearchPending == 0; }));
  EXPECT_FALSE(AnyPortOpen(*window));

  // The show handler runs once.
  window->hide();
  window->show();
  EXPECT_EQ(MemoLines(*window).size(), 3);
}

TEST_F(MainWindowTest, StartUpReadsTheCommandLineAndThenLogsAMissingFirmwareWithoutABox) {
  auto window = Start({"/jobs/board.pqx", "off"});
  EXPECT_EQ(SessionState.CmdLineMode, 1);
  EXPECT_EQ(SessionState.AutoCloseMode, 1);
  EXPECT_EQ(SessionTexts.CmdLineProject, "/jobs/board.pqx");
  EXPECT_EQ(SessionTexts.CmdLineSwitch, "OFF");
  const QStringList lines = MemoLines(*window);
  ASSERT_EQ(lines.size(), 2);
  EXPECT_EQ(lines[1].toStdString(), "> 09:05:07 File \"" + Folder() + kFirmwareFileName + "\" not found, Please confirm!");
  EXPECT_TRUE(prompts.Shown.empty());
}

// A project on the command line without "OFF" leaves the window to its
// operator: every box opens and every question is asked, from start-up on.
// Only an unattended ("OFF") run puts them into the log, and answers Abort.
TEST_F(MainWindowTest, OnlyAnUnattendedRunKeepsTheBoxesFromTheOperator) {
  const std::string firmware = "File \"" + Folder() + kFirmwareFileName + "\" not found, Please confirm!";
  const std::string project = "File of /jobs/missing.pqx is not found!";
  const std::string precondition = Text(TTextId::SelectChipFirstText);
  const std::string verify = "Chip 1: Address=0x00000010,Buffer=0x55,Chip=0xAA";
  for (const bool off : {false, true}) {
    SCOPED_TRACE(off ? "OFF" : "project alone");
    ResetProgramState();
    prompts.Shown.clear();
    prompts.Answers = {TPromptAnswer::Yes};
    std::vector<std::string> arguments{"/jobs/missing.pqx"};
    if (off) arguments.push_back("OFF");
    auto window = Start(arguments);
    // No port is listed: the first tick of Timer2 ends its wait and looks for the project.
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window->Timer2->isActive(); }));
    window->findChild<QToolButton*>("SpdBtnVerify")->click();
    const TPromptAnswer answer = Prompts().AskYesAbort(verify);

    EXPECT_EQ(answer, off ? TPromptAnswer::Abort : TPromptAnswer::Yes);
    const std::vector<std::string> shown = {firmware, project, precondition, verify};
    EXPECT_EQ(prompts.Shown, off ? std::vector<std::string>() : shown);
    const QStringList lines = MemoLines(*window);
    for (const std::string& text : {firmware, project, precondition, verify}) {
      // The start-up's and the project's texts are logged either way.
      const bool logged = off || text == firmware || text == project;
      EXPECT_EQ(lines.contains(QString::fromStdString("> 09:05:07 " + text)), logged) << text;
    }
    prompts.Answers.clear();
  }
}

// A valid image is read without a word; one that fails its checks is named
// with the reason, in the log and in a box, as a missing one is.
TEST_F(MainWindowTest, WithTheFirmwareImagePresentItIsReadOrNamedAsDamaged) {
  const std::string damaged = "Firmware File \"" + Folder() + kFirmwareFileName + "\" is damaged (";
  struct Case {
    const char* what;
    std::vector<std::uint8_t> file;
    int loaded;
    std::string reason;  // empty: nothing to say
  };
  const Case cases[] = {
      {"a valid image", BuildFirmwareFile({}), 1, ""},
      {"a wrong sum", BuildFirmwareFile(WithSumError()), 0, "check sum unmatched"},
      {"no marker", {'e', 'a', 'r', 'l', 'i', 'e', 'r'}, 0, "no firmware mark"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetProgramState();
    prompts.Shown.clear();
    std::ofstream(Folder() + kFirmwareFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(c.file.data()), static_cast<std::streamsize>(c.file.size()));
    auto window = Start();
    EXPECT_EQ(SessionState.FirmwareLoaded, c.loaded);
    QStringList lines{"> 09:05:07 Hello Velmot200IND User! ------ "};
    std::vector<std::string> boxes;
    if (!c.reason.empty()) {
      boxes.push_back(damaged + c.reason + "), Please confirm!");
      lines << QString::fromStdString("> 09:05:07 " + boxes[0]);
    }
    EXPECT_EQ(MemoLines(*window), lines);
    EXPECT_EQ(prompts.Shown, boxes);
  }
}

TEST_F(MainWindowTest, EveryWayOfClosingStopsThePortsThenWritesTheLogOnce) {
  const std::vector<std::pair<const char*, std::function<void(TRecordingWindow&)>>> ways = {
      {"exit button", [](TRecordingWindow& w) { w.findChild<QToolButton*>("SpdBtnExit")->click(); }},
      {"Exit menu item", [](TRecordingWindow& w) { w.findChild<QAction*>("Exit1")->trigger(); }},
      {"close box", [](TRecordingWindow& w) { w.windowHandle()->close(); }},
  };
  for (const auto& [way, close] : ways) {
    SCOPED_TRACE(way);
    ResetProgramState();
    auto window = Start();
    window->AddLog("last line");
    const QString memo = window->InfoMemo->toPlainText();
    close(*window);
    EXPECT_FALSE(window->isVisible());
    ASSERT_FALSE(window->ClosePath.empty());
    EXPECT_EQ(window->ClosePath.front(), "StopAllPorts");
    EXPECT_EQ(window->ClosePath.back(), "WriteLogFile");
    EXPECT_EQ(std::count(window->ClosePath.begin(), window->ClosePath.end(), "WriteLogFile"), 1);
    EXPECT_EQ(window->LogAtClose, memo);
  }
}

TEST_F(MainWindowTest, TheExitButtonAndTheCloseBoxWriteTheSameLogFile) {
  const std::vector<std::pair<std::string, std::function<void(TGenMFrmARM&)>>> ways = {
      {"exit", [](TGenMFrmARM& w) { QTest::mouseClick(w.findChild<QToolButton*>("SpdBtnExit"), Qt::LeftButton); }},
      {"close-box", [](TGenMFrmARM& w) { w.windowHandle()->close(); }},
  };
  std::vector<std::string> written;
  for (const auto& [way, close] : ways) {
    SCOPED_TRACE(way);
    ResetProgramState();
    // The log configuration read at start-up chooses the file that the close writes.
    const std::string log = Folder() + way + ".log";
    std::ofstream(Folder() + "DivAriR.cfg", std::ios::binary)
        << "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef1\r\nSpcFile=" << log << "\r\n[EndCfg]\r\n";
    TStartupForms forms(Startup());
    forms.GenMFrmARM->show();
    forms.GenMFrmARM->AddLog("last line");
    close(*forms.GenMFrmARM);
    EXPECT_FALSE(forms.GenMFrmARM->isVisible());
    std::ifstream in(log, std::ios::binary);
    written.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  EXPECT_EQ(written[0], written[1]);
  EXPECT_EQ(written[0], "> 09:05:07 Hello Velmot200IND User! ------ \r\n> 09:05:07 File \"" + Folder() +
                            kFirmwareFileName + "\" not found, Please confirm!\r\n> 09:05:07 last line\r\n");
}

// The guard ends the failing command and shows its text once; unguarded, the
// exception would unwind through Qt's mouse-event delivery, which leaks (the
// sanitizer build catches that).
TEST_F(MainWindowTest, ACommandThatFailsShowsItsTextOnceAndTheWindowGoesOn) {
  auto window = Start();
  prompts.Shown.clear();
  const std::string failure = "'12x' is not a valid integer value";
  window->AutoProgramFailure = failure;
  QTest::mouseClick(window->findChild<QToolButton*>("AutoSpdBtn"), Qt::LeftButton);
  window->findChild<QAction*>("AutoProgram1")->trigger();
  QTest::keyClick(window.get(), Qt::Key_Space);
  EXPECT_EQ(prompts.Shown, std::vector<std::string>(3, failure));
  window->AutoProgramFailure.clear();
  QTest::mouseClick(window->findChild<QToolButton*>("AutoSpdBtn"), Qt::LeftButton);
  EXPECT_EQ(window->AutoProgramRuns, 4);
  EXPECT_EQ(prompts.Shown.size(), 3u);
}

TEST_F(MainWindowTest, DoFirmwareUpgradeStartsTheIdleLinkedProgrammersOrSaysWhyNot) {
  auto window = Start();
  std::vector<int> started;
  window->StartUpgrade = [&started](int ch) { started.push_back(ch); };
  QAction* command = window->findChild<QAction*>("DoFirmwareUpgrade1");
  const std::string path = Folder() + kFirmwareFileName;
  const auto writeFirmware = [&path](const std::vector<std::uint8_t>& file) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  };
  // Programmers 2 and 4 of four answered the search; 1 did not, 3 is busy.
  SessionState.ProgrammerCount = 4;
  SessionState.FoundDeviceCount = 2;
  for (int ch : {1, 2, 3}) ProgrammerState.DeviceLinked[ch] = 1;
  ProgrammerState.ChannelBusy[2] = 1;
  for (std::uint16_t& fill : ProgrammerState.RxFill) fill = 7;
  prompts.Shown.clear();
  const qsizetype logLines = MemoLines(*window).size();

  command->trigger();
  EXPECT_EQ(prompts.Shown, std::vector<std::string>{"File \"" + path + "\" not found, Please confirm!"});
  EXPECT_TRUE(started.empty());

  writeFirmware(BuildFirmwareFile(WithSumError()));
  command->trigger();
  EXPECT_EQ(prompts.Shown.back(), Text(TTextId::BadFirmwareFileText));
  EXPECT_EQ(SessionState.FirmwareLoaded, 0);
  EXPECT_TRUE(started.empty());

  writeFirmware(BuildFirmwareFile({}));
  command->trigger();
  EXPECT_EQ(SessionState.FirmwareLoaded, 1);
  EXPECT_EQ(started, (std::vector<int>{1, 3}));
  EXPECT_EQ(prompts.Shown.size(), 2u);
  const std::uint16_t fills[] = {7, 0, 7, 0, 7, 7, 7, 7, 7, 7};
  EXPECT_TRUE(std::equal(std::begin(fills), std::end(fills), std::begin(ProgrammerState.RxFill)));
  EXPECT_EQ(MemoLines(*window).size(), logLines);  // the command reports in boxes only
}

TEST_F(MainWindowTest, BlankAndCarriageReturnStartAutoProgrammingWhereverTheFocusIs) {
  auto window = Start();
  QLineEdit* edit = window->GainEdit;
  edit->setEnabled(true);
  edit->clear();
  QTest::keyClicks(edit, "1 2");
  EXPECT_EQ(window->AutoProgramRuns, 1);
  EXPECT_EQ(edit->text(), "1 2");  // the blank was typed as well
  // The edit leaves Return to its parents; it still starts one run only.
  QTest::keyClick(edit, Qt::Key_Return);
  EXPECT_EQ(window->AutoProgramRuns, 2);
  QTest::keyClick(window->BitBtnFindDev, Qt::Key_Space);
  EXPECT_EQ(window->AutoProgramRuns, 3);
  QTest::keyClick(window.get(), Qt::Key_Space);
  EXPECT_EQ(window->AutoProgramRuns, 4);
  QTest::keyClick(window->ChkBoxAuto, Qt::Key_A);
  QTest::keyClick(window.get(), Qt::Key_Tab);
  EXPECT_EQ(window->AutoProgramRuns, 4);
  // The toolbar button and the menu item run the same command.
  window->findChild<QToolButton*>("AutoSpdBtn")->click();
  window->findChild<QAction*>("AutoProgram1")->trigger();
  EXPECT_EQ(window->AutoProgramRuns, 6);
}

// The toolbar's speed buttons never take the focus. Verify puts the focus on
// the toolbar; Tab then goes on to the window's controls and never to a
// button, so a blank typed there starts auto-programming once and presses
// nothing else ("&Eixt" least of all).
TEST_F(MainWindowTest, TheToolbarsButtonsNeverTakeTheFocus) {
  auto window = Start();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  const QList<QToolButton*> buttons = window->PanelBtns->findChildren<QToolButton*>();
  ASSERT_EQ(buttons.size(), 11);
  const auto pressKey = [&window](Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window.get(), key);
  };
  QTest::mouseClick(window->findChild<QToolButton*>("SpdBtnVerify"), Qt::LeftButton);
  TModalWatch watch;  // a control that the blank presses may open its dialog
  for (int press = 1; press <= 40; ++press) {
    pressKey(Qt::Key_Tab);
    QWidget* focus = QApplication::focusWidget();
    ASSERT_FALSE(buttons.contains(qobject_cast<QToolButton*>(focus)))
        << "Tab " << press << " reached " << focus->objectName().toStdString();
    if (press == 2) {
      pressKey(Qt::Key_Space);
      EXPECT_EQ(window->AutoProgramRuns, 1);
      ASSERT_TRUE(window->isVisible());
    }
  }
  // The mouse still presses them.
  QTest::mouseClick(window->findChild<QToolButton*>("AutoSpdBtn"), Qt::LeftButton);
  EXPECT_EQ(window->AutoProgramRuns, 2);
}

TEST_F(MainWindowTest, LogPopupCopiesTheSelectionAndClearsTheMemo) {
  auto window = Start();
  window->AddLog("second line");
  QTextCursor cursor(window->InfoMemo->document());
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);  // the greeting only
  window->InfoMemo->setTextCursor(cursor);
  window->findChild<QAction*>("CopytoCli1")->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "> 09:05:07 Hello Velmot200IND User! ------ ");
  window->findChild<QAction*>("ClearInformation1")->trigger();
  EXPECT_TRUE(window->InfoMemo->toPlainText().isEmpty());
  window->AddLog("after clearing");
  EXPECT_EQ(MemoLines(*window), QStringList{"> 09:05:07 after clearing"});
}

TEST_F(MainWindowTest, EveryCaptionOfTheTextTablesReachesItsControl) {
  // A settings file without ports leaves the port combo's "Select Device".
  std::ofstream(Folder() + "ConfigVmg.ini") << "Velmot\r\n[Connection]\r\n";
  auto window = Start();
  ExpectTableCaptions(*window, [](TTextId id) { return QString::fromUtf8(Text(id)); });
  for (const TToolButtonText& text : kToolbarButtons) {
    auto* button = window->findChild<QToolButton*>(text.Name);
    ASSERT_NE(button, nullptr) << text.Name;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(text.Hint)) << text.Name;
  }
  EXPECT_EQ(window->RadioGrpRST->ItemText(2), "Reset and Shut");
  EXPECT_EQ(window->StatusPanels[0]->text(), Text(TTextId::FileChecksumPanel));
  EXPECT_EQ(window->StatusPanels[1]->text(), Text(TTextId::ChipChecksumPanel));
  EXPECT_TRUE(window->StatusPanels[2]->text().isEmpty());
}

TEST_F(MainWindowTest, MenusHoldTheirItemsShortcutsSeparatorsAndHiddenItems) {
  auto window = Start();
  const QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_EQ(bar.size(), static_cast<qsizetype>(kMainMenu.size()));
  for (std::size_t m = 0; m < kMainMenu.size(); ++m) {
    const TMenuText& menu = kMainMenu[m];
    SCOPED_TRACE(menu.Name);
    EXPECT_EQ(bar[m]->text(), QString::fromUtf8(menu.Caption));
    if (menu.Items.empty()) {
      EXPECT_EQ(bar[m]->objectName(), menu.Name);
      EXPECT_EQ(bar[m]->menu(), nullptr);
      continue;
    }
    ASSERT_NE(bar[m]->menu(), nullptr);
    EXPECT_EQ(bar[m]->menu()->objectName(), menu.Name);
    QList<QAction*> entries = bar[m]->menu()->actions();
    qsizetype e = 0;
    for (const TMenuItemText& item : menu.Items) {
      ASSERT_LT(e, entries.size());
      QAction* action = entries[e++];
      EXPECT_EQ(action->objectName(), item.Name);
      EXPECT_EQ(action->text(), QString::fromUtf8(item.Caption));
      EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromLatin1(item.Shortcut))) << item.Name;
      EXPECT_EQ(action->isVisible(), !item.Hidden) << item.Name;
      if (item.SeparatorAfter) {
        ASSERT_LT(e, entries.size());
        EXPECT_TRUE(entries[e++]->isSeparator()) << "after " << item.Name;
      }
    }
    EXPECT_EQ(e, entries.size());
  }
  EXPECT_EQ(window->findChild<QAction*>("Exit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
  EXPECT_FALSE(window->findChild<QAction*>("WriteOptionByte1")->isVisible());
  EXPECT_TRUE(window->SpdBtnWrtOPB->isHidden());
}

TEST_F(MainWindowTest, TheFiveStartUpWindowsHaveTheirTitlesAndAboutOpensModally) {
  TStartupForms forms(Startup());
  EXPECT_EQ(forms.GenMFrmARM->windowTitle(), kApplicationTitle);
  EXPECT_EQ(forms.AboutForm->LabelTilA->text(), kApplicationTitle);
  const std::vector<std::pair<QWidget*, const char*>> dialogs = {
      {forms.AboutForm.get(), kAboutCaption},
      {forms.FormOfsAddr.get(), Text(TTextId::OffsetAddressCaption)},
      {forms.ConfigSNForm.get(), kConstantFillCaption},
      {forms.LogCfgForm.get(), kLogConfigCaption},
  };
  for (const auto& [dialog, caption] : dialogs) {
    EXPECT_EQ(dialog->windowTitle(), caption);
    EXPECT_FALSE(dialog->isVisible());
  }
  forms.GenMFrmARM->show();
  for (const auto& [item, dialog] : {std::pair<const char*, QDialog*>{"About1", forms.AboutForm.get()},
                                     {"ConfigLogFile1", forms.LogCfgForm.get()}}) {
    QWidget* shown = nullptr;
    OnNextModal([&shown](QWidget& modal) {
      shown = &modal;
      static_cast<QDialog&>(modal).accept();
    });
    forms.GenMFrmARM->findChild<QAction*>(item)->trigger();
    EXPECT_EQ(shown, dialog) << item;
  }
}

TEST(GaugeWidget, PaintsTheFilledFractionInTheGaugesColour) {
  TGaugeWidget widget;
  widget.resize(202, 18);
  TGauge& gauge = widget.Gauge();
  gauge.SetMaxValue(200);
  gauge.SetPosition(100);
  gauge.SetForeColor(TGaugeColor::Red);
  QImage image = widget.grab().toImage();
  EXPECT_EQ(widget.PercentDone(), 50);
  EXPECT_EQ(image.pixelColor(10, 4), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(190, 4), QColor(Qt::white));

  gauge.SetForeColor(TGaugeColor::Blue);
  gauge.SetPosition(200);
  image = widget.grab().toImage();
  EXPECT_EQ(widget.PercentDone(), 100);
  EXPECT_EQ(image.pixelColor(199, 4), QColor(Qt::blue));

  gauge.SetMaxValue(0);  // an empty bar, not a division by zero
  image = widget.grab().toImage();
  EXPECT_EQ(widget.PercentDone(), 0);
  EXPECT_EQ(image.pixelColor(10, 4), QColor(Qt::white));
}

TEST_F(MainWindowTest, PictureOfTheWindow) {
  auto window = Start();
  window->AddLog("Chip \"AC7801x\" has been selected!");
  window->Gauges[0]->Gauge().SetPosition(40);
  QCoreApplication::processEvents();
  const QString folder = QStringLiteral(VELMOT_UI_TEST_OUTPUT_DIR);
  const QImage shot = window->grab().toImage();
  EXPECT_EQ(shot.size(), window->size());
  EXPECT_TRUE(shot.save(folder + "/main_window.png"));

  InitChipViewDefaults();
  for (std::size_t i = 0; i < 256; ++i) MemoryImages.MainFlashImage[i] = static_cast<std::uint8_t>(i);
  SelectedChip.MainStart = 0x08000000;
  SelectedChip.MainSize = 0x20000;
  SelectedChip.MainEnd = 0x0801FFFF;
  window->FillHexViewer(SelectedChip.MainStart, SelectedChip.MainEnd);
  window->ViewPageCtrl->setCurrentWidget(window->TabSheetFlash);
  QCoreApplication::processEvents();
  EXPECT_TRUE(window->grab().toImage().save(folder + "/main_window_flash.png"));
}

}  // namespace
