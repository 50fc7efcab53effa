#include "chips/window_adapters.h"

#include <gtest/gtest.h>

#include <string>

#include "chips/chip_choice.h"
#include "chips/vendor_index.h"

namespace {

using enum TAdaptedControl;

class WindowAdapters : public ::testing::Test {
 protected:
  void SetUp() override { ResetProgramState(); }

  // The window's controls after choosing a part.
  static TControlStates Choose(std::uint8_t vendor, std::size_t row) {
    EXPECT_TRUE(AcceptChipChoice(vendor, row));
    return AdaptedControlStates(SelectedChip);
  }
  static const TControlState& Of(const TControlStates& states, TAdaptedControl control) {
    return states[static_cast<std::size_t>(control)];
  }
  static TControlStates LayoutStates() {
    TControlStates states{};
    for (const TAdaptedControlInfo& info : kAdaptedControls)
      states[static_cast<std::size_t>(info.Control)] = info.Default;
    return states;
  }
};

// The voltage item follows the family's VoltageFlags preset: "5.0V" where
// bit 0 is set, "3.3V" elsewhere and always for LE5010/LE5110.
TEST_F(WindowAdapters, VoltageItemFollowsTheFamilyPreset) {
  const int expected[kVendorCount] = {1, 0, 0, 1, 1, 1, 0, 0, 1, 0, 1};
  for (std::uint8_t vendor = 0; vendor < kVendorCount; ++vendor) {
    const TControlStates states = Choose(vendor, 0);
    SCOPED_TRACE(WindowAdapterFor(vendor).Name);
    EXPECT_EQ(Of(states, RadioGpVolt), (TControlState{true, true, expected[vendor]}));
    EXPECT_FALSE(Of(states, LabelDEVA).Visible);
    EXPECT_FALSE(Of(states, EditDevAdr).Visible);
  }
}

TEST_F(WindowAdapters, OptionCommandsOfTheFamiliesWithOptions) {
  const struct {
    std::uint8_t Vendor;
    bool Shown;
    int Ticked;
    bool ShowData;
  } cases[] = {
      {kVendorAC78xx, true, 0, true}, {kVendorAUCUx, true, 1, true},   {kVendorLCMPx, true, 1, true},
      {kVendorSonic, false, 0, true}, {kVendorIndie, false, 0, false}, {kVendorSpctrol, false, 0, false},
  };
  for (const auto& c : cases) {
    const TControlStates states = Choose(c.Vendor, 0);
    SCOPED_TRACE(WindowAdapterFor(c.Vendor).Name);
    for (TAdaptedControl control : {BtnOptionCfg, CheckBoxOpt, SpdBtnWrtOPB, ReadOptionByte1, WriteOptionByte1})
      EXPECT_EQ(Of(states, control).Visible, c.Shown) << kAdaptedControls[static_cast<std::size_t>(control)].Name;
    EXPECT_EQ(Of(states, CheckBoxOpt).Value, c.Ticked);
    EXPECT_EQ(Of(states, ShowChipOptionData1).Visible, c.ShowData);
  }
}

TEST_F(WindowAdapters, MR88FInterfaceChoiceBySubType) {
  const TControlStates swd = Choose(kVendorMR88F, 0);  // "MR88F005BI"
  EXPECT_EQ(Of(swd, RadioGroupPIF), (TControlState{true, true, 0}));
  const TControlStates swe = Choose(kVendorMR88F, 39);  // "MR88F002Bx"
  EXPECT_EQ(Of(swe, RadioGroupPIF), (TControlState{true, false, 1}));
  // The next family leaves neither SWE nor a disabled group behind.
  const TControlStates indie = Choose(kVendorIndie, 0);
  EXPECT_EQ(Of(indie, RadioGroupPIF), (TControlState{false, true, 0}));
}

// Nothing an adapter hid or disabled outlives its family.
TEST_F(WindowAdapters, NextFamilyRestoresWhatTheLastOneHid) {
  const TControlStates le = Choose(kVendorLE5x10, 0);
  EXPECT_FALSE(Of(le, Execute2).Enabled);
  for (TAdaptedControl control : {SpdBtnErase, SpdBtnProg, AutoSpdBtn, SpdBtnWrtOPB, SpdBtnDownLoad})
    EXPECT_FALSE(Of(le, control).Visible);

  // Indie: the layout states, but for its own voltage item and option data item.
  TControlStates expected = LayoutStates();
  expected[static_cast<std::size_t>(RadioGpVolt)].Value = 0;
  expected[static_cast<std::size_t>(ShowChipOptionData1)].Visible = false;
  EXPECT_EQ(Choose(kVendorIndie, 0), expected);

  const TControlStates lapis = Choose(kVendorLapis, 0);
  EXPECT_FALSE(Of(lapis, ReadMG32xxChipID1).Visible);
  const TControlStates ac78 = Choose(kVendorAC78xx, 0);
  EXPECT_TRUE(Of(ac78, ReadMG32xxChipID1).Visible);
  EXPECT_TRUE(Of(ac78, SpdBtnWrtOPB).Visible);
}

TEST_F(WindowAdapters, AdaptersAreNamedAndIndexAboveTheLastIsSA32B) {
  EXPECT_STREQ(WindowAdapterFor(kVendorAC78xx).Name, "ApplyAC78xUiSettings");
  EXPECT_STREQ(WindowAdapterFor(kVendorLE5x10).Name, "ApplyLE5x10UiSettings");
  for (std::uint8_t vendor : {10, 11, 200}) EXPECT_STREQ(WindowAdapterFor(vendor).Name, "ApplySA32BUiSettings");
}

}  // namespace
