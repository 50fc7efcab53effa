// The identity checks and the link handler, with answers to the link
// request built here byte by byte.
#include "link/device_identity.h"

#include <gtest/gtest.h>

#include <cstring>

#include "link/channel_progress.h"
#include "link/device_search.h"
#include "link/link_reply.h"
#include "link/operation_starters.h"
#include "link/result_report.h"
#include "operation_fixture.h"

namespace {

using Bytes = sim::Bytes;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

// An answer whose text area (from byte 28) holds `area`; the length field
// says area.size() - 1 unless given.
Bytes IdentityReply(const Bytes& area, int lengthField = -1) {
  Bytes reply(28, 0);
  reply[0] = 0xA3, reply[1] = 0xA5, reply[2] = 0x35;
  const auto length = static_cast<std::uint16_t>(lengthField >= 0 ? lengthField : static_cast<int>(area.size()) - 1);
  sim::PutLe16(reply, 6, length);
  reply.insert(reply.end(), area.begin(), area.end());
  return reply;
}
Bytes Answer(const std::string& text) {
  Bytes area = Text(text);
  area.push_back(0);
  return IdentityReply(area);
}

void SetFirmwareVersion(const char* version) {
  std::memset(SessionState.FirmwareVersion, 0, sizeof SessionState.FirmwareVersion);
  std::strncpy(SessionState.FirmwareVersion, version, 8);
}

TEST(DeviceIdentity, ApplicationAnswersAgainstTheFirmwareVersion) {
  ResetProgramState();
  struct Case {
    const char* name;
    Bytes reply;
    const char* firmware;
    std::uint8_t code;
    std::string deviceText;  // in the buffer afterwards
  };
  Bytes crAfterIdentity = Text("Velmot200IND\r V1.06");
  crAfterIdentity.push_back(0);
  Bytes cutShort = Answer("Velmot200IND V1.06");
  cutShort.resize(28 + 15);  // the length field reaches past the reply
  const Case cases[] = {
      {"same version", Answer("Velmot200IND V1.06"), "V1.06", 0, "Velmot200IND V1.06"},
      {"older version ended by a comma", Answer("Velmot200IND V1.05,2024"), "V1.06", 3, "Velmot200IND V1.05,2024"},
      {"newer version", Answer("Velmot200IND V1.07"), "V1.06", 0, "Velmot200IND V1.07"},
      {"no firmware file: never older", Answer("Velmot200IND V0.01"), "", 0, "Velmot200IND V0.01"},
      {"no version at all is older", Answer("Velmot200IND"), "V1.06", 3, "Velmot200IND"},
      {"characters, not numbers: V1.10 is below V1.9", Answer("Velmot200IND V1.10"), "V1.9", 3, "Velmot200IND V1.10"},
      {"a version ended by a comma is compared over its length", Answer("Velmot200IND V1.2,"), "V1.2.3", 0,
       "Velmot200IND V1.2,"},
      {"a version at the end of the text is compared with its end", Answer("Velmot200IND V1.2"), "V1.2.3", 3,
       "Velmot200IND V1.2"},
      {"equal at the end of the text", Answer("Velmot200IND V1.2"), "V1.2", 0, "Velmot200IND V1.2"},
      {"a prefix test: one letter more matches", Answer("Velmot200INDX V1.06"), "V1.06", 0, "Velmot200INDX V1.06"},
      {"the identity lacking its last letter", Answer("Velmot200IN V1.06"), "V1.06", 31, "Velmot200IND"},
      {"case matters", Answer("velmot200IND V1.06"), "V1.06", 31, "Velmot200IND"},
      {"a control byte ends the text, the version is still found", IdentityReply(crAfterIdentity), "V1.06", 0,
       "Velmot200IND"},
      {"the text area ends with the reply", cutShort, "V1.06", 3, "Velmot200IND V1"},
      {"not an answer: first bytes", [] { Bytes r = Answer("Velmot200IND V1.06"); r[1] = 0xA4; return r; }(), "V1.06", 15,
       "Velmot200IND"},
      {"not an answer: length 0", IdentityReply(Text("Velmot200IND V1.06"), 0), "V1.06", 15, "Velmot200IND"},
      {"shorter than a header", Bytes{0xA3, 0xA5, 0x35, 0, 0}, "V1.06", 15, "Velmot200IND"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetFirmwareVersion(c.firmware);
    TIdentityText identity = IdentityText("Velmot200IND");
    EXPECT_EQ(CheckDeviceIdReply(c.reply, identity, 28), c.code);
    EXPECT_EQ(std::string(identity.data()), c.deviceText);
  }
}

TEST(DeviceIdentity, BootLoaderAnswer) {
  ResetProgramState();
  struct Case {
    Bytes reply;
    std::uint8_t code;
  };
  const Case cases[] = {
      {Answer("Velmot200XXX-XX"), 0},
      {Answer("Velmot200XXX-XX boot V0.1"), 0},
      {Answer("Velmot200XXX-X"), 31},
      {Answer("Velmot200IND V1.06"), 31},
      {IdentityReply(Text("Velmot200XXX-XX"), 0), 15},
  };
  for (const Case& c : cases) {
    TIdentityText identity = IdentityText("Velmot200XXX-XX");
    EXPECT_EQ(CheckDeviceNameReply(c.reply, identity, 28), c.code);
  }
}

// A device text longer than the identity buffer holds is cut to 127
// characters; nothing is read past the reply.
TEST(DeviceIdentity, ALongDeviceTextIsCutToTheBuffer) {
  ResetProgramState();
  const std::string text = "Velmot200IND " + std::string(300, 'x');
  TIdentityText identity = IdentityText("Velmot200IND");
  EXPECT_EQ(CheckDeviceIdReply(Answer(text), identity, 28), 0);
  EXPECT_EQ(std::string(identity.data()), text.substr(0, 127));
}

constexpr const char* kNoImageLine = "Programmer in Boot Loader, No Valid Firmware File to Upgrade It!";

class LinkReplyTest : public OperationTest {
 protected:
  static constexpr int kCh = 3;
  void SetUp() override {
    OperationTest::SetUp();
    ProgrammerState.DeviceLinked[kCh] = 0;
    SetFirmwareVersion("V1.06");
    // A firmware image of two blocks is loaded.
    SessionState.FirmwareStart = 0x1000;
    SessionState.FirmwareEnd = 0x17FF;
  }
  void Answers(const Bytes& packet) { Receive(kCh, packet); }
};

TEST_F(LinkReplyTest, AnApplicationAnswerLinksCountsAndUpgradesWhenOlder) {
  struct Case {
    const char* name;
    std::string text;
    std::uint8_t firmwareLoaded;
    bool upgrades;
  };
  const Case cases[] = {
      {"same version", "Velmot200IND V1.06", 1, false},
      {"older version", "Velmot200IND V1.05,", 1, true},
      {"older version without a firmware file", "Velmot200IND V1.05,", 0, false},
  };
  TProgrammerState& p = ProgrammerState;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    memo.Lines.clear();
    views.Calls.clear();
    SessionState.FoundDeviceCount = 2;
    SessionState.FirmwareLoaded = c.firmwareLoaded;
    p.DeviceLinked[kCh] = 0;
    p.ProgOpCode[kCh] = kOpIdle;
    p.ChannelBusy[kCh] = 0;
    p.UpgradePending[kCh] = 0;  // the search drops what the case before started
    p.ReplyTimeout[kCh] = 300;
    Answers(Answer(c.text));
    EXPECT_EQ(p.DeviceLinked[kCh], 1);
    EXPECT_EQ(SessionState.FoundDeviceCount, 3);
    EXPECT_EQ(views.Calls, std::vector<std::string>{"InfoPanel " + c.text});
    std::vector<std::string> lines = {Line(kCh, "Find Device: " + c.text + "!")};
    if (c.upgrades) lines.push_back(Line(kCh, "Start to Upgrade Programmer 4s Firmware......"));
    EXPECT_EQ(memo.Lines, lines);
    EXPECT_EQ(p.ProgOpCode[kCh], c.upgrades ? kOpFirmwareUpgrade : kOpIdle);
    EXPECT_EQ(p.ReplyTimeout[kCh], 500);
  }
}

TEST_F(LinkReplyTest, ABootLoaderIsUpgradedButNotCounted) {
  for (const std::uint8_t loaded : {1, 0}) {
    SCOPED_TRACE(loaded ? "firmware file loaded" : "no firmware file");
    memo.Lines.clear();
    views.Calls.clear();
    SessionState.FirmwareLoaded = loaded;
    SessionState.FoundDeviceCount = 0;
    ProgrammerState.ProgOpCode[kCh] = kOpIdle;
    ProgrammerState.ChannelBusy[kCh] = 0;
    ProgrammerState.DeviceLinked[kCh] = 0;
    ProgrammerState.UpgradePending[kCh] = 0;
    Answers(Answer("Velmot200XXX-XX"));
    EXPECT_EQ(SessionState.FoundDeviceCount, 0);
    EXPECT_TRUE(views.Calls.empty());
    if (loaded) {
      EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "Start to Upgrade Programmer 4s Firmware......")});
      EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpFirmwareUpgrade);
      EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 1);  // the upgrade's replies go to the dispatcher
    } else {
      EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, kNoImageLine)});
      EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
      EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
    }
  }
}

// Without a valid firmware image a boot loader cannot be upgraded: one line
// says so per search, however often it answers within one.
TEST_F(LinkReplyTest, ABootLoaderWithoutAnImageIsNamedOncePerSearch) {
  SessionState.FirmwareLoaded = 0;
  SessionState.ProgrammerCount = kCh + 1;
  const std::vector<std::string> once{Line(kCh, kNoImageLine)};
  for (int search = 0; search < 2; ++search) {
    SCOPED_TRACE(search);
    memo.Lines.clear();
    SearchDevices(std::vector<std::string>(kCh + 1, "unbound"));  // no port is bound here
    memo.Lines.clear();
    Answers(Answer("Velmot200XXX-XX"));
    Answers(Answer("Velmot200XXX-XX"));
    EXPECT_EQ(memo.Lines, once);
    EXPECT_EQ(SessionState.FoundDeviceCount, 0);
    EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
  }
}

// A programmer whose upgrade failed in this run (still pending, no longer
// running) is left out: no answer links it, counts it or starts its
// upgrade again, and nothing more is logged of it. A progress report is
// still shown.
TEST_F(LinkReplyTest, AProgrammerWhoseUpgradeFailedIsLeftOutWhateverItAnswers) {
  SessionState.FirmwareLoaded = 1;
  for (const char* text : {"Velmot200XXX-XX", "Velmot200IND V1.05,", "Velmot200IND V1.06", "Velmot200IN"}) {
    SCOPED_TRACE(text);
    memo.Lines.clear();
    views.Calls.clear();
    SessionState.FoundDeviceCount = 1;
    ProgrammerState.UpgradePending[kCh] = 1;
    ProgrammerState.ProgOpCode[kCh] = kOpIdle;
    ProgrammerState.DeviceLinked[kCh] = 0;
    Answers(Answer(text));
    EXPECT_TRUE(memo.Lines.empty());
    EXPECT_TRUE(views.Calls.empty());
    EXPECT_EQ(SessionState.FoundDeviceCount, 1);
    EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
    EXPECT_EQ(ProgrammerState.ProgOpCode[kCh], kOpIdle);
  }
  Bytes report = {0xFD, 0x20, 0, 0, 0, 0, 0, 0};
  report[7] = static_cast<std::uint8_t>(0x100 - (0xFD + 0x20));
  Answers(report);
  EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "Chip Blank Checking....")});
}

TEST_F(LinkReplyTest, AnythingElseIsNoDevice) {
  for (const Bytes& answer : {Answer("Velmot200IN V1.06"), [] {
                                Bytes r = Answer("Velmot200IND V1.06");
                                r[2] = 0x36;
                                return r;
                              }(),
                              IdentityReply(Text("Velmot200IND V1.06"), 0), Bytes{0x55, 1, 2, 3, 4, 5, 0, 0, 0}}) {
    memo.Lines.clear();
    views.Calls.clear();
    Answers(answer);
    EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "No Dvice Found!")});
    EXPECT_EQ(views.Caption, "No Dvice Found!");
    EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
  }
}

// A stop cut a Prog. block short: the unit's answer to it (echoing command
// 0x95) comes before its answer to the search and is dropped, and only
// that answer. Progress reports may come before it; any other answer comes
// after it, so a 0x95 frame after that one is no answer of a programmer.
TEST_F(LinkReplyTest, OnlyTheLateAnswerToTheStoppedPacketIsDropped) {
  Bytes report = {0xFD, 0x20, 0, 0, 0, 0, 0, 0};
  report[7] = static_cast<std::uint8_t>(0x100 - (0xFD + 0x20));
  const Bytes late = ShortReply(0, 0x95);
  const Bytes device = Answer("Velmot200IND V1.06");
  const std::string found = "Find Device: Velmot200IND V1.06!";
  const std::string none = "No Dvice Found!";
  struct Case {
    const char* name;
    bool stopped;
    std::vector<Bytes> answers;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"the late answer, then the search's", true, {late, device}, {found}},
      {"a progress report first", true, {report, late, device}, {"Chip Blank Checking....", found}},
      {"another command's answer", true, {ShortReply(0, 0x93), device}, {none, found}},
      {"after the answer to the search", true, {ShortReply(0, 0xA3), late}, {none, none}},
      {"on a programmer that was not stopped", false, {late, device}, {none, found}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StartProgramMain(kCh);
    if (!c.stopped) FinishChannelProgress(false, kCh);
    StopRunningOperations();
    ProgrammerState.DeviceLinked[kCh] = 0;
    memo.Lines.clear();
    for (const Bytes& answer : c.answers) Answers(answer);
    std::vector<std::string> lines;
    for (const std::string& line : c.lines) lines.push_back(Line(kCh, line));
    EXPECT_EQ(memo.Lines, lines);
  }
}

// A programmer running stand-alone reports its progress while unlinked; the
// answer to the start packet and frames that do not decode are dropped.
TEST_F(LinkReplyTest, ProgressReportsAreShownOtherFramesDropped) {
  Bytes report = {0xFD, 0x20, 0, 0, 0, 0, 0, 0};
  report[7] = static_cast<std::uint8_t>(0x100 - (0xFD + 0x20));
  Answers(report);
  EXPECT_EQ(memo.Lines, std::vector<std::string>{Line(kCh, "Chip Blank Checking....")});
  memo.Lines.clear();
  Answers(ShortReply(0, 0xFA));
  Feed(kCh, {0xC0, 0xA3, 0xDB, 0x01, 0xA5, 0x35, 0, 0, 1, 0, 0, 0xC0});
  Feed(kCh, {0xC0, 0xA3, 0xA5, 0xC0});
  EXPECT_TRUE(memo.Lines.empty());
  EXPECT_TRUE(views.Calls.empty());
  EXPECT_EQ(ProgrammerState.DeviceLinked[kCh], 0);
}

}  // namespace
