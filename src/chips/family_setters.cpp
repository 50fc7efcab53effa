#include "chips/family_setters.h"

#include "chips/chip_families.h"
#include "data/program_state.h"

namespace {

bool Matches(const TNameRule& rule, std::string_view name) {
  const bool textMatches = rule.Exact ? name == rule.Prefix : name.starts_with(rule.Prefix);
  if (!textMatches) return false;
  // A name too short for the character test falls to a later rule.
  return rule.CharAt < 0 || (static_cast<std::size_t>(rule.CharAt) < name.size() && name[rule.CharAt] == rule.Char);
}

// The family's values with the first matching rule of each chain laid over them.
TRuleResult Decide(const TFamilyRow& family, std::string_view name) {
  TRuleResult decided{.SubType = family.SubType, .Eep = family.Eep};
  for (std::span<const TNameRule> chain : family.NameRules) {
    for (const TNameRule& rule : chain) {
      if (!Matches(rule, name)) continue;
      const TRuleResult& r = rule.Result;
      if (r.MainSize) decided.MainSize = r.MainSize;
      if (r.SubType) decided.SubType = r.SubType;
      if (r.Eep) decided.Eep = r.Eep;
      if (r.PifSpeedFlags) decided.PifSpeedFlags = r.PifSpeedFlags;
      if (r.ResetPowerFlags) decided.ResetPowerFlags = r.ResetPowerFlags;
      decided.Refuse = decided.Refuse || r.Refuse;
      break;
    }
  }
  return decided;
}

void ApplySubType(TSubTypeRule rule, std::uint8_t row) {
  switch (rule.Source) {
    case TSubTypeSource::Keep:
      return;
    case TSubTypeSource::Value:
      SelectedChip.ChipSubType = rule.Value;
      return;
    case TSubTypeSource::RowIndex:
      SelectedChip.ChipSubType = row;
      return;
  }
}

void ApplyFamily(std::uint8_t vendorIndex, std::string_view name, std::uint8_t row) {
  const TFamilyRow& family = FamilyFor(vendorIndex);
  const TRuleResult decided = Decide(family, name);
  TSelectedChip& chip = SelectedChip;

  if (family.OptionPreset) family.OptionPreset();
  chip.ChipCode = 0x55;
  chip.ChipExtParam1 = chip.ChipExtParam2 = 0;
  chip.ChipSubParam1 = chip.ChipSubParam2 = 0;
  ProgramSettings.DeviceAddress = 0;
  chip.ControlBytes = family.ControlBytes;
  if (decided.PifSpeedFlags) chip.ControlBytes.PifSpeedFlags = *decided.PifSpeedFlags;
  if (decided.ResetPowerFlags) chip.ControlBytes.ResetPowerFlags = *decided.ResetPowerFlags;
  chip.AuxStart = chip.AuxEnd = 0xFFFFFFFF;

  chip.ChipFamilyCode = family.ChipFamilyCode;
  ApplySubType(*decided.SubType, row);
  chip.OptionFormat = family.OptionFormat;
  chip.BlankIsZero = family.BlankIsZero;
  chip.UseFlashDriver = family.UseFlashDriver;
  chip.MainPageSize = family.MainPageSize;
  if (family.EepPageSize) chip.EepPageSize = *family.EepPageSize;

  // A refused name keeps the previous size; the end follows it all the same.
  chip.MainStart = family.MainStart;
  if (decided.MainSize) chip.MainSize = *decided.MainSize;
  chip.MainBaseOffset = chip.MainStart & family.BaseOffsetMask;
  chip.MainEnd = chip.MainStart + chip.MainSize - 1;
  chip.EepStart = decided.Eep->Start;
  chip.EepSize = decided.Eep->Size;
  chip.EepEnd = chip.EepSize == 0 ? chip.EepStart : chip.EepStart + chip.EepSize - 1;
  chip.OptionStart = family.OptionArea.Start;
  chip.OptionEnd = family.OptionArea.End;

  if (decided.Refuse) ObjectState.ChipSelected = 0;
}

}  // namespace

void SetAC78xChipParams(std::string_view name) { ApplyFamily(kVendorAC78xx, name, 0); }
void SetIndieChipParams(std::string_view name, std::uint8_t row) { ApplyFamily(kVendorIndie, name, row); }
void SetLapisChipParams(std::string_view name, std::uint8_t row) { ApplyFamily(kVendorLapis, name, row); }
void SetAUCUxChipParams() { ApplyFamily(kVendorAUCUx, {}, 0); }
void SetMR88FChipParams(std::string_view name) { ApplyFamily(kVendorMR88F, name, 0); }
void SetLCMPxChipParams(std::string_view name) { ApplyFamily(kVendorLCMPx, name, 0); }
void SetBAT32ChipParams(std::string_view name) { ApplyFamily(kVendorBAT32, name, 0); }
void SetSonicChipParams(std::string_view name) { ApplyFamily(kVendorSonic, name, 0); }
void SetSpctrolChipParams(std::string_view name) { ApplyFamily(kVendorSpctrol, name, 0); }
void SetLE5x10ChipParams() { ApplyFamily(kVendorLE5x10, {}, 0); }
void SetSA32BChipParams(std::string_view name, std::uint8_t row) { ApplyFamily(kVendorSA32B, name, row); }

void SetChipParamsForVendor(std::uint8_t vendorIndex, std::string_view name, std::uint8_t row) {
  ApplyFamily(vendorIndex, name, row);
}
