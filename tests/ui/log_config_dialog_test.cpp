#include "text/text_id.h"
#include "ui/log_config_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>

#include "../platform/file_size_limit.h"
#include "data/program_state.h"
#include "operator_fakes.h"
#include "ui/radio_group.h"

namespace {

class LogConfigDialog : public testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    ASSERT_TRUE(folder_.isValid());
    SessionTexts.AppDir = Folder();
  }
  void TearDown() override { ResetProgramState(); }

  std::string Folder() const { return folder_.path().toStdString() + "/"; }
  std::string ConfigFile() const {
    std::ifstream in(Folder() + kLogConfigName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // The operator's click on an item of a radio group.
  static void Choose(TRadioGroup& group, int index) {
    for (QRadioButton* button : group.findChildren<QRadioButton*>()) {
      if (button->text() == group.ItemText(index)) QTest::mouseClick(button, Qt::LeftButton);
    }
  }

  static void ExpectShows(const TLogCfgForm& d, const TLogConfig& config) {
    EXPECT_EQ(d.CheckBoxLog->isChecked(), config.GenerateLog);
    EXPECT_EQ(d.RadioGrpCreat->ItemIndex(), config.Location);
    EXPECT_EQ(d.GetWriteMode(), config.WriteMode);
    EXPECT_EQ(d.GetLogFileName().toStdString(), config.LogFileName);
  }

  // Which of the four controls below the check box can be used.
  static std::vector<bool> Enabled(const TLogCfgForm& d) {
    return {d.RadioGrpCreat->isEnabled(), d.RadioGrpMod->isEnabled(), d.EditLogName->isEnabled(),
            d.SpeedButtonOP->isEnabled()};
  }

  QTemporaryDir folder_;
  TFakePrompts prompts_;
};

TEST_F(LogConfigDialog, ControlsFollowTheOperatorsChoices) {
  TLogCfgForm dialog;
  dialog.show();
  ExpectShows(dialog, {true, kLogLocationSystem, kLogModeNew, "DuzIRUdX.log"});
  EXPECT_EQ(dialog.RadioGrpCreat->ItemText(1), "Customer Defined Log File");
  EXPECT_EQ(dialog.RadioGrpMod->ItemText(2), "Append to Old File");
  EXPECT_EQ(Enabled(dialog), (std::vector<bool>{true, false, false, false}));

  Choose(*dialog.RadioGrpCreat, kLogLocationCustomer);
  EXPECT_EQ(Enabled(dialog), (std::vector<bool>{true, true, true, true}));
  Choose(*dialog.RadioGrpMod, kLogModeAppend);
  EXPECT_EQ(dialog.GetWriteMode(), kLogModeAppend);
  // Choosing a location again sets the mode back to "Creat new File".
  Choose(*dialog.RadioGrpCreat, kLogLocationCustomer);
  EXPECT_EQ(dialog.GetWriteMode(), kLogModeNew);

  QTest::mouseClick(dialog.CheckBoxLog, Qt::LeftButton);
  EXPECT_FALSE(dialog.CheckBoxLog->isChecked());
  EXPECT_EQ(Enabled(dialog), (std::vector<bool>{false, false, false, false}));
  QTest::mouseClick(dialog.CheckBoxLog, Qt::LeftButton);
  EXPECT_EQ(Enabled(dialog), (std::vector<bool>{true, true, true, true}));
  Choose(*dialog.RadioGrpCreat, kLogLocationSystem);
  EXPECT_EQ(Enabled(dialog), (std::vector<bool>{true, false, false, false}));
  EXPECT_TRUE(prompts_.Shown.empty());
}

TEST_F(LogConfigDialog, EveryCloseWritesTheSettingsThatTheNextStartReads) {
  TLogCfgForm dialog;
  dialog.show();
  QTest::mouseClick(dialog.CheckBoxLog, Qt::LeftButton);
  QTest::mouseClick(dialog.CheckBoxLog, Qt::LeftButton);
  Choose(*dialog.RadioGrpCreat, kLogLocationCustomer);
  Choose(*dialog.RadioGrpMod, kLogModeAppend);
  dialog.EditLogName->setText("/var/log/line 3.log");
  QTest::mouseClick(dialog.OK, Qt::LeftButton);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ConfigFile(), "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=/var/log/line 3.log\r\n[EndCfg]\r\n");

  TLogCfgForm next;
  next.LoadLogConfig();
  ExpectShows(next, {true, kLogLocationCustomer, kLogModeAppend, "/var/log/line 3.log"});
  EXPECT_EQ(Enabled(next), (std::vector<bool>{true, true, true, true}));
  // Opened again, it shows what was read, and the close box stores it unchanged.
  next.show();
  next.close();
  EXPECT_EQ(ConfigFile(), "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=/var/log/line 3.log\r\n[EndCfg]\r\n");
  EXPECT_TRUE(prompts_.Shown.empty());
}

TEST_F(LogConfigDialog, OkWantsACustomerFileNameButTheCloseBoxStoresAnEmptyOne) {
  TLogCfgForm dialog;
  dialog.show();
  Choose(*dialog.RadioGrpCreat, kLogLocationCustomer);
  dialog.EditLogName->clear();
  QTest::mouseClick(dialog.OK, Qt::LeftButton);
  EXPECT_EQ(prompts_.Shown, std::vector<std::string>{Text(TTextId::LogFileNamePrompt)});
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(dialog.focusWidget(), dialog.EditLogName);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(Folder() + kLogConfigName)));

  dialog.close();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(ConfigFile(), "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef0\r\nSpcFile=\r\n[EndCfg]\r\n");
  EXPECT_EQ(prompts_.Shown.size(), 1u);
}

TEST_F(LogConfigDialog, AConfigFileThatCannotBeWrittenIsReportedOnceAndTheDialogCloses) {
  // A program folder below a plain file: nothing can be created in it, even by root.
  std::ofstream(Folder() + "plain") << "x";
  SessionTexts.AppDir = Folder() + "plain/";
  TLogCfgForm dialog;
  const std::vector<std::pair<const char*, std::function<void()>>> closes = {
      {"OK", [&dialog] { QTest::mouseClick(dialog.OK, Qt::LeftButton); }},
      {"close box", [&dialog] { dialog.close(); }},
  };
  for (const auto& [way, close] : closes) {
    SCOPED_TRACE(way);
    prompts_.Shown.clear();
    dialog.show();
    close();
    EXPECT_FALSE(dialog.isVisible());
    ASSERT_EQ(prompts_.Shown.size(), 1u);
    EXPECT_NE(prompts_.Shown[0].find(SessionTexts.AppDir + kLogConfigName), std::string::npos) << prompts_.Shown[0];
  }
}

// A disk that fills up while the file is written.
TEST_F(LogConfigDialog, AWriteThatFailsHalfWayKeepsTheOldFile) {
  const std::string old = "[ConfigLog]\r\nDnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=/var/log/line 3.log\r\n[EndCfg]\r\n";
  std::ofstream(Folder() + kLogConfigName, std::ios::binary) << old;
  TLogCfgForm dialog;
  dialog.LoadLogConfig();
  dialog.show();
  Choose(*dialog.RadioGrpCreat, kLogLocationSystem);
  {
    const TFileSizeLimit full(16);
    QTest::mouseClick(dialog.OK, Qt::LeftButton);
  }
  EXPECT_FALSE(dialog.isVisible());
  ASSERT_EQ(prompts_.Shown.size(), 1u);
  EXPECT_NE(prompts_.Shown[0].find(Folder() + kLogConfigName), std::string::npos) << prompts_.Shown[0];
  EXPECT_EQ(ConfigFile(), old);
  EXPECT_EQ(QDir(QString::fromStdString(Folder())).entryList(QDir::Files | QDir::Hidden),
            QStringList{kLogConfigName});

  TLogCfgForm next;
  next.LoadLogConfig();
  ExpectShows(next, {false, kLogLocationCustomer, kLogModeAppend, "/var/log/line 3.log"});
}

}  // namespace
