#include "ui/log_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/program_state.h"
#include "operator_fakes.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

namespace {

TMemoLines Memo(int lines) {
  TMemoLines memo;
  for (int i = 1; i <= lines; ++i) memo.push_back("> 10:15:" + std::to_string(i) + " line " + std::to_string(i));
  return memo;
}

std::string AsFile(const TMemoLines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

class LogFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    SessionTexts.AppDir = app_.Dir();
  }
  void TearDown() override { ResetProgramState(); }

  TempFolder app_;
  TempFolder drive_;
  TFixedClock clock_{{2026, 12, 9, 10, 15, 30}};
};

// ---- DivAriR.cfg

TEST_F(LogFiles, ConfigRoundTrip) {
  struct Case {
    TLogConfig saved;
    std::string file;
  };
  const Case cases[] = {
      {{}, "[ConfigLog]\r\nEnLog\r\nSystem\r\n[EndCfg]\r\n"},
      {{false, kLogLocationCustomer, kLogModeAppend, "/var/log/line 3.log"},
       "[ConfigLog]\r\nDnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=/var/log/line 3.log\r\n[EndCfg]\r\n"},
      {{true, kLogLocationCustomer, kLogModeOverwrite, ""},
       "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef1\r\nSpcFile=\r\n[EndCfg]\r\n"},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(SaveLogConfig(c.saved), std::nullopt);
    EXPECT_EQ(ReadFile(LogConfigPath()), c.file);
    // Read into settings that differ in every field.
    TLogConfig loaded{!c.saved.GenerateLog, 1 - c.saved.Location, kLogModeNew, "other.log"};
    loaded.WriteMode = c.saved.WriteMode == kLogModeAppend ? kLogModeOverwrite : kLogModeAppend;
    LoadLogConfig(loaded);
    EXPECT_EQ(loaded.GenerateLog, c.saved.GenerateLog) << c.file;
    EXPECT_EQ(loaded.Location, c.saved.Location) << c.file;
    EXPECT_EQ(loaded.WriteMode, c.saved.WriteMode) << c.file;
    // The system location stores no name.
    const std::string name = c.saved.Location == kLogLocationCustomer ? c.saved.LogFileName : "other.log";
    EXPECT_EQ(loaded.LogFileName, name) << c.file;
  }
}

TEST_F(LogFiles, ConfigReading) {
  struct Case {
    const char* what;
    std::string file;
    TLogConfig expected;
  };
  const TLogConfig defaults;
  const Case cases[] = {
      {"another first line", "[configlog]\nDnLog\nCustomer\n[EndCfg]\n", defaults},
      {"LF lines", "[ConfigLog]\nDnLog\nCustomer\nCusDef2\nSpcFile=a.log\n[EndCfg]\n",
       {false, kLogLocationCustomer, kLogModeAppend, "a.log"}},
      {"case matters", "[ConfigLog]\r\ndnlog\r\ncustomer\r\ncusdef2\r\nspcfile=a.log\r\n[EndCfg]\r\n", defaults},
      {"a location line resets the mode", "[ConfigLog]\r\nCusDef2\r\nCustomer\r\n[EndCfg]\r\n",
       {true, kLogLocationCustomer, kLogModeNew, "DuzIRUdX.log"}},
      {"empty name", "[ConfigLog]\r\nCustomer\r\nSpcFile=\r\n[EndCfg]\r\n",
       {true, kLogLocationCustomer, kLogModeNew, ""}},
      {"name keeps what follows the first =", "[ConfigLog]\r\nSpcFile=a=b.log\r\n",
       {true, kLogLocationSystem, kLogModeNew, "a=b.log"}},
      {"lines after the end", "[ConfigLog]\r\nCustomer\r\n[EndCfg]\r\nDnLog\r\nCusDef1\r\n",
       {true, kLogLocationCustomer, kLogModeNew, "DuzIRUdX.log"}},
      {"unknown lines", "[ConfigLog]\r\nCusDef3\r\nEnLog \r\nDnLog\r\n[EndCfg]\r\n",
       {false, kLogLocationSystem, kLogModeNew, "DuzIRUdX.log"}},
  };
  for (const Case& c : cases) {
    WriteFile(LogConfigPath(), c.file);
    TLogConfig loaded;
    LoadLogConfig(loaded);
    EXPECT_EQ(loaded.GenerateLog, c.expected.GenerateLog) << c.what;
    EXPECT_EQ(loaded.Location, c.expected.Location) << c.what;
    EXPECT_EQ(loaded.WriteMode, c.expected.WriteMode) << c.what;
    EXPECT_EQ(loaded.LogFileName, c.expected.LogFileName) << c.what;
  }
}

TEST_F(LogFiles, NoConfigFileKeepsTheDefaults) {
  TLogConfig loaded{false, kLogLocationCustomer, kLogModeAppend, "x.log"};
  LoadLogConfig(loaded);
  EXPECT_FALSE(loaded.GenerateLog);
  EXPECT_EQ(loaded.Location, kLogLocationCustomer);
  EXPECT_EQ(loaded.WriteMode, kLogModeAppend);
  EXPECT_EQ(loaded.LogFileName, "x.log");
}

TEST_F(LogFiles, ConfigThatCannotBeWrittenIsReported) {
  SessionTexts.AppDir = app_.Dir() + "missing/";
  const std::optional<std::string> error = SaveLogConfig({});
  ASSERT_TRUE(error.has_value());
  EXPECT_NE(error->find(app_.Dir() + "missing/DivAriR.cfg"), std::string::npos) << *error;
}

// ---- system log

TEST_F(LogFiles, SystemLogName) {
  EXPECT_EQ(SystemLogFileName({2026, 12, 9, 10, 15, 30}), "GenQRX_2026_12_09_10_15_30.log");
  EXPECT_EQ(SystemLogFileName({2027, 1, 2, 3, 4, 5}), "GenQRX_2027_01_02_03_04_05.log");
  EXPECT_EQ(SystemLogFileName({2026, 6, 30, 23, 59, 59}), "GenQRX_2026_06_30_23_59_59.log");
}

TEST_F(LogFiles, SystemLogOnlyAboveSixLines) {
  const fs::path folder = drive_.Path() / "ZarARAzOveZ";
  EXPECT_EQ(WriteSystemLog(Memo(6), drive_.Dir()), std::nullopt);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::is_empty(folder));

  EXPECT_EQ(WriteSystemLog(Memo(7), drive_.Dir()), std::nullopt);
  EXPECT_EQ(ReadFile(folder / "GenQRX_2026_12_09_10_15_30.log"), AsFile(Memo(7)));
  EXPECT_FALSE(fs::exists(app_.Path() / "ZarARAzOveZ"));
}

TEST_F(LogFiles, SystemLogFallsBackToTheProgramFolder) {
  WriteFile(drive_.Path() / "file", "");  // no folder can be made below a file
  const std::string badRoot = (drive_.Path() / "file").string() + "/";
  EXPECT_EQ(WriteSystemLog(Memo(8), badRoot), std::nullopt);
  EXPECT_EQ(ReadFile(app_.Path() / "ZarARAzOveZ" / "GenQRX_2026_12_09_10_15_30.log"), AsFile(Memo(8)));
}

TEST_F(LogFiles, SystemLogThatCannotBeWrittenAnywhere) {
  WriteFile(drive_.Path() / "file", "");
  const std::string badRoot = (drive_.Path() / "file").string() + "/";
  SessionTexts.AppDir = badRoot;
  EXPECT_EQ(WriteSystemLog(Memo(6), badRoot), std::nullopt);  // nothing to save, nothing to report
  EXPECT_EQ(WriteSystemLog(Memo(7), badRoot), std::optional<std::string>("Write Log File error!"));
}

// ---- customer log

TEST_F(LogFiles, AppendWritesTheHeaderOnce) {
  const fs::path path = drive_.Path() / "line.log";
  const TLogConfig config{true, kLogLocationCustomer, kLogModeAppend, path.string()};
  EXPECT_EQ(WriteCustomerLog(config, {"first run"}), std::nullopt);
  EXPECT_EQ(WriteCustomerLog(config, {}), std::nullopt);
  EXPECT_EQ(WriteCustomerLog(config, {"second run", "more"}), std::nullopt);
  EXPECT_EQ(ReadFile(path), "Quorix Log File!\r\nfirst run\r\nsecond run\r\nmore\r\n");

  const fs::path fresh = drive_.Path() / "fresh.log";
  EXPECT_EQ(WriteCustomerLog({true, kLogLocationCustomer, kLogModeAppend, fresh.string()}, {}), std::nullopt);
  EXPECT_EQ(ReadFile(fresh), "Quorix Log File!\r\n");
}

TEST_F(LogFiles, NewAndOverwriteReplaceTheFile) {
  for (const int mode : {kLogModeNew, kLogModeOverwrite}) {
    const fs::path path = drive_.Path() / "line.log";
    WriteFile(path, "an earlier and much longer log\r\n");
    EXPECT_EQ(WriteCustomerLog({true, kLogLocationCustomer, mode, path.string()}, {"a", "b"}), std::nullopt);
    EXPECT_EQ(ReadFile(path), "a\r\nb\r\n") << mode;
  }
}

TEST_F(LogFiles, CustomerLogFailures) {
  const std::string missing = (drive_.Path() / "missing" / "line.log").string();
  // New and overwrite report the file error.
  for (const int mode : {kLogModeNew, kLogModeOverwrite}) {
    const std::optional<std::string> error = WriteCustomerLog({true, kLogLocationCustomer, mode, missing}, {"a"});
    ASSERT_TRUE(error.has_value()) << mode;
    EXPECT_NE(error->find(missing), std::string::npos) << *error;
  }
  // A failed append is not reported; the settings file is written again.
  const TLogConfig append{true, kLogLocationCustomer, kLogModeAppend, missing};
  EXPECT_EQ(WriteCustomerLog(append, {"a"}), std::nullopt);
  EXPECT_EQ(ReadFile(LogConfigPath()),
            "[ConfigLog]\r\nEnLog\r\nCustomer\r\nCusDef2\r\nSpcFile=" + missing + "\r\n[EndCfg]\r\n");
  EXPECT_FALSE(fs::exists(drive_.Path() / "missing"));
}

TEST_F(LogFiles, WriteLogFollowsTheSettings) {
  const fs::path path = drive_.Path() / "line.log";
  const TLogConfig customer{true, kLogLocationCustomer, kLogModeNew, path.string()};
  EXPECT_EQ(WriteLog(customer, Memo(2)), std::nullopt);
  EXPECT_EQ(ReadFile(path), AsFile(Memo(2)));

  // "Generate Log File " cleared: no log, not even the system one.
  fs::remove(path);
  TLogConfig off = customer;
  off.GenerateLog = false;
  EXPECT_EQ(WriteLog(off, Memo(9)), std::nullopt);
  EXPECT_FALSE(fs::exists(path));
  off.Location = kLogLocationSystem;
  EXPECT_EQ(WriteLog(off, Memo(9)), std::nullopt);
  EXPECT_FALSE(fs::exists(app_.Path() / "ZarARAzOveZ"));

  // An empty name writes nothing.
  EXPECT_EQ(WriteLog({true, kLogLocationCustomer, kLogModeNew, ""}, Memo(9)), std::nullopt);
  EXPECT_TRUE(fs::is_empty(app_.Path()));
}

}  // namespace
