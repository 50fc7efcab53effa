// The option dialogs' logic: what each shows for an option image, and what
// its OK writes into the image and OptionsModified.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "chips/ac78x_option_values.h"
#include "chips/aucux_config_values.h"
#include "chips/lcmpx_option_values.h"
#include "chips/option_presets.h"
#include "chips/spd117x_config_values.h"
#include "data/integer_text.h"
#include "data/program_state.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint8_t* Image() { return MemoryImages.OptionImage; }
Bytes ImageBytes(std::size_t from, std::size_t to) { return {Image() + from, Image() + to}; }
Bytes WholeImage() { return ImageBytes(0, kOptionImageSize); }

// Bytes 0..size-1 all fill except those given at their offsets.
Bytes Expected(std::size_t size, std::uint8_t fill, const std::map<std::size_t, Bytes>& at) {
  Bytes bytes(size, fill);
  for (const auto& [offset, value] : at) std::copy(value.begin(), value.end(), bytes.begin() + offset);
  return bytes;
}

// Every byte differs from its neighbour, so a byte written where it should
// not be shows.
void FillPattern() {
  for (std::size_t i = 0; i < kOptionImageSize; ++i) Image()[i] = static_cast<std::uint8_t>(i * 37 + 11);
}

class OptionDialogValues : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }
  void TearDown() override { ResetProgramState(); }
};

// ---- AC78xx ----

TAC78xOptionValues AC78xInitial() { return {0, 0, {"0xFFFF", "0xFFFF", "0xFFFF", "0xFFFF"}, {"0xFFFF", "0xFFFF"}}; }

TEST_F(OptionDialogValues, AC78xxShowsTheImageItWillProgram) {
  ResetAC78xOptionImage();
  TAC78xOptionValues shown = AC78xOptionValuesOfImage();
  EXPECT_EQ(shown.ReadProtection, 0);
  EXPECT_EQ(shown.Watchdog, 0);
  for (const std::string& word : shown.WriteProtection) EXPECT_EQ(word, "0xFFFF");
  for (const std::string& word : shown.UserData) EXPECT_EQ(word, "0xFFFF");

  const std::uint8_t loaded[48] = {0x00, 0xFF, 0xFF, 0xFF, 0x33, 0xFF, 0xCC, 0xFF, 0xFF, 0x00, 0x00, 0xFF,
                                   0x00, 0x00, 0xFF, 0xFF, 0xAB, 0x0C, 0x54, 0xF3, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                                   0xFF, 0xFF, 0xFF, 0xFF, 0x45, 0x23, 0xBA, 0xDC, 0xFF, 0xFF, 0xFF, 0xFF};
  std::memcpy(Image(), loaded, sizeof loaded);
  shown = AC78xOptionValuesOfImage();
  EXPECT_EQ(shown.ReadProtection, 1);
  EXPECT_EQ(shown.Watchdog, 1);
  EXPECT_EQ(shown.WriteProtection[0], "0x00FF");
  EXPECT_EQ(shown.WriteProtection[1], "0x0000");
  EXPECT_EQ(shown.WriteProtection[2], "0x0CAB");
  EXPECT_EQ(shown.WriteProtection[3], "0xFFFF");
  EXPECT_EQ(shown.UserData[0], "0x2345");
  EXPECT_EQ(shown.UserData[1], "0xFFFF");
  // OK on what is shown writes the same bytes back.
  StoreAC78xOptionValues(shown);
  EXPECT_EQ(ImageBytes(0, 48), Bytes(loaded, loaded + 48));
}

TEST_F(OptionDialogValues, AC78xxOkRebuildsTheFirst128Bytes) {
  struct Case {
    const char* Name;
    void (*Change)(TAC78xOptionValues&);
    std::map<std::size_t, Bytes> Written;  // besides AC FF 53 FF, unless given; the rest of 0..127 is 0xFF
    bool Modified;
  };
  const Case cases[] = {
      {"initial", [](TAC78xOptionValues&) {}, {}, false},
      {"ERP0 0x00FF", [](TAC78xOptionValues& v) { v.WriteProtection[0] = "0x00FF"; }, {{8, {0xFF, 0x00, 0x00, 0xFF}}}, true},
      {"ERP0 0", [](TAC78xOptionValues& v) { v.WriteProtection[0] = "0"; }, {{8, {0x00, 0x00, 0xFF, 0xFF}}}, true},
      {"ERP1 0x1FFFF counts as erased", [](TAC78xOptionValues& v) { v.WriteProtection[1] = "0x1FFFF"; }, {}, false},
      {"ERP3 0x12345", [](TAC78xOptionValues& v) { v.WriteProtection[3] = "0x12345"; }, {{20, {0x45, 0x23, 0xBA, 0xDC}}}, true},
      {"USER1 $ABCD", [](TAC78xOptionValues& v) { v.UserData[1] = "$ABCD"; }, {{44, {0xCD, 0xAB, 0x32, 0x54}}}, true},
      {"USER0 -1 is 0xFFFF", [](TAC78xOptionValues& v) { v.UserData[0] = " -1"; }, {}, false},
      {"USER0 decimal 4660", [](TAC78xOptionValues& v) { v.UserData[0] = "4660"; }, {{40, {0x34, 0x12, 0xCB, 0xED}}}, true},
      {"level 1 read protection", [](TAC78xOptionValues& v) { v.ReadProtection = 1; }, {{0, {0x00, 0xFF, 0xFF, 0xFF}}}, true},
      {"watchdog on", [](TAC78xOptionValues& v) { v.Watchdog = 1; }, {{4, {0x33, 0xFF, 0xCC, 0xFF}}}, true},
  };
  for (const Case& c : cases) {
    for (const std::uint8_t before : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.Name << ", flag before " << int{before});
      FillPattern();
      const Bytes above = ImageBytes(128, kOptionImageSize);
      ProgramSettings.OptionsModified = before;
      TAC78xOptionValues values = AC78xInitial();
      c.Change(values);
      StoreAC78xOptionValues(values);
      std::map<std::size_t, Bytes> written{{0, {0xAC, 0xFF, 0x53, 0xFF}}};
      for (const auto& [offset, bytes] : c.Written) written[offset] = bytes;
      EXPECT_EQ(ImageBytes(0, 128), Expected(128, 0xFF, written));
      EXPECT_EQ(ImageBytes(128, kOptionImageSize), above);
      // OK sets the flag but never clears it.
      EXPECT_EQ(ProgramSettings.OptionsModified, c.Modified ? 1 : before);
    }
  }
}

TEST_F(OptionDialogValues, AC78xxFieldThatIsNoNumberChangesNothing) {
  for (std::size_t field = 0; field < 6; ++field) {
    SCOPED_TRACE(field);
    FillPattern();
    const Bytes before = WholeImage();
    ProgramSettings.OptionsModified = 0;
    TAC78xOptionValues values = AC78xInitial();
    values.ReadProtection = 1;  // would set the flag and write byte 0
    values.WriteProtection[0] = "0x1234";
    std::string& bad = field < 4 ? values.WriteProtection[field] : values.UserData[field - 4];
    bad = "0x12G4";
    try {
      StoreAC78xOptionValues(values);
      ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& error) {
      EXPECT_NE(std::string(error.what()).find("0x12G4"), std::string::npos) << error.what();
    }
    EXPECT_EQ(WholeImage(), before);
    EXPECT_EQ(ProgramSettings.OptionsModified, 0);
  }
}

// ---- AU30x ----

TEST_F(OptionDialogValues, AU30xBoxesFollowTheirBits) {
  struct Case {
    std::map<std::size_t, std::uint8_t> Bytes;  // in an image of 0xFF
    TAUCUxConfigValues Shown;
  };
  const Case cases[] = {
      {{}, {}},
      {{{0x00, 0xFE}}, {true, {}, false, false, false}},
      {{{0x10, 0x05}}, {false, {false, true, false}, false, false, false}},
      {{{0x10, 0xF8}, {0x18, 0x00}}, {false, {true, true, true}, false, true, false}},
      {{{0x14, 0x7E}, {0x20, 0xFE}}, {false, {}, true, false, true}},
      {{{0x00, 0x01}, {0x18, 0xFF}}, {false, {}, false, false, false}},  // bit 0 set: not switched
  };
  for (const Case& c : cases) {
    ResetAUCUxConfigImage();
    for (const auto& [offset, value] : c.Bytes) Image()[offset] = value;
    const TAUCUxConfigValues shown = AUCUxConfigValuesOfImage();
    EXPECT_EQ(shown.Lifecycle, c.Shown.Lifecycle);
    EXPECT_EQ(shown.DisableUart, c.Shown.DisableUart);
    EXPECT_EQ(shown.DisableJtag, c.Shown.DisableJtag);
    EXPECT_EQ(shown.DisableUartBoot, c.Shown.DisableUartBoot);
    EXPECT_EQ(shown.LockInfoRegion1, c.Shown.LockInfoRegion1);
  }
}

TEST_F(OptionDialogValues, AU30xOkWritesItsFiveBytesAndAlwaysSetsTheFlag) {
  struct Case {
    TAUCUxConfigValues Values;
    Bytes Written;  // at 0x00, 0x10, 0x14, 0x18, 0x20
  };
  const Case cases[] = {
      {{}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
      {{false, {true, true, true}, false, false, false}, {0xFF, 0xF8, 0xFF, 0xFF, 0xFF}},
      {{false, {false, true, false}, false, false, false}, {0xFF, 0xFD, 0xFF, 0xFF, 0xFF}},
      {{false, {true, false, true}, false, false, false}, {0xFF, 0xFA, 0xFF, 0xFF, 0xFF}},
      {{true, {}, false, true, false}, {0xFE, 0xFF, 0xFF, 0xFE, 0xFF}},
      {{false, {}, true, false, true}, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},  // the two fixed settings stay erased
  };
  const std::size_t offsets[] = {0x00, 0x10, 0x14, 0x18, 0x20};
  for (const Case& c : cases) {
    FillPattern();
    Bytes expected = WholeImage();
    for (std::size_t i = 0; i < 5; ++i) expected[offsets[i]] = c.Written[i];
    ProgramSettings.OptionsModified = 0;
    StoreAUCUxConfigValues(c.Values);
    EXPECT_EQ(WholeImage(), expected);
    EXPECT_EQ(ProgramSettings.OptionsModified, 1);
  }
}

// ---- LCP037/LCM32F037 ----

// The first 40 bytes: value pairs with their complements.
Bytes Pairs(std::uint8_t user, Bytes data, Bytes wrp, Bytes rdp) {
  Bytes values{user};
  values.insert(values.end(), data.begin(), data.end());
  values.insert(values.end(), wrp.begin(), wrp.end());
  values.insert(values.end(), rdp.begin(), rdp.end());
  Bytes pairs;
  for (std::uint8_t v : values) {
    pairs.push_back(v);
    pairs.push_back(static_cast<std::uint8_t>(~v));
  }
  return pairs;
}

TEST_F(OptionDialogValues, LCMPxShowsTheImage) {
  ResetLCMPxOptionImage();
  TLCMPxOptionValues shown = LCMPxOptionValuesOfImage();
  // USER 0xFB: BOOT_SEL 0, the others 1; the preset's RDP bytes are 0x00.
  EXPECT_TRUE(shown.NBoot0);
  EXPECT_TRUE(shown.NBoot1);
  EXPECT_FALSE(shown.BootSel);
  EXPECT_TRUE(shown.WatchdogSoftware);
  EXPECT_EQ(shown.Data, (std::array<int, 3>{255, 255, 255}));
  for (const auto& wrp : shown.WriteProtect) EXPECT_EQ(wrp, (std::array<bool, 8>{}));
  for (bool rdp : shown.ReadProtect) EXPECT_TRUE(rdp);

  const Bytes loaded = Pairs(0xF3, {0x12, 0x00, 0xFF}, {0xFF, 0xFE, 0xFF, 0x7F}, Bytes(12, 0xAA));
  std::copy(loaded.begin(), loaded.end(), Image());
  Image()[16 + 2 * 11] = 0x5A;  // neither value: protected
  shown = LCMPxOptionValuesOfImage();
  EXPECT_TRUE(shown.NBoot0);
  EXPECT_TRUE(shown.NBoot1);
  EXPECT_FALSE(shown.BootSel);
  EXPECT_FALSE(shown.WatchdogSoftware);
  EXPECT_EQ(shown.Data, (std::array<int, 3>{0x12, 0x00, 0xFF}));
  EXPECT_EQ(shown.WriteProtect[1], (std::array<bool, 8>{true, false, false, false, false, false, false, false}));
  EXPECT_EQ(shown.WriteProtect[3], (std::array<bool, 8>{false, false, false, false, false, false, false, true}));
  for (std::size_t j = 0; j < 11; ++j) EXPECT_FALSE(shown.ReadProtect[j]) << j;
  EXPECT_TRUE(shown.ReadProtect[11]);
}

TEST_F(OptionDialogValues, LCMPxOkWritesTheFortyBytesAndTheFlag) {
  const TLCMPxOptionValues erased{true, true, false, true, {255, 255, 255}, {}, {}};
  struct Case {
    const char* Name;
    std::uint8_t UserBefore;  // bits 4..7 are kept
    void (*Change)(TLCMPxOptionValues&);
    Bytes Written;
    bool Modified;
  };
  const Case cases[] = {
      {"erased", 0xFB, [](TLCMPxOptionValues&) {}, Pairs(0xFB, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0xAA)),
       false},
      {"every RDP protected", 0xFB, [](TLCMPxOptionValues& v) { v.ReadProtect.fill(true); },
       Pairs(0xFB, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0x00)), true},
      {"one RDP protected", 0xFB, [](TLCMPxOptionValues& v) { v.ReadProtect[10] = true; },
       Pairs(0xFB, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF),
             {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0x00, 0xAA}),
       true},
      {"hardware watchdog", 0xFB, [](TLCMPxOptionValues& v) { v.WatchdogSoftware = false; },
       Pairs(0xF3, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0xAA)), true},
      {"all USER bits 0", 0xFB,
       [](TLCMPxOptionValues& v) { v.NBoot0 = v.NBoot1 = v.BootSel = v.WatchdogSoftware = false; },
       Pairs(0xF0, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0xAA)), true},
      {"USER high bits kept", 0x0B, [](TLCMPxOptionValues&) {},
       Pairs(0x0B, {0xFF, 0xFF, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0xAA)), true},
      {"DATA values", 0xFB, [](TLCMPxOptionValues& v) { v.Data = {0x2C, 0, 255}; },
       Pairs(0xFB, {0x2C, 0x00, 0xFF}, Bytes(4, 0xFF), Bytes(12, 0xAA)), true},
      {"WRP3 bit 7", 0xFB, [](TLCMPxOptionValues& v) { v.WriteProtect[3][7] = true; },
       Pairs(0xFB, {0xFF, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF, 0x7F}, Bytes(12, 0xAA)), true},
      {"WRP0 bits 0 and 2", 0xFB, [](TLCMPxOptionValues& v) { v.WriteProtect[0][0] = v.WriteProtect[0][2] = true; },
       Pairs(0xFB, {0xFF, 0xFF, 0xFF}, {0xFA, 0xFF, 0xFF, 0xFF}, Bytes(12, 0xAA)), true},
  };
  for (const Case& c : cases) {
    for (const std::uint8_t before : {0, 1}) {
      SCOPED_TRACE(testing::Message() << c.Name << ", flag before " << int{before});
      ResetLCMPxOptionImage();
      Image()[0] = c.UserBefore;
      for (std::size_t i = 40; i < kOptionImageSize; ++i) Image()[i] = static_cast<std::uint8_t>(i * 37 + 11);
      const Bytes above = ImageBytes(40, kOptionImageSize);
      ProgramSettings.OptionsModified = before;
      TLCMPxOptionValues values = erased;
      c.Change(values);
      EXPECT_TRUE(StoreLCMPxOptionValues(values));
      EXPECT_EQ(ImageBytes(0, 40), c.Written);
      EXPECT_EQ(ImageBytes(40, kOptionImageSize), above);
      EXPECT_EQ(ProgramSettings.OptionsModified, c.Modified ? 1 : 0);
    }
  }
}

TEST_F(OptionDialogValues, LCMPxOkOnAnImageShownKeepsItsProtection) {
  ResetLCMPxOptionImage();  // RDP 0x00
  ProgramSettings.OptionsModified = 0;
  EXPECT_TRUE(StoreLCMPxOptionValues(LCMPxOptionValuesOfImage()));
  for (std::size_t j = 0; j < 12; ++j) EXPECT_EQ(Image()[16 + 2 * j], 0x00) << j;
  EXPECT_EQ(ProgramSettings.OptionsModified, 1);
}

TEST_F(OptionDialogValues, LCMPxDataOutsideAByteIsRefused) {
  for (const int data : {256, 300, -1}) {
    SCOPED_TRACE(data);
    FillPattern();
    const Bytes before = WholeImage();
    ProgramSettings.OptionsModified = 1;
    TLCMPxOptionValues values{true, true, false, true, {255, data, 255}, {}, {}};
    EXPECT_FALSE(StoreLCMPxOptionValues(values));
    EXPECT_EQ(WholeImage(), before);
    EXPECT_EQ(ProgramSettings.OptionsModified, 1);
  }
}

// ---- SPD117x ----

TEST_F(OptionDialogValues, SPD117xSettingIsOnWhenAnyOfItsBytesIsWritten) {
  struct Case {
    std::size_t Offset;
    std::uint8_t Value;
    bool Lock, Watchdog;
  };
  const Case cases[] = {{8, 0x00, false, false}, {0, 0x55, true, false}, {2, 0x00, true, false},
                        {7, 0x12, false, true},  {4, 0x33, false, true}};
  for (const Case& c : cases) {
    ResetSpctrolOptionImage();
    Image()[c.Offset] = c.Value;
    const TSPD117xConfigValues shown = SPD117xConfigValuesOfImage();
    EXPECT_EQ(shown.LockDebugInterface, c.Lock) << c.Offset;
    EXPECT_EQ(shown.WatchdogAtStartUp, c.Watchdog) << c.Offset;
  }
}

TEST_F(OptionDialogValues, SPD117xOkErasesTheWholeImageFirst) {
  struct Case {
    TSPD117xConfigValues Values;
    std::map<std::size_t, Bytes> Written;
  };
  const Case cases[] = {
      {{false, false}, {}},
      {{true, false}, {{0, {0x55, 0x55, 0x55, 0x55}}}},
      {{false, true}, {{4, {0x33, 0x33, 0x33, 0x33}}}},
      {{true, true}, {{0, {0x55, 0x55, 0x55, 0x55, 0x33, 0x33, 0x33, 0x33}}}},
  };
  for (const Case& c : cases) {
    for (const std::uint8_t before : {0, 1}) {
      FillPattern();
      ProgramSettings.OptionsModified = before;
      StoreSPD117xConfigValues(c.Values);
      EXPECT_EQ(WholeImage(), Expected(kOptionImageSize, 0xFF, c.Written));
      EXPECT_EQ(ProgramSettings.OptionsModified, before);
    }
  }
}

}  // namespace
