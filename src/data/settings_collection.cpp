#include "data/settings_collection.h"

#include <cstdint>
#include <span>

#include "data/image_sums.h"
#include "data/integer_text.h"
#include "data/log_lines.h"
#include "data/program_state.h"
#include "text/format_text.h"
#include "text/settings_texts.h"

namespace {

// byte with bit set to on, the other bits as they were.
void SetBit(std::uint8_t& byte, int bit, bool on) {
  const auto mask = static_cast<std::uint8_t>(1u << bit);
  byte = static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask);
}

std::uint8_t VoltageLevel(int itemIndex) { return itemIndex == 0 ? 0 : itemIndex == 1 ? 1 : 2; }

void CollectControlBytes(const TSettingsControls& c) {
  TControlBytes& bytes = SelectedChip.ControlBytes;
  SetBit(bytes.PifSpeedFlags, 0, c.RadioGroupPIF > 0);

  bytes.VoltageFlags = static_cast<std::uint8_t>((bytes.VoltageFlags & ~0x03) | VoltageLevel(c.RadioGpVolt));
  SetBit(bytes.VoltageFlags, 4, SelectedChip.BlankIsZero != 0);
  SetBit(bytes.VoltageFlags, 3, c.ChkBoxBlkEr);

  bytes.ResetPowerFlags = static_cast<std::uint8_t>((bytes.ResetPowerFlags & ~0x03) | (c.RadioGrpRST & 0x03));
  SetBit(bytes.ResetPowerFlags, 7, !c.ChkBoxVDD);
  SetBit(bytes.ResetPowerFlags, 2, c.CheckBoxRun);

  bytes.ProgramStepFlags = 0x17;
  SetBit(bytes.ProgramStepFlags, 6, c.CheckBoxOpt);
  SetBit(bytes.ProgramStepFlags, 3, c.ChkBoxPrgEEP);
  SetBit(bytes.ProgramStepFlags, 5, c.ChkBoxPrgEEP);
  ProgramSettings.EepProgram = c.ChkBoxPrgEEP;

  SetBit(bytes.EraseFlags, 0, !c.ChkBoxCpErsM);
  SetBit(bytes.EraseFlags, 1, c.ChkBoxErsEEP);
  ProgramSettings.OptionProgram = c.CheckBoxOpt;
}

void CollectTimes(const TSettingsControls& c) {
  ProgramSettings.AutoDetect = c.ChkBoxAuto ? 15 : 0;
  ProgramSettings.ChipInTime = static_cast<std::uint8_t>(c.SpinEditIn / 30);
  ProgramSettings.ChipOutTime = static_cast<std::uint8_t>(c.SpinEditOut / 30);
  ProgramSettings.PowerUpTime = static_cast<std::uint8_t>(c.SpinEditVddTim / 10);
  ProgramSettings.PowerDownTime = static_cast<std::uint8_t>(c.SpinEditPWDTim / 10);
  TControlBytes& bytes = SelectedChip.ControlBytes;
  SetBit(bytes.PifSpeedFlags, 4, c.RadioGrpSpdF != 0);
  SetBit(bytes.PifSpeedFlags, 5, c.ChkBoxRunSHT);
  ProgramSettings.RunTime = static_cast<std::uint16_t>(c.SpinEditRTM / 10);
}

void CollectSerialNumber(const TSettingsControls& c) {
  ProgramSettings.SnFlags = c.CheckBoxCtrl ? 0x40 : 0x00;
  SetBit(ProgramSettings.SnFlags, 0, c.CheckBoxSN);
  SetBit(ProgramSettings.SnFlags, 2, c.SNOrderChk);
  ProgramSettings.SnOnline = c.CheckBoxSN && c.ChkBoxPCSN;
  ProgramSettings.CountLimit = static_cast<std::uint32_t>(c.SpinEditNum);
  ProgramSettings.SnSize = 4;
  // Field by field: a text that is no number stops here, the fields before it set.
  ProgramSettings.SnGain = static_cast<std::uint16_t>(StrToInt32(c.GainEdit));
  ProgramSettings.SnValue = StrToInt32(c.SNEdit1);
  ProgramSettings.SnAddress = StrToInt32(c.AddrEdit);
  ProgramSettings.DeviceAddress = static_cast<std::uint8_t>(StrToInt32(c.EditDevAdr));
}

void CollectOptionSums() {
  const std::span<const std::uint8_t> option(MemoryImages.OptionImage);
  const std::uint32_t last = SelectedChip.ChipFamilyCode == 0xC0 ? 255 : 127;
  ObjectState.OptionSum = static_cast<std::uint16_t>(SumBytes(option, 0, last));
  ObjectState.OptionSum16 = Checksum16Buf(option, 0, last);
}

void LogControlSetting() {
  const TSelectedChip& chip = SelectedChip;
  const TControlBytes& b = chip.ControlBytes;
  AddMemoLine(FormatText(TTextId::ChipControlSettingFormat, chip.ChipFamilyCode, chip.ChipSubType, chip.OptionFormat,
                         chip.ChipSubParam1, chip.ChipSubParam2, ObjectState.MainDataLength) +
              FormatText(kControlBytesFormat, b.PifSpeedFlags, b.VoltageFlags, b.ResetPowerFlags, b.ProgramStepFlags,
                         b.EraseFlags, b.ControlByte5, b.ControlByte6, b.ControlByte7));
}

}  // namespace

void CollectProgramSettings(const TSettingsControls& controls) {
  CollectControlBytes(controls);
  CollectTimes(controls);
  CollectSerialNumber(controls);
  CollectOptionSums();
  LogControlSetting();
}
