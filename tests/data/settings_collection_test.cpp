#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <ostream>

#include "data/image_sums.h"
#include "data/integer_text.h"
#include "data/settings_collection.h"
#include "window_controls.h"
#include "window_state_fixture.h"

namespace {

// Everything the collection writes, for one comparison per case.
struct TCollected {
  TControlBytes Bytes;
  int AutoDetect, ChipInTime, ChipOutTime, PowerUpTime, PowerDownTime, RunTime;
  int OptionProgram, EepProgram;
  int SnFlags, SnOnline, SnSize, SnGain;
  std::uint32_t SnValue, SnAddress;
  int DeviceAddress;
  std::uint32_t CountLimit;

  bool operator==(const TCollected& o) const {
    return std::memcmp(&Bytes, &o.Bytes, sizeof Bytes) == 0 && AutoDetect == o.AutoDetect &&
           ChipInTime == o.ChipInTime && ChipOutTime == o.ChipOutTime && PowerUpTime == o.PowerUpTime &&
           PowerDownTime == o.PowerDownTime && RunTime == o.RunTime && OptionProgram == o.OptionProgram &&
           EepProgram == o.EepProgram && SnFlags == o.SnFlags && SnOnline == o.SnOnline && SnSize == o.SnSize && SnGain == o.SnGain &&
           SnValue == o.SnValue && SnAddress == o.SnAddress && DeviceAddress == o.DeviceAddress &&
           CountLimit == o.CountLimit;
  }
  friend void PrintTo(const TCollected& c, std::ostream* os) {
    const TControlBytes& b = c.Bytes;
    *os << std::hex << "bytes " << +b.PifSpeedFlags << ' ' << +b.VoltageFlags << ' ' << +b.ResetPowerFlags << ' '
        << +b.ProgramStepFlags << ' ' << +b.EraseFlags << ' ' << +b.ControlByte5 << ' ' << +b.ControlByte6 << ' '
        << +b.ControlByte7 << std::dec << "; auto " << c.AutoDetect << ", times " << c.ChipInTime << ' '
        << c.ChipOutTime << ' ' << c.PowerUpTime << ' ' << c.PowerDownTime << ' ' << c.RunTime << ", option "
        << c.OptionProgram << ", eep " << c.EepProgram << std::hex << "; sn flags " << c.SnFlags << " online " << c.SnOnline << " size "
        << c.SnSize << " gain " << c.SnGain << " value " << c.SnValue << " address " << c.SnAddress << " device "
        << c.DeviceAddress << std::dec << " limit " << c.CountLimit;
  }
};

TCollected Collected() {
  const TProgramSettings& s = ProgramSettings;
  return {SelectedChip.ControlBytes, s.AutoDetect, s.ChipInTime, s.ChipOutTime, s.PowerUpTime, s.PowerDownTime,
          s.RunTime, s.OptionProgram, s.EepProgram, s.SnFlags, s.SnOnline, s.SnSize, s.SnGain, s.SnValue, s.SnAddress,
          s.DeviceAddress, s.CountLimit};
}

// What the window's defaults give on a chip without preset bits.
TCollected DefaultResult() {
  TCollected c{};
  c.Bytes.VoltageFlags = 0x01;
  c.Bytes.ProgramStepFlags = 0x17;
  c.ChipInTime = 17;
  c.ChipOutTime = 17;
  c.PowerUpTime = 10;
  c.PowerDownTime = 10;
  c.RunTime = 50;
  c.SnFlags = 0x04;
  c.SnSize = 4;
  c.SnGain = 1;
  c.SnAddress = 0xFFF0;
  return c;
}

class SettingsCollectionTest : public WindowStateTest {};

TEST_F(SettingsCollectionTest, EachControlSetsItsOwnBitsAndThePresetsOfNoControlTravelOn) {
  struct Case {
    const char* what;
    std::function<void(TSettingsControls&)> controls;
    TControlBytes preset;
    std::function<void(TCollected&)> expect;
    bool blankIsZero = false;
  };
  const auto none = [](auto&) {};
  const Case cases[] = {
      {"the window's defaults", none, {}, none},
      {"SWE interface", [](auto& c) { c.RadioGroupPIF = 1; }, {}, [](auto& r) { r.Bytes.PifSpeedFlags = 0x01; }},
      {"slow clock", [](auto& c) { c.RadioGrpSpdF = 1; }, {}, [](auto& r) { r.Bytes.PifSpeedFlags = 0x10; }},
      {"shut down after the run time", [](auto& c) { c.ChkBoxRunSHT = true; }, {},
       [](auto& r) { r.Bytes.PifSpeedFlags = 0x20; }},
      {"3.3V", [](auto& c) { c.RadioGpVolt = 0; }, {}, [](auto& r) { r.Bytes.VoltageFlags = 0x00; }},
      {"a third voltage item", [](auto& c) { c.RadioGpVolt = 2; }, {}, [](auto& r) { r.Bytes.VoltageFlags = 0x02; }},
      {"no voltage item", [](auto& c) { c.RadioGpVolt = -1; }, {}, [](auto& r) { r.Bytes.VoltageFlags = 0x02; }},
      {"anti piggyback", [](auto& c) { c.ChkBoxBlkEr = true; }, {}, [](auto& r) { r.Bytes.VoltageFlags = 0x09; }},
      {"a chip whose blank is zero", none, {}, [](auto& r) { r.Bytes.VoltageFlags = 0x11; }, true},
      {"reset and shut", [](auto& c) { c.RadioGrpRST = 2; }, {}, [](auto& r) { r.Bytes.ResetPowerFlags = 0x02; }},
      {"run chip after programmed", [](auto& c) { c.CheckBoxRun = true; }, {},
       [](auto& r) { r.Bytes.ResetPowerFlags = 0x04; }},
      {"VOUT stays on", [](auto& c) { c.ChkBoxVDD = false; }, {}, [](auto& r) { r.Bytes.ResetPowerFlags = 0x80; }},
      {"program option bytes", [](auto& c) { c.CheckBoxOpt = true; }, {},
       [](auto& r) {
         r.Bytes.ProgramStepFlags = 0x57;
         r.OptionProgram = 1;
       }},
      {"program data flash", [](auto& c) { c.ChkBoxPrgEEP = true; }, {},
       [](auto& r) {
         r.Bytes.ProgramStepFlags = 0x3F;
         r.EepProgram = 1;
       }},
      {"program both",
       [](auto& c) {
         c.ChkBoxPrgEEP = true;
         c.CheckBoxOpt = true;
       },
       {},
       [](auto& r) {
         r.Bytes.ProgramStepFlags = 0x7F;
         r.EepProgram = 1;
         r.OptionProgram = 1;
       }},
      {"page erase", [](auto& c) { c.ChkBoxCpErsM = false; }, {}, [](auto& r) { r.Bytes.EraseFlags = 0x01; }},
      {"erase data flash", [](auto& c) { c.ChkBoxErsEEP = true; }, {}, [](auto& r) { r.Bytes.EraseFlags = 0x02; }},
      {"auto-start", [](auto& c) { c.ChkBoxAuto = true; }, {}, [](auto& r) { r.AutoDetect = 15; }},
      {"times at their maximum, divided and truncated",
       [](auto& c) {
         c.SpinEditIn = 1500;
         c.SpinEditOut = 2000;
         c.SpinEditVddTim = 2000;
         c.SpinEditPWDTim = 19;
         c.SpinEditRTM = 2009;
       },
       {},
       [](auto& r) {
         r.ChipInTime = 50;
         r.ChipOutTime = 66;
         r.PowerUpTime = 200;
         r.PowerDownTime = 1;
         r.RunTime = 200;
       }},
      {"number limit", [](auto& c) { c.CheckBoxCtrl = true; }, {}, [](auto& r) { r.SnFlags = 0x44; }},
      {"S/N enabled", [](auto& c) { c.CheckBoxSN = true; }, {}, [](auto& r) { r.SnFlags = 0x05; }},
      {"online S/N",
       [](auto& c) {
         c.CheckBoxSN = true;
         c.ChkBoxPCSN = true;
       },
       {},
       [](auto& r) {
         r.SnFlags = 0x05;
         r.SnOnline = 1;
       }},
      {"online S/N without S/N", [](auto& c) { c.ChkBoxPCSN = true; }, {}, none},
      {"little-endian S/N", [](auto& c) { c.SNOrderChk = false; }, {}, [](auto& r) { r.SnFlags = 0x00; }},
      {"count limit", [](auto& c) { c.SpinEditNum = 999'999'999; }, {}, [](auto& r) { r.CountLimit = 999'999'999; }},
      {"numbers in every notation, too wide ones cut to their field",
       [](auto& c) {
         c.GainEdit = "70000";
         c.SNEdit1 = "4294967295";
         c.AddrEdit = "$800FFF0";
         c.EditDevAdr = "999";
       },
       {},
       [](auto& r) {
         r.SnGain = 70000 & 0xFFFF;
         r.SnValue = 0xFFFFFFFF;
         r.SnAddress = 0x0800FFF0;
         r.DeviceAddress = 999 & 0xFF;
       }},
      {"a family preset program step 0x15", none, {0, 0, 0, 0x15, 0, 0, 0, 0}, none},
      {"preset bits that no control owns",
       none,
       {0x8A, 0xC1, 0x78, 0x00, 0xFC, 0x12, 0x34, 0x56},
       [](auto& r) { r.Bytes = {0x8A, 0xC1, 0x78, 0x17, 0xFC, 0x12, 0x34, 0x56}; }},
      {"preset bits that a control owns are the control's",
       [](auto& c) { c.RadioGpVolt = 0; },
       {0x31, 0x1B, 0x87, 0xFF, 0x03, 0, 0, 0},
       [](auto& r) { r.Bytes = {0x00, 0x00, 0x00, 0x17, 0x00, 0, 0, 0}; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ResetProgramState();
    SelectedChip.ControlBytes = c.preset;
    SelectedChip.BlankIsZero = c.blankIsZero;
    TSettingsControls controls = WindowDefaultControls();
    c.controls(controls);
    CollectProgramSettings(controls);
    TCollected expected = DefaultResult();
    expected.Bytes.ControlByte5 = c.preset.ControlByte5;
    expected.Bytes.ControlByte6 = c.preset.ControlByte6;
    expected.Bytes.ControlByte7 = c.preset.ControlByte7;
    c.expect(expected);
    EXPECT_EQ(Collected(), expected);
  }
}

TEST_F(SettingsCollectionTest, LogsTheControlBytesWithoutTimeAndAtLeastFourLengthDigits) {
  SelectedChip.ChipFamilyCode = 0x18;
  SelectedChip.ChipSubType = 0x01;
  SelectedChip.OptionFormat = 0x0A;
  SelectedChip.ChipSubParam1 = 0x02;
  SelectedChip.ChipSubParam2 = 0xB3;
  SelectedChip.ControlBytes = {0x80, 0x81, 0x00, 0x15, 0x00, 0xC5, 0x00, 0x00};
  for (const auto& [length, text] : {std::pair{0x300u, "0300"}, {0x1300u, "1300"}, {0x20000u, "20000"}}) {
    memo.Lines.clear();
    ObjectState.MainDataLength = length;
    CollectProgramSettings(WindowDefaultControls());
    EXPECT_EQ(memo.Lines, std::vector<std::string>{std::string("> Chip Control Settting : 18,01,0A, 02,B3,") + text +
                                                   ", 80,81,00, 17,00,C5, 00,00."});
  }
}

TEST_F(SettingsCollectionTest, OptionSumsCoverTheFirst128OptionBytesOr256ForFamilyC0) {
  for (std::size_t i = 0; i < kOptionImageSize; ++i) MemoryImages.OptionImage[i] = static_cast<std::uint8_t>(i * 5 + 3);
  for (const auto& [familyCode, count] : {std::pair{0x00, 128}, {0x18, 128}, {0xC0, 256}}) {
    SCOPED_TRACE(familyCode);
    SelectedChip.ChipFamilyCode = static_cast<std::uint8_t>(familyCode);
    CollectProgramSettings(WindowDefaultControls());
    const std::span<const std::uint8_t> bytes =
        std::span(MemoryImages.OptionImage).first(static_cast<std::size_t>(count));
    EXPECT_EQ(ObjectState.OptionSum, static_cast<std::uint16_t>(ReferenceSum(bytes)));
    EXPECT_EQ(ObjectState.OptionSum16, ReferenceChecksum16(bytes));
  }
}

// The fields are read in the order Gain, S/N, address, device address; the
// one that is no number stops the collection there.
TEST_F(SettingsCollectionTest, ANumberFieldThatIsNoIntegerStopsAfterTheFieldsBeforeIt) {
  for (int failing = 0; failing < 4; ++failing) {
    SCOPED_TRACE(failing);
    ResetProgramState();
    SessionTexts.InfoMemoRef = &memo;
    memo.Lines.clear();
    SelectedChip.ControlBytes.ProgramStepFlags = 0x15;
    ProgramSettings.SnGain = 0xAAAA;
    ProgramSettings.SnValue = 0xBBBBBBBB;
    ProgramSettings.SnAddress = 0xCCCCCCCC;
    ProgramSettings.DeviceAddress = 0xDD;
    ObjectState.OptionSum = 0x1234;
    ObjectState.OptionSum16 = 0x5678;
    TSettingsControls controls = WindowDefaultControls();
    controls.ChkBoxAuto = true;
    controls.SpinEditIn = 600;
    controls.GainEdit = "0x10";
    controls.SNEdit1 = "1234";
    controls.AddrEdit = "0x8000";
    controls.EditDevAdr = "0x3C";
    std::string* fields[] = {&controls.GainEdit, &controls.SNEdit1, &controls.AddrEdit, &controls.EditDevAdr};
    *fields[failing] = "12a";

    try {
      CollectProgramSettings(controls);
      ADD_FAILURE() << "no conversion error";
    } catch (const EConvertError& error) {
      EXPECT_STREQ(error.what(), "'12a' is not a valid integer value");
    }
    // The flags, times and S/N flags were collected before the fields.
    EXPECT_EQ(SelectedChip.ControlBytes.ProgramStepFlags, 0x17);
    EXPECT_EQ(ProgramSettings.AutoDetect, 15);
    EXPECT_EQ(ProgramSettings.ChipInTime, 20);
    EXPECT_EQ(ProgramSettings.SnFlags, 0x04);
    EXPECT_EQ(ProgramSettings.SnGain, failing > 0 ? 0x10 : 0xAAAA);
    EXPECT_EQ(ProgramSettings.SnValue, failing > 1 ? 1234u : 0xBBBBBBBBu);
    EXPECT_EQ(ProgramSettings.SnAddress, failing > 2 ? 0x8000u : 0xCCCCCCCCu);
    EXPECT_EQ(ProgramSettings.DeviceAddress, 0xDD);
    EXPECT_EQ(ObjectState.OptionSum, 0x1234);
    EXPECT_EQ(ObjectState.OptionSum16, 0x5678);
    EXPECT_TRUE(memo.Lines.empty());
  }
}

}  // namespace
