#include "text/text_id.h"
#include "ui/firmware_upgrade_choice.h"

#include <gtest/gtest.h>

#include <set>

#include "data/program_state.h"

namespace {

constexpr const char* kPath = "/opt/velmot/VelmotIND.FWR";
const std::string kNotFound = "File \"/opt/velmot/VelmotIND.FWR\" not found, Please confirm!";

TEST(FirmwareUpgradeChoice, UpgradesTheLinkedIdleProgrammersInUseOrSaysWhyNot) {
  struct Case {
    const char* what;
    bool found;
    int loaded;
    int inUse;
    std::set<int> linked;
    std::set<int> busy;
    std::vector<int> upgraded;
    std::string message;
  };
  const Case cases[] = {
      {"no file", false, 1, 2, {0, 1}, {}, {}, kNotFound},
      {"a file that fails its checks", true, 0, 2, {0, 1}, {}, {}, Text(TTextId::BadFirmwareFileText)},
      {"no port listed", true, 1, 0, {}, {}, {}, Text(TTextId::NoDeviceConnectedText)},
      {"nobody answered", true, 1, 3, {}, {}, {}, Text(TTextId::NoDeviceConnectedText)},
      {"every programmer", true, 1, 3, {0, 1, 2}, {}, {0, 1, 2}, ""},
      // Not the indexes 0 .. found - 1: the ones that answered.
      {"the second and third answered", true, 1, 3, {1, 2}, {}, {1, 2}, ""},
      {"a busy one is left alone", true, 1, 3, {0, 1, 2}, {1}, {0, 2}, ""},
      {"only busy ones", true, 1, 2, {0, 1}, {0, 1}, {}, Text(TTextId::NoDeviceConnectedText)},
      {"linked beyond those in use", true, 1, 2, {1, 5}, {}, {1}, ""},
      {"ten in use", true, 1, 10, {0, 3, 9}, {}, {0, 3, 9}, ""},
      {"a count above ten stops at ten", true, 1, 200, {9}, {}, {9}, ""},
  };
  for (const Case& c : cases) {
    ResetProgramState();
    SessionState.FirmwareLoaded = static_cast<std::uint8_t>(c.loaded);
    SessionState.ProgrammerCount = static_cast<std::uint8_t>(c.inUse);
    SessionState.FoundDeviceCount = static_cast<std::uint8_t>(c.linked.size());
    for (int ch : c.linked) ProgrammerState.DeviceLinked[ch] = 1;
    for (int ch : c.busy) ProgrammerState.ChannelBusy[ch] = 1;
    const TFirmwareUpgradeChoice choice = ChooseFirmwareUpgrade(c.found, kPath);
    EXPECT_EQ(choice.Programmers, c.upgraded) << c.what;
    EXPECT_EQ(choice.Message, c.message) << c.what;
  }
}

}  // namespace
