#include "text/text_id.h"
#include "ui/connection_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace {

constexpr const char* kShownBefore = "Select Device";

// n DEV lines DEV1=COM1 .. DEVn=COMn.
std::string DevLines(int n) {
  std::string lines;
  for (int i = 1; i <= n; ++i) lines += "DEV" + std::to_string(i) + "=COM" + std::to_string(i) + "\n";
  return lines;
}

std::vector<std::string> ComNames(int n) {
  std::vector<std::string> items;
  for (int i = 1; i <= n; ++i) items.push_back("/dev/COM" + std::to_string(i));
  return items;
}

// Slot n holds /dev/COM(n + 1), as DEV1 .. DEV10 of DevLines give them,
// but for one slot that a later line named again.
std::map<int, std::string> TenSlots(int renamed = -1, const std::string& name = "") {
  std::map<int, std::string> slots;
  for (int n = 0; n < kProgrammerMax; ++n) slots[n] = n == renamed ? name : "/dev/COM" + std::to_string(n + 1);
  return slots;
}

std::map<int, std::string> SlotsOf(const TPortList& list) {
  std::map<int, std::string> slots;
  for (int n = 0; n < kProgrammerMax; ++n) {
    if (list.SlotPorts[n]) slots[n] = *list.SlotPorts[n];
  }
  return slots;
}

class ConnectionSettings : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState();
    SessionTexts.AppDir = folder_.Dir();
    // What an earlier read left behind.
    list_.Items = {"stale"};
    list_.Text = kShownBefore;
    list_.SlotPorts[5] = "stale";
  }
  void TearDown() override { ResetProgramState(); }

  TSerialPortRoots Roots() const { return {ports_.SysfsRoot(), ports_.DevDir()}; }

  TempFolder folder_;
  FakePortTree ports_;
  TPortList list_;
};

TEST_F(ConnectionSettings, ReadsTheConnectionSection) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::string> items;
    int count;
    std::map<int, std::string> slots;
  };
  const std::vector<Case> cases = {
      {"two ports", "Velmot\n[Connection]\nTOTDEV=2\nDEV1=COM3\nDEV2=COM4\n",
       {"/dev/COM3", "/dev/COM4"}, 2, {{0, "/dev/COM3"}, {1, "/dev/COM4"}}},
      {"CR LF lines", "Velmot\r\n[Connection]\r\nDEV1=COM3\r\nDEV2=COM4\r\n",
       {"/dev/COM3", "/dev/COM4"}, 2, {{0, "/dev/COM3"}, {1, "/dev/COM4"}}},
      {"keys and names in any case", "x\n[Connection]\ndev2=com4\nDeV1=cOm9\n",
       {"/dev/COM4", "/dev/COM9"}, 2, {{1, "/dev/COM4"}, {0, "/dev/COM9"}}},
      {"file order, not DEV order", "x\n[Connection]\nDEV2=COM8\nDEV1=COM7\n",
       {"/dev/COM8", "/dev/COM7"}, 2, {{1, "/dev/COM8"}, {0, "/dev/COM7"}}},
      {"device paths as written", "x\r\n[Connection]\r\nDEV1=/dev/ttyUSB0\r\nDEV2=/dev/serial/by-id/usb-FTDI_Ab-if00\r\n",
       {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_Ab-if00"}, 2,
       {{0, "/dev/ttyUSB0"}, {1, "/dev/serial/by-id/usb-FTDI_Ab-if00"}}},
      {"name from the first C", "x\n[Connection]\nDEV1=port COM5\n", {"/dev/COM5"}, 1, {{0, "/dev/COM5"}}},
      {"blanks around a value", "x\r\n[Connection]\r\nDEV1 = /dev/ttyUSB0 \r\nDEV2 =\tCOM4\t\r\nDEV3= C OM \r\n",
       {"/dev/ttyUSB0", "/dev/COM4", "/dev/C OM"}, 3, {{0, "/dev/ttyUSB0"}, {1, "/dev/COM4"}, {2, "/dev/C OM"}}},
      {"no C gives an empty name", "x\n[Connection]\nDEV1=TTY0\n", {""}, 1, {{0, ""}}},
      {"two-digit slot", "x\n[Connection]\nDEV10=COM12\n", {"/dev/COM12"}, 1, {{9, "/dev/COM12"}}},
      {"TOTDEV is replaced by the count", "x\n[Connection]\nTOTDEV=4\nDEV1=COM1\nDEV2=COM2\n", ComNames(2), 2,
       {{0, "/dev/COM1"}, {1, "/dev/COM2"}}},
      {"TOTDEV that is no number", "x\n[Connection]\nTOTDEV=two\nTOTDEV\nDEV1=COM1\n", ComNames(1), 1,
       {{0, "/dev/COM1"}}},
      {"twelve DEV lines", "x\n[Connection]\n" + DevLines(12), ComNames(12), 10,
       TenSlots()},
      // The slot number has at most two digits: DEV100 .. DEV109 name slot 10 again.
      {"more lines than an 8-bit count holds", "x\n[Connection]\n" + DevLines(260), ComNames(260), 10,
       TenSlots(9, "/dev/COM109")},
      {"DEV lines without a slot are listed only", "x\n[Connection]\nDEV0=COM9\nDEV11=COM10\nDEVX=COM5\n",
       {"/dev/COM9", "/dev/COM10", "/dev/COM5"}, 3, {}},
      {"lines before the section", "x\nDEV1=COM1\n[Connection]\nDEV2=COM2\n", {"/dev/COM2"}, 1,
       {{1, "/dev/COM2"}}},
      {"later sections still count", "x\n[Connection]\nDEV1=COM1\n[Other]\nname=C\nDEV3=COM3\n",
       {"/dev/COM1", "/dev/COM3"}, 2, {{0, "/dev/COM1"}, {2, "/dev/COM3"}}},
      {"section only on the first line", "[Connection]\nDEV1=COM1\n", {}, 0, {}},
      {"section header in another case", "x\n[connection]\nDEV1=COM1\n", {}, 0, {}},
      {"section header with a trailing blank", "x\n[Connection] \nDEV1=COM1\n", {}, 0, {}},
      {"empty file", "", {}, 0, {}},
  };
  for (const Case& c : cases) {
    SetUp();
    WriteFile(folder_.Path() / kConnectionIniName, c.file);
    LoadConnectionConfig(list_, {ports_.SysfsRoot(), "/dev"});
    EXPECT_EQ(list_.Items, c.items) << c.what;
    EXPECT_EQ(SessionState.ProgrammerCount, c.count) << c.what;
    EXPECT_EQ(SlotsOf(list_), c.slots) << c.what;
    // An empty list leaves the combo's text alone; else it shows the last item.
    EXPECT_EQ(list_.Text, c.items.empty() ? std::string(kShownBefore) : c.items.back()) << c.what;
  }
}

TEST_F(ConnectionSettings, TheFileCountsBeforeTheLimit) {
  WriteFile(folder_.Path() / kConnectionIniName, "x\n[Connection]\n" + DevLines(12));
  ReadConnectionIni((folder_.Path() / kConnectionIniName).string(), list_, Roots());
  EXPECT_EQ(SessionState.ProgrammerCount, 12);
}

TEST_F(ConnectionSettings, TheFileWinsOverTheSystemPorts) {
  ports_.AddPort("ttyUSB0", "ftdi_sio");
  WriteFile(folder_.Path() / kConnectionIniName, "x\n[Connection]\n");
  LoadConnectionConfig(list_, Roots());
  EXPECT_TRUE(list_.Items.empty());
  EXPECT_EQ(SessionState.ProgrammerCount, 0);
  EXPECT_EQ(list_.Text, kShownBefore);
}

TEST_F(ConnectionSettings, WithoutAFileTheSystemPortsAreListed) {
  const std::string dev = ports_.DevDir() + "/";
  LoadConnectionConfig(list_, Roots());
  EXPECT_TRUE(list_.Items.empty());
  EXPECT_EQ(list_.Text, Text(TTextId::NoComPortText));
  EXPECT_EQ(SessionState.ProgrammerCount, 0);
  EXPECT_EQ(SlotsOf(list_), (std::map<int, std::string>{}));

  for (int i = 0; i < 12; ++i) ports_.AddPort("ttyUSB" + std::to_string(i), i % 2 ? "cp210x" : "ftdi_sio");
  ports_.AddPort("ttyACM0", "cdc_acm");
  LoadConnectionConfig(list_, Roots());
  ASSERT_EQ(list_.Items.size(), 12u);
  EXPECT_EQ(list_.Items[2], dev + "ttyUSB2");
  EXPECT_EQ(list_.Items[10], dev + "ttyUSB10");
  EXPECT_EQ(list_.Text, dev + "ttyUSB11");
  EXPECT_EQ(SessionState.ProgrammerCount, 10);
}

}  // namespace
