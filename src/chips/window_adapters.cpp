#include "chips/window_adapters.h"

#include "chips/vendor_index.h"

namespace {

using enum TAdaptedControl;

constexpr TControlState kShown{true, true, kNoValue};
constexpr TControlState kHidden{false, true, kNoValue};

// Option commands, option tick, option data item, chip information item
// hidden, voltage item, interface choice, locked commands.
// clang-format off
constexpr TWindowAdapter kAdapters[] = {
    {"ApplyAC78xUiSettings",   true,  false, true,  false, TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyIndieUiSettings",   false, false, false, false, TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyLapisUiSettings",   false, false, false, true,  TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyAUCUxUiSettings",   true,  true,  true,  false, TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyMR88FUiSettings",   false, false, false, false, TVoltageChoice::FromVoltageFlags, true,  false},
    {"ApplyLCMPxUiSettings",   true,  true,  true,  true,  TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyBAT32UiSettings",   false, false, false, true,  TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplySonicUiSettings",   false, false, true,  true,  TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplySpctrolUiSettings", false, false, false, true,  TVoltageChoice::FromVoltageFlags, false, false},
    {"ApplyLE5x10UiSettings",  false, false, false, false, TVoltageChoice::Always3V3,        false, true},
    {"ApplySA32BUiSettings",   false, false, false, false, TVoltageChoice::FromVoltageFlags, false, false},
};
// clang-format on
static_assert(std::size(kAdapters) == kVendorCount);

constexpr TAdaptedControl kOptionCommands[] = {BtnOptionCfg, CheckBoxOpt, SpdBtnWrtOPB, ReadOptionByte1,
                                               WriteOptionByte1};
constexpr TAdaptedControl kLockedButtons[] = {SpdBtnErase, SpdBtnProg, AutoSpdBtn, SpdBtnWrtOPB, SpdBtnDownLoad};

}  // namespace

const std::array<TAdaptedControlInfo, kAdaptedControlCount> kAdaptedControls = {{
    {RadioGpVolt, "RadioGpVolt", {true, true, 1}},
    {LabelDEVA, "LabelDEVA", kHidden},
    {EditDevAdr, "EditDevAdr", kHidden},
    {BtnOptionCfg, "BtnOptionCfg", kHidden},
    {CheckBoxOpt, "CheckBoxOpt", {false, true, 0}},
    {SpdBtnWrtOPB, "SpdBtnWrtOPB", kHidden},
    {ReadOptionByte1, "ReadOptionByte1", kHidden},
    {ReadMG32xxChipID1, "ReadMG32xxChipID1", kShown},
    {WriteOptionByte1, "WriteOptionByte1", kHidden},
    {ShowChipOptionData1, "ShowChipOptionData1", kShown},
    {RadioGroupPIF, "RadioGroupPIF", {false, true, 0}},
    {Execute2, "Execute2", kShown},
    {SpdBtnErase, "SpdBtnErase", kShown},
    {SpdBtnProg, "SpdBtnProg", kShown},
    {AutoSpdBtn, "AutoSpdBtn", kShown},
    {SpdBtnDownLoad, "SpdBtnDownLoad", kShown},
}};

const TWindowAdapter& WindowAdapterFor(std::uint8_t vendorIndex) { return kAdapters[VendorRow(vendorIndex)]; }

TControlStates AdaptedControlStates(const TSelectedChip& chip) {
  const TWindowAdapter& adapter = WindowAdapterFor(chip.ChipFamilyIndex);
  TControlStates states;
  for (const TAdaptedControlInfo& info : kAdaptedControls)
    states[static_cast<std::size_t>(info.Control)] = info.Default;
  auto state = [&states](TAdaptedControl control) -> TControlState& {
    return states[static_cast<std::size_t>(control)];
  };

  const int voltageItem = adapter.Voltage == TVoltageChoice::FromVoltageFlags ? chip.ControlBytes.VoltageFlags & 1 : 0;
  state(RadioGpVolt) = {true, true, voltageItem};
  state(LabelDEVA).Visible = false;
  state(EditDevAdr).Visible = false;
  for (TAdaptedControl control : kOptionCommands) state(control).Visible = adapter.OptionCommands;
  state(CheckBoxOpt).Value = adapter.ProgramOption ? 1 : 0;
  if (adapter.HidesChipInformation) state(ReadMG32xxChipID1).Visible = false;
  state(ShowChipOptionData1).Visible = adapter.ShowOptionData;
  if (adapter.InterfaceChoice)
    state(RadioGroupPIF) = {true, chip.ChipSubType == 0, chip.ControlBytes.PifSpeedFlags & 1};
  if (adapter.CommandsLocked) {
    state(Execute2).Enabled = false;
    for (TAdaptedControl control : kLockedButtons) state(control).Visible = false;
  }
  return states;
}
