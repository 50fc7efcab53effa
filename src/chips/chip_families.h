// The chip families as data: each family's memory map, codes, flags, control
// byte presets and option preset, and the name rules that decide what depends
// on the part name. The family setters (family_setters.h) read one row.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "chips/family_areas.h"
#include "chips/vendor_index.h"
#include "data/program_state.h"

// Where ChipSubType comes from.
enum class TSubTypeSource : std::uint8_t {
  Keep,      // left as the previous chip had it
  Value,     // a fixed code
  RowIndex,  // the part's position in its list
};

struct TSubTypeRule {
  TSubTypeSource Source;
  std::uint8_t Value;
};

inline constexpr TSubTypeRule kKeepSubType{TSubTypeSource::Keep, 0};
inline constexpr TSubTypeRule kRowIndexSubType{TSubTypeSource::RowIndex, 0};
constexpr TSubTypeRule SubTypeCode(std::uint8_t code) { return {TSubTypeSource::Value, code}; }

// An EEP data flash area. Size 0 is no EEP; its end is then the start itself.
struct TEepArea {
  std::uint32_t Start;
  std::uint32_t Size;
};

inline constexpr TEepArea kNoEep{0xFFFFFFFF, 0};

// What a matching name rule decides; unset fields keep the family's value.
struct TRuleResult {
  std::optional<std::uint32_t> MainSize{};
  std::optional<TSubTypeRule> SubType{};
  std::optional<TEepArea> Eep{};
  std::optional<std::uint8_t> PifSpeedFlags{};
  std::optional<std::uint8_t> ResetPowerFlags{};
  bool Refuse = false;  // the name is no chip of the family: ChipSelected is cleared
};

// A rule matches a name that begins with Prefix (or equals it, when Exact)
// and, when CharAt is set, has the character Char at that position. An empty
// prefix without character test matches every name: the "other" rule.
struct TNameRule {
  std::string_view Prefix{};
  bool Exact = false;
  int CharAt = -1;
  char Char = 0;
  TRuleResult Result{};
};

// A family decides by up to two chains of rules; in each, the first rule
// that matches the name applies.
using TNameRuleChains = std::array<std::span<const TNameRule>, 2>;

struct TFamilyRow {
  TNameRuleChains NameRules;
  std::uint32_t MainStart;
  std::uint32_t BaseOffsetMask;  // MainBaseOffset is MainStart AND this
  std::uint16_t MainPageSize;
  std::optional<std::uint16_t> EepPageSize{};  // unset: the previous chip's value stays
  TEepArea Eep;
  TAreaBounds OptionArea;
  std::uint8_t ChipFamilyCode;
  TSubTypeRule SubType;
  std::uint8_t OptionFormat;
  std::uint8_t BlankIsZero;
  std::uint8_t UseFlashDriver;
  TControlBytes ControlBytes;  // presets; ControlByte6 and ControlByte7 are 0 for every family
  void (*OptionPreset)();      // none: the option image is left as it is
};

// Vendor index 10 and above: the SA32B family.
const TFamilyRow& FamilyFor(std::uint8_t vendorIndex);
