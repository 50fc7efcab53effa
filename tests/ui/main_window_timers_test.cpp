// The window's timers with a command line: the search with no port listed
// is done at its first tick, the command-line project opens without a box,
// and the end of an unattended run closes the window.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "data/program_state.h"
#include "demo_job.h"
#include "started_window.h"

namespace {

constexpr int kWaitMs = 20000;  // a limit for slow sanitizer runs, not a measurement

class WindowTimers : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    if (HasFatalFailure()) return;
    WriteDemoProgramFiles(Folder());
    WriteDemoProject(Folder() + "job.pqx");
    prompts.Shown.clear();  // the writer's "Created Project File"
  }

  void Start(std::vector<std::string> arguments) {
    StartWindow(std::move(arguments));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->Timer2->isActive(); }, kWaitMs));
  }
  int MemoLinesWith(const QString& text) const {
    int n = 0;
    for (const QString& line : Memo()) n += line.contains(text);
    return n;
  }
  static bool AnyProgrammerStarted() {
    for (int ch = 0; ch < kProgrammerMax; ++ch)
      if (ProgrammerState.ChannelBusy[ch] || ProgrammerState.ProgOpCode[ch] != kOpIdle) return true;
    return false;
  }
};

TEST_F(WindowTimers, WithoutAPortTheProjectIsLoadedAndNothingEndsTheRun) {
  Start({Folder() + "job.pqx", "OFF"});
  EXPECT_EQ(MemoLinesWith("Project File Open Success!"), 1);
  EXPECT_TRUE(window->MCUNameEdit->text().startsWith("BAT32G133GC24xx"));
  EXPECT_EQ(SessionState.DriverValid, 1);
  EXPECT_FALSE(AnyProgrammerStarted());
  QTest::qWait(100);  // ten ticks of Timer1
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(std::filesystem::exists(Folder() + "ResDW.Txt"));
  EXPECT_TRUE(prompts.Shown.empty()) << testing::PrintToString(prompts.Shown);
}

TEST_F(WindowTimers, AMissingProjectIsOneLogLineAndNoBox) {
  const std::string missing = Folder() + "gone.pqx";
  Start({missing, "OFF"});
  EXPECT_EQ(MemoLinesWith(QString::fromStdString("File of " + missing + " is not found!")), 1);
  EXPECT_TRUE(prompts.Shown.empty()) << testing::PrintToString(prompts.Shown);
  EXPECT_FALSE(AnyProgrammerStarted());
  EXPECT_TRUE(window->isVisible());
}

TEST_F(WindowTimers, TheEndOfAnUnattendedRunWritesTheResultAndClosesTheWindow) {
  Start({Folder() + "job.pqx", "Off"});
  // As if the one programmer found had finished its download.
  SessionState.FoundDeviceCount = 1;
  SessionState.DownloadDoneCount = 1;
  ASSERT_TRUE(QTest::qWaitFor([this] { return !window->isVisible(); }, kWaitMs));
  std::ifstream result(Folder() + "ResDW.Txt", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(result), {}), "Download Success\r\n");
}

}  // namespace
