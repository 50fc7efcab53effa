#include "chips/family_areas.h"

namespace {

// By vendor index: AC78xx, Indie, LAPIS, AU30x, MR88F, LCP037/LCM32F037,
// BAT32, SN32F, SPC/SPD, LE5010/LE5110, SA32B.
constexpr TAreaBounds kOptionAreas[] = {
    kNoArea, kNoArea, kNoArea, {0x03802000, 0x03803FFF}, kNoArea, {0x1FFFF600, 0x1FFFF7FF},
    kNoArea, kNoArea, kNoArea, kNoArea, kNoArea,
};
constexpr std::uint8_t kLastVendor = sizeof(kOptionAreas) / sizeof(kOptionAreas[0]) - 1;

}  // namespace

TAreaBounds FamilyOptionArea(std::uint8_t vendorIndex) {
  return kOptionAreas[vendorIndex > kLastVendor ? kLastVendor : vendorIndex];
}
