// The window run as the program runs it (RunMainWindow), and a stop request
// from outside, a real SIGTERM or SIGINT to this process, while a box or a
// dialog is open: what is open closes as Cancel or Abort would close it, the
// window closes the normal way (its log written) and the run returns.
#include "ui/main_loop.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>

#include "data/program_state.h"
#include "firmware_file_builder.h"
#include "link/firmware_file.h"
#include "modal_closer.h"
#include "platform/stop_request.h"
#include "started_window.h"
#include "text/text_id.h"
#include "text/texts.h"
#include "ui/message_box_prompts.h"
#include "ui/startup_forms.h"

namespace {

// Ends a run that a stop failed to end; not a measurement.
constexpr int kSafetyNetMs = 30000;
constexpr int kSafetyNetRepeatMs = 100;

class MainLoopTest : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // The log file that the window's close writes.
    std::ofstream(Folder() + "DivAriR.cfg", std::ios::binary)
        << "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef1\r\nSpcFile=" << LogPath() << "\r\n[EndCfg]\r\n";
    SetPrompts(&boxes);
  }
  void TearDown() override {
    SetPrompts(&prompts);
    WindowTest::TearDown();
  }

  std::string LogPath() const { return Folder() + "run.log"; }
  std::string Log() const {
    std::ifstream in(LogPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void WriteFirmwareFile() const {
    const std::vector<std::uint8_t> file = BuildFirmwareFile({});
    std::ofstream(Folder() + kFirmwareFileName, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }

  // Runs the window as the program does; once the main loop runs, open()
  // opens something (with open empty, start-up opens its own box), and the
  // signal comes once a modal window is up, a message box when boxOnTop.
  int Run(TStartupForms& forms, int signal, const std::function<void()>& open, bool boxOnTop = false) {
    const TStopRequest stopRequest;
    EXPECT_TRUE(stopRequest.Valid());
    if (open) QTimer::singleShot(0, open);
    QTimer signalOnceUp;
    signalOnceUp.setInterval(5);
    QObject::connect(&signalOnceUp, &QTimer::timeout, [&signalOnceUp, signal, boxOnTop] {
      QWidget* modal = QApplication::activeModalWidget();
      if (!modal || (boxOnTop && !qobject_cast<QMessageBox*>(modal))) return;
      signalOnceUp.stop();
      std::raise(signal);
    });
    signalOnceUp.start();
    // Until the run ends: every modal window and the window closed, the loop ended.
    QTimer safetyNet;
    QObject::connect(&safetyNet, &QTimer::timeout, [this, &forms, &safetyNet] {
      hung = true;
      safetyNet.setInterval(kSafetyNetRepeatMs);
      while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
      forms.GenMFrmARM->close();
      QApplication::quit();
    });
    safetyNet.start(kSafetyNetMs);
    return RunMainWindow(*forms.GenMFrmARM, stopRequest);
  }

  TMessageBoxPrompts boxes;
  bool hung = false;
};

TEST_F(MainLoopTest, AStopDuringTheStartUpBoxEndsTheRunBeforeAnySearch) {
  for (const int signal : {SIGTERM, SIGINT}) {
    SCOPED_TRACE(signal);
    ResetProgramState();
    TStartupForms forms(Startup());
    EXPECT_EQ(Run(forms, signal, nullptr), 0);
    EXPECT_FALSE(hung);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(forms.GenMFrmARM->isVisible());
    EXPECT_EQ(Log(), "> 09:05:07 Hello Velmot200IND User! ------ \r\n> 09:05:07 File \"" + Folder() +
                         kFirmwareFileName + "\" not found, Please confirm!\r\n");
    EXPECT_EQ(SessionState.StartSearchPending, 1);  // the first tick of Timer2 never came
  }
}

TEST_F(MainLoopTest, AStopClosesWhateverIsOpenAsCancelOrAbortWouldAndThenTheWindow) {
  WriteFirmwareFile();  // no box at start-up
  struct TCase {
    const char* What;
    int Signal;
    std::function<void(TStartupForms&, std::vector<std::string>& seen)> Open;
    std::vector<std::string> Seen;  // what the opening command saw
    bool BoxOnTop = false;          // the signal waits for the box over the dialog
  };
  const auto verify = [](std::vector<std::string>& seen) {
    const bool yes = Prompts().AskYesAbort("Chip 1: Address=0x00000010,Buffer=0x55,Chip=0xAA") == TPromptAnswer::Yes;
    seen.push_back(yes ? "Yes" : "Abort");
  };
  const TCase cases[] = {
      {"a file dialog", SIGTERM,
       [](TStartupForms& forms, std::vector<std::string>& seen) {
         // Runs modally all the same; the result is what the command saw.
         forms.GenMFrmARM->ExecFileDialog = [&seen](QFileDialog& dialog) {
           const bool confirmed = dialog.exec() == QDialog::Accepted;
           seen.push_back(confirmed ? "OK" : "Cancel");
           return confirmed;
         };
         forms.GenMFrmARM->findChild<QAction*>("LoadFromProjectFile1")->trigger();
       },
       {"Cancel"}},
      {"an option dialog", SIGINT,
       [](TStartupForms& forms, std::vector<std::string>& seen) {
         forms.GenMFrmARM->BtnOptionCfg->click();  // the AC78xx family of start-up
         seen.push_back(ProgramSettings.OptionsModified ? "modified" : "unchanged");
       },
       {"unchanged"}},
      {"the verification box", SIGTERM,
       [verify](TStartupForms&, std::vector<std::string>& seen) { verify(seen); }, {"Abort"}},
      {"a question over a dialog", SIGINT,
       [verify](TStartupForms& forms, std::vector<std::string>& seen) {
         // Once the About window is up, a box over it.
         OnNextModal([verify, &seen](QWidget&) { verify(seen); });
         forms.GenMFrmARM->About1Click();
         seen.push_back(forms.AboutForm->result() == QDialog::Rejected ? "Cancel" : "OK");
       },
       {"Abort", "Cancel"},
       true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    ResetProgramState();
    TStartupForms forms(Startup());
    std::vector<std::string> seen;
    EXPECT_EQ(Run(forms, c.Signal, [&] { c.Open(forms, seen); }, c.BoxOnTop), 0);
    EXPECT_FALSE(hung);
    EXPECT_EQ(seen, c.Seen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(forms.GenMFrmARM->isVisible());
    EXPECT_NE(Log().find("Hello Velmot200IND User! ------ \r\n"), std::string::npos) << Log();
  }
}

}  // namespace
