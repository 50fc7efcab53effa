// The window's file dialogs: while none is open, a folder that keeps
// changing costs the idle program nothing; each dialog still opens again in
// the folder it was left in, with the file last confirmed and its filter.
#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"
#include "file_window.h"
#include "modal_closer.h"
#include "ui/log_config.h"
#include "ui/startup_forms.h"

namespace {

namespace fs = std::filesystem;

// The write calls this process has made so far (its "syscw" count).
long WriteCalls() {
  std::ifstream io("/proc/self/io");
  std::string key;
  long value = 0;
  while (io >> key >> value)
    if (key == "syscw:") return value;
  ADD_FAILURE() << "no syscw in /proc/self/io";
  return 0;
}

// A line script beside the program: a file created and one removed about a
// hundred times a second, without a byte written.
class TChangingFolder {
 public:
  explicit TChangingFolder(std::string folder)
      : thread_([this, folder = std::move(folder)] {
          for (int n = 0; !stop_; ++n) {
            std::ofstream(folder + "part_" + std::to_string(n % 8) + ".hex").close();
            fs::remove(folder + "part_" + std::to_string((n + 4) % 8) + ".hex");
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
          }
        }) {}
  ~TChangingFolder() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// The program as it starts (the five start-up forms, the window shown) with
// the working folder its dialogs start in.
class IdleWindow : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    fs::create_directory(WorkFolder());
    before_ = QDir::currentPath();
    QDir::setCurrent(QString::fromStdString(WorkFolder()));
  }
  void TearDown() override {
    QDir::setCurrent(before_);
    WindowTest::TearDown();
  }
  std::string WorkFolder() const { return Folder() + "line/"; }

  QString before_;
};

// Every file dialog has been open once and is closed again; 100 changes a
// second to the folder they showed then cost the idle program no wake-up:
// nothing of a closed dialog watches a folder.
TEST_F(IdleWindow, AFolderThatKeepsChangingCostsTheIdleProgramNoWork) {
  TStartupForms forms(Startup());
  TGenMFrmARM& main = *forms.GenMFrmARM;
  main.show();
  ASSERT_TRUE(AcceptChipChoice(kVendorAUCUx, 0));
  main.ChangeChip();
  ObjectState.ObjectLoaded = 1;
  // Each dialog is cancelled in the line's folder, where the operator went.
  const QString line = QString::fromStdString(WorkFolder());
  QStringList opened;
  main.ExecFileDialog = [&](QFileDialog& dialog) {
    opened << dialog.objectName();
    dialog.setDirectory(line);
    return false;
  };
  for (const char* command : {"Execute1", "LoadEepDataFile1", "SaveFile1", "SavetoProjectFile1", "LoadFromProjectFile1"})
    main.findChild<QAction*>(command)->trigger();
  EXPECT_EQ(opened, (QStringList{"OpenDialog1", "OpenDialogOTP", "SaveDialog1", "SaveDialogPrj", "OpenDialogPrj"}));
  // The log dialog's browse button, where the customer's own log file is chosen.
  TLogCfgForm& logDialog = *forms.LogCfgForm;
  logDialog.ShowSettings({true, kLogLocationCustomer, kLogModeNew, "line.log"});
  OnNextModal([&](QWidget& modal) {
    auto& browse = dynamic_cast<QFileDialog&>(modal);
    opened << browse.objectName();
    browse.setDirectory(line);
    browse.reject();
  });
  logDialog.SpeedButtonOP->click();
  EXPECT_EQ(opened.back(), "OpenDialogLog");
  QTest::qWait(200);  // what start-up and the dialogs left in the queue

  const TChangingFolder changing(WorkFolder());
  const long start = WriteCalls();
  QTest::qWait(5000);
  EXPECT_LE(WriteCalls() - start, 25);
  EXPECT_TRUE(main.isVisible());
}

// The folder each dialog was left in, its last file and its filter entry
// come back, whichever dialog ran last; the project dialogs offer their
// first entry again, as their commands set the filters before each run.
TEST_F(FileWindowTest, EachFileDialogOpensAgainAsItWasLeft) {
  Choose(kVendorAUCUx, kAu301);
  struct Case {
    const char* control;
    const char* dialog;
    const char* file;  // confirmed in its own folder
    int entry;         // the filter entry the operator picked
    int offered;       // the entry offered the next time
  };
  const Case cases[] = {
      {"SpdBtnOpen", "OpenDialog1", "objects/board.hex", 0, 0},  // "All Files (*.*)"
      {"LoadEepDataFile1", "OpenDialogOTP", "eep/data.hex", 2, 2},
      {"SaveEepDatatoFile1", "SaveDialog1", "saved/eep.bin", 1, 1},
      {"SavetoProjectFile1", "SaveDialogPrj", "jobs/job.pqx", 1, 0},
      {"SpdBtnLdPrj", "OpenDialogPrj", "opened/job.pqx", 1, 0},
  };
  for (const char* folder : {"objects", "eep", "saved", "jobs", "opened"}) fs::create_directory(Path(folder));
  WriteFile(Path("objects/board.hex"), HexLine(4, 0, {0x03, 0x00}) + "\n" + HexLine(0, 0x0100, RandomBytes(0x40, 3)) +
                                           "\n" + HexLine(1, 0, {}) + "\n");
  WriteFile(Path("eep/data.hex"), HexLine(4, 0, {0x03, 0x02}) + "\n" + HexLine(0, 0x6000, RandomBytes(0x20, 4)) + "\n" +
                                      HexLine(1, 0, {}) + "\n");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.control);
    const QString path = QString::fromStdString(Path(c.file));
    // The project opened is the one saved, copied to a folder of its own.
    if (c.dialog == std::string("OpenDialogPrj")) fs::copy_file(Path("jobs/job.pqx"), Path(c.file));
    window->ExecFileDialog = [&](QFileDialog& dialog) {
      EXPECT_EQ(dialog.objectName(), c.dialog);
      dialog.setDirectory(QFileInfo(path).absolutePath());
      dialog.selectNameFilter(dialog.nameFilters().value(c.entry));
      dialog.selectFile(path);
      return true;
    };
    Trigger(c.control);
    EXPECT_TRUE(fs::exists(Path(c.file)));
  }
  EXPECT_EQ(ObjectState.ObjectLoaded, 1);

  // "&Save Memory to File" shares the save dialog of the EEP data.
  std::vector<std::pair<std::string, const Case*>> again;
  for (const Case& c : cases) again.emplace_back(c.control, &c);
  again.emplace_back("SaveFile1", &cases[2]);
  for (const auto& [control, c] : again) {
    SCOPED_TRACE(control);
    int asked = 0;
    window->ExecFileDialog = [&, c = c](QFileDialog& dialog) {
      ++asked;
      EXPECT_EQ(dialog.objectName(), c->dialog);
      EXPECT_EQ(dialog.directory().absolutePath(), QFileInfo(QString::fromStdString(Path(c->file))).absolutePath());
      EXPECT_EQ(dialog.selectedFiles(), QStringList{QString::fromStdString(Path(c->file))});
      EXPECT_EQ(dialog.selectedNameFilter(), dialog.nameFilters().value(c->offered));
      return false;
    };
    Trigger(control.c_str());
    EXPECT_EQ(asked, 1);
  }
}

// The log dialog's browse dialog, run modally: it opens again where the log
// file was chosen, with that file and its one filter; a cancel changes
// nothing of the name.
TEST(LogFileBrowse, OpensAgainWhereTheLogFileWasChosen) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString chosen = folder.path() + "/logs/line.log";
  ASSERT_TRUE(QDir(folder.path()).mkdir("logs"));
  TLogCfgForm dialog;
  dialog.ShowSettings({true, kLogLocationCustomer, kLogModeNew, "DuzIRUdX.log"});
  OnNextModal([&chosen](QWidget& modal) {
    auto& browse = dynamic_cast<QFileDialog&>(modal);
    browse.setDirectory(QFileInfo(chosen).absolutePath());
    browse.selectFile(chosen);
    static_cast<QDialog&>(browse).accept();  // the dialog's own OK
  });
  dialog.SpeedButtonOP->click();
  EXPECT_EQ(dialog.EditLogName->text(), chosen);

  QString shownFolder;
  QStringList shownFiles;
  QStringList filters;
  OnNextModal([&](QWidget& modal) {
    auto& browse = dynamic_cast<QFileDialog&>(modal);
    shownFolder = browse.directory().absolutePath();
    shownFiles = browse.selectedFiles();
    filters = browse.nameFilters();
    browse.reject();
  });
  dialog.SpeedButtonOP->click();
  EXPECT_EQ(shownFolder, QFileInfo(chosen).absolutePath());
  EXPECT_EQ(shownFiles, QStringList{chosen});
  EXPECT_EQ(filters, QStringList{"All Log Files(*.Log,*.Txt) (*.log *.Txt)"});
  EXPECT_EQ(dialog.EditLogName->text(), chosen);
}

}  // namespace
