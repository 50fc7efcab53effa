// The option area of each chip family (no family has a third area). Projects
// do not store the area ends, so a project's chip gets them from here.
#pragma once

#include <cstdint>

struct TAreaBounds {
  std::uint32_t Start;
  std::uint32_t End;
};

// 0xFFFFFFFF..0xFFFFFFFF for a family without option area; vendor index 10
// and above is the SA32B family.
TAreaBounds FamilyOptionArea(std::uint8_t vendorIndex);

// No family has an auxiliary area.
constexpr TAreaBounds kNoArea{0xFFFFFFFF, 0xFFFFFFFF};
