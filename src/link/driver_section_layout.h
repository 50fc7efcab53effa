// Where flash-driver sections sit in the packets that carry them. The loader
// checks a driver against these places, the packet builders fill them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "data/program_state.h"

struct TDriverSectionLayout {
  std::uint16_t OperationOffset;                 // packet offset of the running operation's section
  std::uint16_t CommonOffset;                    // packet offset of the common section, when the packet carries it
  std::span<const std::uint8_t> CommonFamilies;  // ChipFamilyCode values whose packets carry it
  std::span<const std::uint8_t> States;          // the states in which this packet is sent with a section
};

namespace driver_layout_detail {
inline constexpr std::uint8_t kCommandCommonFamilies[] = {0x00, 0x04, 0x18};
inline constexpr std::uint8_t kProgramCommonFamilies[] = {0x04};
inline constexpr std::uint8_t kCommandStates[] = {kOpBlankCheck, kOpErase, kOpReadChecksum};
inline constexpr std::uint8_t kProgramStates[] = {kOpProgramMain, kOpProgramEep};
inline constexpr std::uint8_t kOptionStates[] = {kOpWriteOption};
}  // namespace driver_layout_detail

// Operation command (0x93 and the verify/read commands): parameter block, then the sections.
inline constexpr TDriverSectionLayout kCommandSections{88, 1112, driver_layout_detail::kCommandCommonFamilies,
                                                       driver_layout_detail::kCommandStates};
// Program blocks (0x95, 0x99): parameter block, 4 KB of data, then the sections.
inline constexpr TDriverSectionLayout kProgramSections{4184, 4440, driver_layout_detail::kProgramCommonFamilies,
                                                       driver_layout_detail::kProgramStates};
// Option data (0x93/0x35): parameter block, 1 KB of options, then the operation section only.
inline constexpr TDriverSectionLayout kOptionSections{1112, 0, {}, driver_layout_detail::kOptionStates};

inline constexpr const TDriverSectionLayout* kDriverSectionLayouts[] = {&kCommandSections, &kProgramSections,
                                                                        &kOptionSections};

inline bool CarriesCommonSection(const TDriverSectionLayout& layout, std::uint8_t chipFamilyCode) {
  return std::ranges::find(layout.CommonFamilies, chipFamilyCode) != layout.CommonFamilies.end();
}
