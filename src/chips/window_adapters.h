// The family window adapters as data: what each family shows, ticks and
// enables in the main window. The window applies them with one routine: it
// puts every control of kAdaptedControls back to its layout state and then
// sets the family's final states (AdaptedControlStates), so nothing that an
// earlier family hid or disabled stays that way.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "data/program_state.h"

// The main-window controls some adapter sets.
enum class TAdaptedControl : std::uint8_t {
  RadioGpVolt,  // voltage group "3.3V" / "5.0V"
  LabelDEVA,    // "Device Address: "
  EditDevAdr,
  BtnOptionCfg,         // "Set Option Byte"
  CheckBoxOpt,          // "Prog. Option Byte"
  SpdBtnWrtOPB,         // write option bytes
  ReadOptionByte1,      // menu "Read Chip Option Setting"
  ReadMG32xxChipID1,    // menu "&Read Chip Information"
  WriteOptionByte1,     // menu "Write &Option Byte"
  ShowChipOptionData1,  // menu "Show Chip Option Data"
  RadioGroupPIF,        // interface group "SWD" / "SWE"
  Execute2,             // the "&Command" menu
  SpdBtnErase,
  SpdBtnProg,
  AutoSpdBtn,
  SpdBtnDownLoad,
};
inline constexpr std::size_t kAdaptedControlCount = static_cast<std::size_t>(TAdaptedControl::SpdBtnDownLoad) + 1;

inline constexpr int kNoValue = -1;

struct TControlState {
  bool Visible;
  bool Enabled;
  int Value;  // item index of a radio group, 1/0 for a ticked/unticked check box, else kNoValue
  bool operator==(const TControlState&) const = default;
};

struct TAdaptedControlInfo {
  TAdaptedControl Control;
  const char* Name;       // the control's object name in the main window
  TControlState Default;  // its state as the window lays it out
};

// Every adapted control with its name and layout state.
extern const std::array<TAdaptedControlInfo, kAdaptedControlCount> kAdaptedControls;

enum class TVoltageChoice : std::uint8_t {
  FromVoltageFlags,  // the item of bit 0 of VoltageFlags
  Always3V3,         // item 0
};

struct TWindowAdapter {
  const char* Name;           // the adapter's name, for the log and traces
  bool OptionCommands;        // BtnOptionCfg, CheckBoxOpt, SpdBtnWrtOPB, ReadOptionByte1, WriteOptionByte1 shown
  bool ProgramOption;         // CheckBoxOpt ticked
  bool ShowOptionData;        // ShowChipOptionData1 shown
  bool HidesChipInformation;  // ReadMG32xxChipID1 hidden
  TVoltageChoice Voltage;
  bool InterfaceChoice;  // RadioGroupPIF shown, at the item of bit 0 of PifSpeedFlags, enabled for sub-type 0 only
  bool CommandsLocked;   // Execute2 disabled; erase, program, auto, write-option and download buttons hidden
};

// Vendor index 10 and above: the SA32B adapter, the default one.
const TWindowAdapter& WindowAdapterFor(std::uint8_t vendorIndex);

using TControlStates = std::array<TControlState, kAdaptedControlCount>;  // indexed by TAdaptedControl

// The final state of every adapted control for a chip: the layout states
// with what its family's adapter (by ChipFamilyIndex) sets laid over them.
TControlStates AdaptedControlStates(const TSelectedChip& chip);
